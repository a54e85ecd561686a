#include "runtime/exitproc.h"

#include <gtest/gtest.h>

#include <string>

namespace exitproc {
namespace {

std::string order;
void ProcA() { order += "A"; }
void ProcB() { order += "B"; }
void ProcC() { order += "C"; }
void ProcLast() { order += "L"; }

TEST(ExitProcs, RunNewestFirstAndInsertedAtOneRunsLast) {
  order.clear();
  ExitProcInit();
  AddExitProc(ProcA);
  AddExitProc(ProcB);
  InsertExitProc(ProcLast, 1);
  AddExitProc(ProcC);
  RunExitProcs();
  EXPECT_EQ(order, "CBAL");
  RunExitProcs();  // each runs once
  EXPECT_EQ(order, "CBAL");
}

}  // namespace
}  // namespace exitproc
