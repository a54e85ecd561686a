// Runs that race, run short of memory or meet odd input and output never
// lose the reply, never report a failure as success, and the filter mode
// says nothing when all goes well.
#include <string>

#include "harness.h"

namespace {

using namespace harness;

class Robustness : public ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting(Cp("Вася"));
  }
  // Runs a shell line; true when it exits 0.
  bool Must(const std::string& line) {
    const RunResult r = Shell(line);
    EXPECT_EQ(r.exitCode, 0) << line << "\n" << r.out << r.err;
    return r.exitCode == 0;
  }
  // Starts a shell line in the background, its output thrown away.
  bool Start(const std::string& line) { return Must("(" + line + ") >/dev/null 2>&1 </dev/null & :"); }
  // Waits (at most 5 s) until another process holds the lock on name.
  bool UntilLocked(const std::string& name) {
    return Must("for i in $(seq 100); do flock -n " + name + " true || exit 0; sleep 0.05; done; exit 1");
  }
  // Waits (at most 20 s) for a file a background run leaves when it ends.
  bool UntilExists(const std::string& name) {
    return Must("for i in $(seq 400); do [ -e " + name + " ] && exit 0; sleep 0.05; done; exit 1");
  }
  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

bool MemoryLimitsWork() { return !SALVETOR_SANITIZED && !UnderWine(); }

// A second run on a reply waits while the first one, slowed down by an
// input that comes only when the test sends it, holds the reply.
TEST_F(Robustness, ASecondRunWaitsForTheFirstOnTheSameReply) {
  SKIP_UNDER_WINE("flock(1) and FIFOs");
  WriteFile(dir() / "r.txt", "old text\r\n");
  ASSERT_TRUE(Must("mkfifo gate"));
  ASSERT_TRUE(Start("cat gate | ./salvetor - r.txt /Key- >out1 2>&1; echo $? >code1"));
  const bool locked = UntilLocked("r.txt");
  ASSERT_TRUE(Start("./salvetor r.txt /Key- >out2 2>&1; echo $? >code2"));
  Must("sleep 0.3");
  EXPECT_TRUE(locked && !fs::exists(dir() / "code2")) << "the second run did not wait";
  ASSERT_TRUE(Must("timeout 10 sh -c \"printf 'Hello, Vasily!\\r\\n' >gate\""));
  ASSERT_TRUE(UntilExists("code1"));
  ASSERT_TRUE(UntilExists("code2"));
  EXPECT_EQ(ReadFile(dir() / "code1"), "0\n") << ReadFile(dir() / "out1");
  EXPECT_EQ(ReadFile(dir() / "code2"), "0\n") << ReadFile(dir() / "out2");
  // The second run took the first one's result: two control lines.
  const std::string first = Crlf({kKludge, Cp("Hello, Вася!")});
  EXPECT_EQ(ReadFile(dir() / "r.txt"), Crlf({kKludge}) + first);
  EXPECT_EQ(ReadFile(dir() / "r.~txt"), first);
  EXPECT_EQ(Shell("ls -a | grep -c salvetor-").out, "0\n");
}

TEST_F(Robustness, ARunGivesUpAfterTenSecondsAndTouchesNothing) {
  SKIP_UNDER_WINE("flock(1)");
  WriteFile(dir() / "r.txt", "Hello, Vasily!\r\n");
  ASSERT_TRUE(Start("flock r.txt sleep 14"));
  ASSERT_TRUE(UntilLocked("r.txt"));
  const RunResult r = Run("salvetor", "r.txt /Key-");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.out, Console({"File r.txt is in use by another run!"}))) << r.out;
  EXPECT_EQ(ReadFile(dir() / "r.txt"), "Hello, Vasily!\r\n");
  EXPECT_FALSE(fs::exists(dir() / "r.~txt"));
}

TEST_F(Robustness, OnlyTemporaryFilesNoRunHoldsAreLeftovers) {
  SKIP_UNDER_WINE("flock(1)");
  WriteFile(dir() / "r.txt", "Hello, Vasily!\r\n");
  WriteFile(dir() / ".r.txt.salvetor-live01", "a run's half-written text");
  WriteFile(dir() / ".r.txt.salvetor-dead01", "a killed run's text");
  ASSERT_TRUE(Start("flock .r.txt.salvetor-live01 sleep 5"));
  ASSERT_TRUE(UntilLocked(".r.txt.salvetor-live01"));
  EXPECT_EQ(Run("salvetor", "r.txt /Key-").exitCode, 0);
  EXPECT_TRUE(fs::exists(dir() / ".r.txt.salvetor-live01"));
  EXPECT_FALSE(fs::exists(dir() / ".r.txt.salvetor-dead01"));
}

TEST_F(Robustness, AnOutputWhoseBackupIsTheReplyIsAWrongFileName) {
  SKIP_UNDER_WINE("a symbolic link");
  WriteFile(dir() / "r.~txt", "the reply\r\n");
  WriteFile(dir() / "r.txt", "the output's old text\r\n");
  ASSERT_TRUE(Must("ln -s r.~txt link.txt"));
  for (const char* reply : {"r.~txt", "link.txt"}) {
    const RunResult r = Run("salvetor", std::string(reply) + " r.txt /Key-");
    EXPECT_EQ(r.exitCode, 1) << reply;
    EXPECT_TRUE(Has(r.out, "Wrong file name!")) << r.out;
    EXPECT_EQ(ReadFile(dir() / "r.~txt"), "the reply\r\n") << reply;
    EXPECT_EQ(ReadFile(dir() / "r.txt"), "the output's old text\r\n") << reply;
  }
}

// A run killed after linking the old reply as the backup and before
// renaming its result leaves the reply and its backup as two names of one
// file: the next run is no wrong file name, and ends as any run does.
TEST_F(Robustness, ABackupThatIsASecondNameOfTheReplyStopsNoRun) {
  SKIP_UNDER_WINE("a hard link made by ln");
  WriteFile(dir() / "r.txt", "Hello, Vasily!\r\n");
  ASSERT_TRUE(Must("ln r.txt r.~txt"));
  const RunResult r = Run("salvetor", "r.txt /Key-");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(ReadFile(dir() / "r.txt"), Crlf({kKludge, Cp("Hello, Вася!")}));
  EXPECT_EQ(ReadFile(dir() / "r.~txt"), "Hello, Vasily!\r\n");
}

// Standard input that runs out of memory or holds too many lines comes
// back whole on standard output, the part not read passed straight on.
TEST_F(Robustness, StandardInputComesBackWholeUnderMemoryPressure) {
  if (!MemoryLimitsWork()) GTEST_SKIP() << "a memory limit (sanitizers reserve more; Wine)";
  ASSERT_TRUE(Must("head -c 60000000 /dev/zero | tr '\\0' x >big.txt && echo >>big.txt"));
  RunResult r = Shell("(ulimit -v 60000; ./salvetor - <big.txt >out.txt); echo $?");
  EXPECT_EQ(r.out, "1\n") << r.err;
  EXPECT_EQ(Shell("cmp big.txt out.txt && echo same").out, "same\n");
  // An endless "yes" would not end; 30 million lines are more than memory allows.
  r = Shell("yes | head -n 30000000 | (ulimit -v 60000; ./salvetor -) | md5sum; yes | head -n 30000000 | md5sum");
  ASSERT_EQ(r.out.size(), 2 * 36u) << r.out << r.err;
  EXPECT_EQ(r.out.substr(0, 36), r.out.substr(36)) << "the input did not come back whole";
  EXPECT_TRUE(Has(r.err, "File - has more than 65535 lines!")) << r.err;
}

TEST_F(Robustness, TenMillionEmptyLinesAreRefusedInTheFilesOwnMemory) {
  if (!MemoryLimitsWork()) GTEST_SKIP() << "a memory limit (sanitizers reserve more; Wine)";
  ASSERT_TRUE(Must("yes \"$(printf '\\r')\" | head -n 10000000 >r.txt && md5sum r.txt >before"));
  const RunResult r = Run("salvetor", "r.txt /Key-", "/dev/null", "ulimit -v 80000; ");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Has(r.out, "File r.txt has more than 65535 lines!")) << r.out;
  EXPECT_EQ(Shell("md5sum -c before >/dev/null && echo same").out, "same\n");
}

TEST_F(Robustness, NonBlockingStandardInputIsWaitedFor) {
  SKIP_UNDER_WINE("a non-blocking descriptor");
  const RunResult r = Shell(
      "(printf 'Hello, '; sleep 0.3; printf 'Vasily!\\r\\n') | "
      "perl -MFcntl -e 'fcntl(STDIN, F_SETFL, O_NONBLOCK) or die; exec @ARGV' ./salvetor -");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, Crlf({kKludge, Cp("Hello, Вася!")}));
}

TEST_F(Robustness, AFailedWriteToStandardOutputIsAFailedRun) {
  SKIP_UNDER_WINE("/dev/full and a closed descriptor");
  WriteFile(dir() / "r.txt", "Hello, Vasily!\r\n");
  for (const char* out : {">/dev/full", ">&-"}) {
    for (const char* args : {"r.txt --diff", "- <r.txt"}) {
      const RunResult r = Shell(std::string("./salvetor ") + args + " " + out + "; echo $? >&2");
      EXPECT_TRUE(Has(r.err, "Error writing the result to standard output!")) << args << out << r.err;
      EXPECT_EQ(r.err.substr(r.err.size() - 2), "1\n") << args << out << r.err;
    }
  }
  EXPECT_EQ(ReadFile(dir() / "r.txt"), "Hello, Vasily!\r\n");
}

TEST_F(Robustness, WithADashTheConsoleNeverGoesToStandardOutput) {
  WriteFile(dir() / "r.txt", "Hello, Vasily!\r\n");
  for (const char* args : {"- -n", "- --dry-run --verbose", "- out.txt"}) {
    const RunResult r = Run("salvetor", args, "r.txt");
    EXPECT_EQ(r.exitCode, 0) << args;
    EXPECT_EQ(r.out, "") << args;
  }
  // Quiet unless asked: only a problem is reported.
  const RunResult quiet = Run("salvetor", "- /Bogus", "r.txt");
  EXPECT_EQ(quiet.err, Console({"Unknown option /Bogus ignored!"}));
}

TEST_F(Robustness, LongOptionsHideNoOtherOption) {
  WriteFile(dir() / "r.txt", Crlf({"Text", " AB>  * Origin: somewhere (2:5020/1)"}));
  const RunResult r = Run("salvetor", "r.txt /H=" + std::string(250, '0') + "5 /F /Key-");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(ReadFile(dir() / "r.txt"), Crlf({kKludge, "Text"}));
}

TEST_F(Robustness, ADiffOfAFileWhoseNameHoldsANewlineAppliesToIt) {
  SKIP_UNDER_WINE("a newline in a file name");
  const std::string name = "r\nx.txt";
  WriteFile(dir() / name, "Hello, Vasily!\r\n");
  WriteFile(dir() / "r", "a file patch must not pick\r\n");
  EXPECT_TRUE(Must("./salvetor \"$(printf 'r\\nx.txt')\" --diff >change.diff 2>/dev/null && patch -s -p0 <change.diff"));
  EXPECT_EQ(ReadFile(dir() / name), Crlf({kKludge, Cp("Hello, Вася!")}));
  EXPECT_EQ(ReadFile(dir() / "r"), "a file patch must not pick\r\n");
}

// The README's Vim command, as Vim runs it (not vi-compatible, so through
// temporary files, with 'shellredir' ">%s 2>&1"): standard error goes into
// the buffer too, so only a quiet run leaves just the result there.
TEST_F(Robustness, VimFiltersTheBufferThroughTheProgram) {
  SKIP_UNDER_WINE("Vim on POSIX");
  if (Shell("command -v vim").exitCode != 0) GTEST_SKIP() << "no vim here (tools/deps.sh --tests installs it)";
  Install("salvetor");  // the shipped data: a filter run reports no missing file
  const std::string reply = "Hello, Vasily!\n AB> Hello, All!\nНет, р.\n";
  WriteFile(dir() / "r.txt", reply);
  WriteFile(dir() / "file.txt", reply);
  EXPECT_EQ(Run("salvetor", "file.txt /F /Key-").exitCode, 0);
  EXPECT_TRUE(Must("PATH=\"$PWD:$PATH\" vim -es -N -u NONE -i NONE -c '%!salvetor - /F' -c 'wq' r.txt </dev/null"));
  EXPECT_EQ(ReadFile(dir() / "r.txt"), ReadFile(dir() / "file.txt"));
}

}  // namespace
