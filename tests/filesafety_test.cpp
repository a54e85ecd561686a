// The reply file, its backup and odd paths: the reply is rewritten whole or
// not at all, nothing but the reply and its backup is touched, and a name
// that is not a regular file is refused before anything is read.
#include <random>
#include <string>

#include "harness.h"

namespace {

using namespace harness;

const std::string kText = Crlf({"Hello, Vasily!", " AB>  * Origin: quoted (1:2/3)", "The reply itself."});
const std::string kResult = Crlf({kKludge, "Hello, Vasya!", " AB>  * Origin: quoted (1:2/3)", "The reply itself."});

class FileSafety : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting("Vasya");
  }
  RunResult Process(const std::string& args, const std::string& prefix = "") {
    return Run("salvetor", args + " /Key-", "/dev/null", "timeout 20 " + prefix);
  }
  std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> found;
    for (auto& e : fs::directory_iterator(folder)) {
      std::string name = e.path().filename().string();
      if (name.find(".salvetor-") != std::string::npos) found.push_back(name);
    }
    return found;
  }
  bool IsRoot() { return Shell("id -u").out == "0\n"; }
};

TEST_F(FileSafety, NameWithoutADotAtEveryLengthKeepsItsReply) {
  const std::string name(252, 'n');  // its backup name once was the name itself
  WriteFile(dir() / name, kText);
  RunResult r = Process(name);
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / name), kResult);
  EXPECT_EQ(ReadFile(dir() / (name + ".~")), kText);
  // No room for ".~" within a file name: the write fails, the reply stays.
  const std::string longest(254, 'm');
  WriteFile(dir() / longest, kText);
  r = Process(longest);
  EXPECT_NE(r.out.find("Error writing file " + longest.substr(0, 255 - 19)), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / longest), kText);
  EXPECT_TRUE(Temporaries(dir()).empty());
}

TEST_F(FileSafety, LongPathsAreUsedWhole) {
  const fs::path folder = dir() / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c');
  fs::create_directories(folder);
  WriteFile(folder / "reply.txt", kText);
  const std::string relative = (folder / "reply.txt").lexically_relative(dir()).string();
  ASSERT_GT(relative.size(), 300u);
  RunResult r = Process(relative);
  EXPECT_EQ(ReadFile(folder / "reply.txt"), kResult) << r.out;
  EXPECT_EQ(ReadFile(folder / "reply.~txt"), kText);
  // Longer than a path may be: refused, nothing touched.
  std::string tooLong;
  while (tooLong.size() <= 4095) tooLong += std::string(100, 'x') + "/";
  r = Process(tooLong + "reply.txt");
  EXPECT_NE(r.out.find("Wrong file name!"), std::string::npos) << r.out;
}

TEST_F(FileSafety, DevicesAndPipesAreNotReplies) {
  SKIP_UNDER_WINE("FIFOs and /dev");
  WriteFile(dir() / "reply.txt", kText);
  ASSERT_EQ(Shell("mkfifo pipe.txt && ln -s /dev/null null.txt").exitCode, 0);
  for (const char* args : {"pipe.txt", "null.txt", "reply.txt pipe.txt", "reply.txt null.txt"}) {
    RunResult r = Process(args);
    EXPECT_NE(r.exitCode, 124) << args << ": the program waited on a pipe";
    EXPECT_NE(r.out.find("Wrong file name!"), std::string::npos) << args << r.out;
  }
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), kText);
  EXPECT_TRUE(fs::is_fifo(dir() / "pipe.txt"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_FALSE(fs::exists(dir() / "reply.~txt"));
}

TEST_F(FileSafety, ALinkedReplyRewritesItsTarget) {
  SKIP_UNDER_WINE("symbolic links");
  fs::create_directories(dir() / "real");
  WriteFile(dir() / "real" / "reply.txt", kText);
  fs::create_symlink("real/reply.txt", dir() / "link.txt");
  RunResult r = Process("link.txt");
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_symlink(dir() / "link.txt"));
  EXPECT_EQ(ReadFile(dir() / "real" / "reply.txt"), kResult);
  EXPECT_EQ(ReadFile(dir() / "real" / "reply.~txt"), kText);
  EXPECT_FALSE(fs::exists(dir() / "link.~txt"));
  fs::create_symlink("missing.txt", dir() / "dangling.txt");
  r = Process("dangling.txt");
  EXPECT_NE(r.out.find("Wrong file name!"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir() / "missing.txt"));
}

TEST_F(FileSafety, AKillAtAnyMomentLeavesAWholeReply) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "Line " + std::to_string(i) + " of a long reply, kept whole.\r\n";
  WriteFile(dir() / "original.txt", text);
  WriteFile(dir() / "reply.txt", text);
  Process("reply.txt");
  const std::string result = ReadFile(dir() / "reply.txt");
  ASSERT_NE(result, text);
  WriteFile(dir() / "result.txt", result);
  // 100 runs, each killed after a random wait of up to 40 ms.
  std::mt19937 random(static_cast<std::mt19937::result_type>(::testing::UnitTest::GetInstance()->random_seed()));
  std::string script;
  for (int i = 0; i < 100; ++i) {
    const std::string wait = std::to_string(random() % 40000);
    script += "cp original.txt reply.txt; ./salvetor reply.txt /Key- </dev/null >/dev/null 2>&1 & p=$!; "
              "usleep() { sleep \"$(printf '0.%06d' \"$1\")\"; }; usleep " + wait + "; kill -9 $p; wait $p; "
              "cmp -s reply.txt original.txt || cmp -s reply.txt result.txt || echo broken after " + wait + "\n";
  }
  WriteFile(dir() / "kill.sh", script);
  RunResult r = Shell("sh kill.sh");
  EXPECT_EQ(r.out, "");
  // The next run removes what killed runs left behind.
  WriteFile(dir() / "reply.txt", text);
  const RunResult last = Process("reply.txt");
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), result) << last.out << last.err;
  EXPECT_TRUE(Temporaries(dir()).empty()) << Temporaries(dir()).size() << " left; " << last.out;
}

TEST_F(FileSafety, LeftoversOfTheSameTargetOnlyAreRemoved) {
  WriteFile(dir() / "reply.txt", kText);
  WriteFile(dir() / ".reply.txt.salvetor-abcdef", "left by a killed run");
  WriteFile(dir() / ".other.txt.salvetor-abcdef", "another reply's");
  Process("reply.txt");
  EXPECT_FALSE(fs::exists(dir() / ".reply.txt.salvetor-abcdef"));
  EXPECT_TRUE(fs::exists(dir() / ".other.txt.salvetor-abcdef"));
}

TEST_F(FileSafety, OwnerAndGroupAreKept) {
  SKIP_UNDER_WINE("owner and group");
  if (!IsRoot()) GTEST_SKIP() << "only root can give a file to another user";
  WriteFile(dir() / "reply.txt", kText);
  ASSERT_EQ(Shell("chown 65534:65534 reply.txt").exitCode, 0);
  Process("reply.txt");
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), kResult);
  EXPECT_EQ(Shell("stat -c %u:%g reply.txt").out, "65534:65534\n");
}

TEST_F(FileSafety, AFileLinkedAsTheBackupIsNotChanged) {
  WriteFile(dir() / "reply.txt", kText);
  WriteFile(dir() / "precious.txt", "keep");
  fs::permissions(dir() / "precious.txt", fs::perms::owner_read | fs::perms::group_read);
  fs::create_hard_link(dir() / "precious.txt", dir() / "reply.~txt");
  Process("reply.txt");
  // On Windows read-only is an attribute its links share: that backup
  // cannot be removed, so the run stops before it changes anything.
  EXPECT_EQ(ReadFile(dir() / "reply.~txt"), harness::UnderWine() ? "keep" : kText);
  if (harness::UnderWine()) {
    EXPECT_EQ(ReadFile(dir() / "reply.txt"), kText);
  }
  EXPECT_EQ(ReadFile(dir() / "precious.txt"), "keep");
  EXPECT_EQ(fs::status(dir() / "precious.txt").permissions(), fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(FileSafety, FileNamesNeverActAsOptions) {
  WriteFile(dir() / "x -F y.txt", kText);
  RunResult r = Run("salvetor", "'x -F y.txt'");
  EXPECT_EQ(ReadFile(dir() / "x -F y.txt"), kResult) << r.out;  // no filter: the quoted Origin stays
  const std::string name = std::string(250, 'r') + ".txt";
  WriteFile(dir() / name, kText);
  r = Run("salvetor", name + " /F /Key-");
  EXPECT_EQ(ReadFile(dir() / name), Crlf({kKludge, "Hello, Vasya!", "The reply itself."})) << r.out;
}

TEST_F(FileSafety, RepliesThatShareAStemKeepTheirOwnBackups) {
  WriteFile(dir() / "notes.a.txt", "first\r\n");
  WriteFile(dir() / "notes.b.txt", "second\r\n");
  Process("notes.a.txt");
  Process("notes.b.txt");
  EXPECT_EQ(ReadFile(dir() / "notes.a.~txt"), "first\r\n");
  EXPECT_EQ(ReadFile(dir() / "notes.b.~txt"), "second\r\n");
}

TEST_F(FileSafety, ControlCharactersOfTheMessageDoNotReachTheTerminal) {
  SKIP_UNDER_WINE("a terminal made by script(1)");
  WriteFile(dir() / "reply.txt", Crlf({" AB> --- \x1b]52;c;c2VjcmV0\x07 \x1b[2J"}));
  RunResult r = Shell("TERM=dumb script -qfec './salvetor reply.txt /F /Key- /IF' /dev/null </dev/null");
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Deleted \" AB> --- ^[]52;c;c2VjcmV0^G ^[[2J\" as a service info!"), std::string::npos)
      << r.out;
  // A pipe gets the bytes as they are.
  WriteFile(dir() / "reply.txt", Crlf({" AB> --- \x1b[2J"}));
  r = Process("reply.txt /F /IF");
  EXPECT_NE(r.out.find("Deleted \" AB> --- \x1b[2J\""), std::string::npos) << r.out;
}

}  // namespace
