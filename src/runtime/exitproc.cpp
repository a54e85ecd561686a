#include "runtime/exitproc.h"

#include "textlib/listman.h"

namespace exitproc {
namespace {

listman::List* procs = nullptr;

void* AsBlock(ExitProc proc) { return reinterpret_cast<void*>(proc); }

}  // namespace

void ExitProcInit() {
  if (procs == nullptr) listman::ListCreate(procs);
}

void AddExitProc(ExitProc proc) {
  ExitProcInit();
  listman::ListAppend(procs, AsBlock(proc), 0);
}

void InsertExitProc(ExitProc proc, std::uint16_t position) {
  ExitProcInit();
  listman::ListAddAt(procs, AsBlock(proc), 0, position);
}

void RunExitProcs() {
  while (procs != nullptr && procs->Count > 0) {
    void* block = listman::ListGet(procs, procs->Count);
    listman::ListRemove(procs, procs->Count);
    reinterpret_cast<ExitProc>(block)();
  }
  if (procs != nullptr) listman::ListDispose(procs);
}

}  // namespace exitproc
