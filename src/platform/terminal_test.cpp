// The key decoding of the terminal layer, and its output on a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <string>

#include "platform/output.h"
#include "platform/terminal.h"
#include "support/pty.h"

namespace {

using support::OnPty;
using support::PtyRun;
using support::Ready;

TEST(ColoursOnTerminal, Cp866IsRecodedForAUtf8Locale) {
  PtyRun r = OnPty([] {
    setenv("LC_ALL", "C.UTF-8", 1);
    setenv("TERM", "dumb", 1);
    platform::OutReset();
    Ready();
    platform::OutWrite("\x8F\xE0\xA8\xA2\xA5\xE2 \xFE");  // Привет ■
    return 0;
  });
  EXPECT_EQ(r.output, "Привет ■");
}

TEST(DecodeKeysTest, UnfinishedSequencesWaitForMore) {
  std::deque<platform::KeyEvent> keys;
  std::string bytes = "\x1b[1";
  platform::DecodeKeys(bytes, keys, false);
  EXPECT_TRUE(keys.empty());
  EXPECT_EQ(bytes, "\x1b[1");
  bytes += "5~";
  platform::DecodeKeys(bytes, keys, false);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].Scan, 63);
  bytes = "\x1b";
  platform::DecodeKeys(bytes, keys, true);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].Char, 27);
  EXPECT_FALSE(keys[1].Modified);
  bytes = "\x01\r\t";
  platform::DecodeKeys(bytes, keys, true);
  EXPECT_TRUE(keys[2].Modified);   // Ctrl+A
  EXPECT_FALSE(keys[3].Modified);  // Enter
  EXPECT_FALSE(keys[4].Modified);  // Tab
}

}  // namespace
