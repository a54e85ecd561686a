// Injected faults around the write of the result: in every case the program
// prints its error lines, ends with 1, and the user's text survives in the
// message file or its backup.
#include <fstream>
#include <string>

#include "harness.h"

namespace {

using namespace harness;

const std::string kText = Crlf({"Hello, Vasily!", "The reply itself."});

class Faults : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting("Vasya");
    WriteFile(dir() / "reply.txt", kText);
  }
  bool NoTemporaryFiles() {
    for (auto& e : fs::directory_iterator(dir())) {
      if (e.path().filename().string().find(".salvetor-") != std::string::npos) return false;
    }
    return true;
  }
  // True when permission bits do not stop this user (root).
  bool PermissionsIgnored(const fs::path& readOnlyDir) {
    std::ofstream probe(readOnlyDir / ".probe");
    bool wrote = probe.good();
    probe.close();
    fs::remove(readOnlyDir / ".probe");
    return wrote;
  }
};

TEST_F(Faults, BackupNameTakenByADirectory) {
  fs::create_directories(dir() / "reply.~txt");
  auto r = Run("salvetor", "reply.txt");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find(Console({"Error writing file reply.txt #-5!", "(Отказано в доступе к файлу)", "Work done."})),
            std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), kText);
  EXPECT_TRUE(fs::is_directory(dir() / "reply.~txt"));
  EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(Faults, FileSizeLimitReachedPartWay) {
  SKIP_UNDER_WINE("a file-size limit (ulimit)");
  std::string text;
  for (int i = 0; i < 300; ++i) text += "a line of the reply that must survive the failed write\r\n";
  WriteFile(dir() / "reply.txt", text);
  WriteFile(dir() / "reply.~txt", "older\r\n");
  // The program itself ignores SIGXFSZ: the limit (16 blocks of 512 bytes)
  // stops a write part-way, and that is its ordinary write error.
  auto r = Run("salvetor", "reply.txt /F /Key-", "/dev/null", "ulimit -f 16; ");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find(Console({"Error writing file reply.txt #-101!", "(Нет места на диске)", "Work done."})),
            std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), text);
  EXPECT_EQ(ReadFile(dir() / "reply.~txt"), "older\r\n");
  EXPECT_TRUE(NoTemporaryFiles());
}

TEST_F(Faults, ReadOnlyOutputFileIsReplacedAndKeptAsTheBackup) {
  SKIP_UNDER_WINE("permission bits");
  // Like a read-only file in a writable folder on any system: the old file
  // is renamed to the backup, and the new one gets its permission bits.
  fs::permissions(dir() / "reply.txt", fs::perms::owner_read | fs::perms::group_read);
  auto r = Run("salvetor", "reply.txt");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "reply.~txt"), kText);
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), Crlf({harness::kKludge, "Hello, Vasya!", "The reply itself."}));
  EXPECT_EQ(fs::status(dir() / "reply.txt").permissions(), fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(Faults, ReadOnlyFolderStopsTheWrite) {
  SKIP_UNDER_WINE("folder permission bits");
  fs::create_directories(dir() / "ro");
  WriteFile(dir() / "ro" / "reply.txt", kText);
  // Only the folder's permission may stop the write: the reply itself is
  // writable by whoever runs the program.
  fs::permissions(dir() / "ro" / "reply.txt", fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                                  ~fs::perms::others_exec);
  fs::permissions(dir() / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  std::string prefix;
  if (PermissionsIgnored(dir() / "ro")) {
    // Permission bits do not bind root: run as an ordinary user instead.
    if (Shell("command -v setpriv").exitCode != 0) GTEST_SKIP() << "no way to drop root here";
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  auto r = Run("salvetor", "ro/reply.txt", "/dev/null", prefix);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.out.find(Console({"Error writing file ro/reply.txt #-5!", "(Отказано в доступе к файлу)"})),
            std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "ro" / "reply.txt"), kText);
}

TEST_F(Faults, MessageFileIsADirectory) {
  fs::create_directories(dir() / "msg.txt");
  auto r = Run("salvetor", "msg.txt");
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_NE(r.out.find("Wrong file name!" + Eol()), std::string::npos) << r.out << r.err;
  EXPECT_TRUE(fs::is_directory(dir() / "msg.txt"));
}

}  // namespace
