// The key layer and the console colours on a real pseudo-terminal.
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "console/console.h"
#include "console/keyb.h"
#include "runtime/timing.h"
#include "console/writer.h"
#include "platform/output.h"
#include "platform/terminal.h"

namespace {

struct PtyRun {
  int exitCode = -1;
  std::string output;
};

std::string ReadFor(int fd, int ms) {
  std::string out;
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0) continue;
    char buf[512];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

// Runs child on a pseudo-terminal. The child writes "R" when it is ready;
// then each chunk of input is typed after its delay.
PtyRun OnPty(const std::function<int()>& child,
             const std::vector<std::pair<int, std::string>>& typing = {}) {
  int master = -1;
  pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    termios mode{};
    tcgetattr(1, &mode);
    mode.c_oflag &= ~static_cast<tcflag_t>(OPOST);  // the program's bytes, untranslated
    tcsetattr(1, TCSANOW, &mode);
    setenv("TERM", "xterm", 1);
    unsetenv("LANG");
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    platform::OutReset();
    _exit(child() & 0xFF);
  }
  PtyRun run;
  std::string seen;
  for (int i = 0; i < 300 && seen.find('R') == std::string::npos; ++i) seen += ReadFor(master, 10);
  for (const auto& [delay, bytes] : typing) {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    if (write(master, bytes.data(), bytes.size()) < 0) break;
  }
  run.output = seen.substr(seen.find('R') + 1) + ReadFor(master, 300);
  int status = 0;
  waitpid(pid, &status, 0);
  close(master);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void Ready() {
  if (write(1, "R", 1) < 0) _exit(99);
}

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
        termios before{}, after{};
        tcgetattr(0, &before);
        Ready();
        keyb::ReadKeyCode();
        tcgetattr(0, &after);
        return (after.c_lflag & (ICANON | ECHO)) == (before.c_lflag & (ICANON | ECHO)) ? 0 : 1;
      },
      {{50, "x"}});
  EXPECT_EQ(r.exitCode, 0);
}

TEST(KeysWithoutTerminal, NothingWaits) {
  // The unit tests run with standard input wherever CI puts it; make it a
  // pipe so that the answer does not depend on that.
  platform::KeyEvent key;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  int saved = dup(0);
  dup2(fds[0], 0);
  EXPECT_FALSE(keyb::KeyWaiting());
  EXPECT_EQ(keyb::ReadKeyCode(), 0);
  EXPECT_EQ(keyb::ReadKeyChar(), 0);
  keyb::WaitForKey();
  keyb::PauseForKey();
  EXPECT_FALSE(platform::KeyPeek(key));
  dup2(saved, 0);
  close(saved);
  close(fds[0]);
  close(fds[1]);
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
  // White is bold default foreground, light grey the default foreground.
  EXPECT_EQ(r.output, "\x1b[91me\r\np\r\n\x1b[1;39mh\r\n\x1b[22;32mg\r\n\x1b[39mi\r\n\x1b[0m");
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
  EXPECT_EQ(r.output, "e\r\nh\r\n");
}

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
