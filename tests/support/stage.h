// Test support: a stage of the program run in process, its console lines
// collected; its run state frees its lists when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/context.h"
#include "console/writer.h"
#include "platform/output.h"

namespace support {

class StageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::OutCapture(&console_);
    writer::Writer = &writer_;
    writer_.LogCopy = writer_.ErrorCopy = false;
  }
  void TearDown() override {
    writer::Writer = nullptr;
    platform::OutCapture(nullptr);
  }
  app::RunContext run_;
  writer::ConsoleWriter writer_;
  std::string console_;  // what the stage printed
};

}  // namespace support
