// The keyboard and the console colours on a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "console/console.h"
#include "console/keyb.h"
#include "console/writer.h"
#include "platform/output.h"
#include "platform/terminal.h"
#include "console/timing.h"
#include "support/pty.h"

namespace {

using support::OnPty;
using support::PtyRun;
using support::Ready;

int CodeByte(int code) { return code & 0xFF; }

struct KeyCase {
  std::string typed;
  int code;
};

TEST(KeysOnTerminal, ReadKeyCodeDecodesKeys) {
  const KeyCase cases[] = {
      {"\x1bOP", -59},        {"\x1bOQ", -60},    {"\x1bOR", -61},   {"\x1b[11~", -59},
      {"\x1b[[A", -59},       {"\x1b[21~", -68},  {"\x1b", 27},      {"a", 97},
      {"\x1b[1;2Pb", 98},     {"\x1b[15;5~c", 99}, {"\x1bxd", 100},  {"\x1b[A", -72},
  };
  for (const KeyCase& c : cases) {
    PtyRun r = OnPty([] { Ready(); return CodeByte(keyb::ReadKeyCode()); }, {{50, c.typed}});
    EXPECT_EQ(r.exitCode, CodeByte(c.code)) << c.typed;
  }
}

TEST(KeysOnTerminal, ReadKeyCharOfAFunctionKeyIsZero) {
  PtyRun r = OnPty([] { Ready(); return keyb::ReadKeyChar(); }, {{50, "\x1bOP"}});
  EXPECT_EQ(r.exitCode, 0);
}

TEST(KeysOnTerminal, WaitingKeysAndDiscard) {
  PtyRun r = OnPty(
      [] {
        Ready();
        timing::DelayMs(200);
        bool waiting = keyb::KeyWaiting();
        keyb::DiscardKeys();
        return (waiting ? 1 : 0) | (keyb::KeyWaiting() ? 2 : 0);
      },
      {{20, "abc\x1bOQ"}});
  EXPECT_EQ(r.exitCode, 1);
}

TEST(KeysOnTerminal, PauseForKeyWaitsForANewKey) {
  PtyRun r = OnPty(
      [] {
        Ready();
        timing::DelayMs(150);
        auto start = std::chrono::steady_clock::now();
        keyb::PauseForKey();
        double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return (waited >= 0.2 ? 0 : 1) | (keyb::KeyWaiting() ? 2 : 0);
      },
      {{10, "a"}, {400, "b"}});
  EXPECT_EQ(r.exitCode, 0);
}

TEST(KeysOnTerminal, TerminalModeIsRestoredAfterReading) {
  PtyRun r = OnPty(
      [] {
        unsigned before = support::LineModeOfStdin();
        Ready();
        keyb::ReadKeyCode();
        return support::LineModeOfStdin() == before ? 0 : 1;
      },
      {{50, "x"}});
  EXPECT_EQ(r.exitCode, 0);
}

TEST(KeysWithoutTerminal, NothingWaits) {
  // The unit tests run with standard input wherever CI puts it; make it a
  // pipe so that the answer does not depend on that.
  platform::KeyEvent key;
  support::StdinFromPipe();
  EXPECT_FALSE(keyb::KeyWaiting());
  EXPECT_EQ(keyb::ReadKeyCode(), 0);
  EXPECT_EQ(keyb::ReadKeyChar(), 0);
  keyb::WaitForKey();
  keyb::PauseForKey();
  EXPECT_FALSE(platform::KeyPeek(key));
  support::RestoreStdin();
}

TEST(ColoursOnTerminal, SgrSequencesAndResetAtShutdown) {
  PtyRun r = OnPty([] {
    console::ConsoleSetup();
    Ready();
    writer::ConsoleWriter w;
    w.LogCopy = w.ErrorCopy = false;
    w.ErrorLine("e");
    w.PlainLine("p");
    w.Heading("h");
    console::SetTextColour(2);
    w.PlainLine("g");
    w.Info("i");
    console::ConsoleShutdown();
    return 0;
  });
  // White is bold default foreground, light grey the default foreground;
  // lines end in LF, as on every POSIX terminal.
  EXPECT_EQ(r.output, "\x1b[91me\np\n\x1b[1;39mh\n\x1b[22;32mg\n\x1b[39mi\n\x1b[0m");
}

TEST(ColoursOnTerminal, NoColorMeansNoColourAtAll) {
  PtyRun r = OnPty([] {
    setenv("TERM", "xterm", 1);
    setenv("NO_COLOR", "1", 1);
    platform::OutReset();
    Ready();
    writer::ConsoleWriter w;
    w.LogCopy = w.ErrorCopy = false;
    w.ErrorLine("e");
    w.Heading("h");
    console::ConsoleShutdown();
    return 0;
  });
  EXPECT_EQ(r.output, "e\nh\n");
}

}  // namespace
