// "-" as the reply (a Unix filter), --dry-run and --diff: the same result
// bytes as a file run, the input given back when refused, nothing written
// by a preview, and a diff that patch turns into the real result.
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>

#include "harness.h"

namespace {

using namespace harness;

class Pipes : public ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    Install("salvetor");
    const fs::path examples = fs::path(SALVETOR_SOURCE_DIR) / "examples";
    for (const char* name : {"salvetor.beg", "salvetor.end"}) fs::copy_file(examples / name, dir() / name);
    example_ = ReadFile(examples / "reply.txt");
  }
  // The replies every stage takes part in: CP866 with CR LF, UTF-8 with LF,
  // and one with a line longer than 255 bytes.
  std::map<std::string, std::string> Replies() {
    std::string utf8 = Iconv(example_, "CP866", "UTF-8");
    std::erase(utf8, '\r');
    return {{"cp866", example_}, {"utf8", utf8}, {"long", example_ + std::string(600, 'w') + "\r\n"}};
  }
  // What a run on a file leaves in it.
  std::string FileResult(const std::string& reply, const std::string& options) {
    WriteFile(dir() / "file.txt", reply);
    EXPECT_EQ(Run("salvetor", "file.txt " + options).exitCode, 0);
    return ReadFile(dir() / "file.txt");
  }
  RunResult Filter(const std::string& reply, const std::string& options) {
    WriteFile(dir() / "in.txt", reply);
    return Run("salvetor", "- " + options, "in.txt");
  }
  std::string example_;
};

TEST_F(Pipes, FilterModeGivesTheBytesOfAFileRun) {
  for (const auto& [name, reply] : Replies()) {
    const std::string want = FileResult(reply, "/F /Key-");
    RunResult r = Filter(reply, "/F");  // no /Key-: a filter never waits for a key
    EXPECT_EQ(r.exitCode, 0) << name;
    EXPECT_EQ(r.out, want) << name;  // the result and nothing else
    EXPECT_EQ(r.err, "") << name;    // an editor may put standard error into the message
    // --verbose: the whole console on standard error.
    RunResult verbose = Filter(reply, "/F --verbose");
    EXPECT_EQ(verbose.out, want) << name;
    EXPECT_NE(verbose.err.find("Changing names..." + Eol()), std::string::npos) << name;
    EXPECT_NE(verbose.err.find("Work done." + Eol()), std::string::npos) << name;
    EXPECT_EQ(verbose.err.find("Waiting a key"), std::string::npos) << name;
  }
  for (const auto& entry : fs::directory_iterator(dir())) {
    EXPECT_NE(entry.path().filename().string()[0], '-') << "no file for the name \"-\"";
  }
}

TEST_F(Pipes, WithAnOutputFileTheResultGoesThere) {
  const std::string want = FileResult(example_, "/F /Key-");
  WriteFile(dir() / "out.txt", "old\r\n");
  RunResult r = Filter(example_, "out.txt /F");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(ReadFile(dir() / "out.txt"), want);
  EXPECT_EQ(ReadFile(dir() / "out.~txt"), "old\r\n");
  EXPECT_EQ(r.out, "");  // with "-" the console never goes to standard output
  EXPECT_EQ(r.err, "");  // and says nothing when all went well
}

TEST_F(Pipes, ARefusedReplyComesBackUnchanged) {
  std::string huge;
  for (int i = 0; i < 65536; ++i) huge += "line\r\n";
  struct Case {
    std::string name, reply, options;
  } const cases[] = {
      {"too many lines", huge, "/F"},
      {"unknown charset", example_, "/CS=NOSUCH"},
      {"help screen", example_, "/?"},
  };
  for (const Case& c : cases) {
    RunResult r = Filter(c.reply, c.options);
    EXPECT_EQ(r.out, c.reply) << c.name;
    EXPECT_EQ(r.exitCode, c.name == "help screen" ? 0 : 1) << c.name;
  }
  fs::remove(dir() / "salvetor.cfg");
  RunResult r = Filter(example_, "/F");
  EXPECT_EQ(r.out, example_);
  EXPECT_EQ(r.exitCode, 1);
}

TEST_F(Pipes, DashOnATerminalIsAWrongFileName) {
  SKIP_UNDER_WINE("a terminal made by script(1)");
  // The help screen that follows waits for a key: one is typed.
  RunResult r = Shell("(sleep 0.5; printf x; sleep 0.5) | TERM=dumb script -qfec './salvetor -' /dev/null");
  EXPECT_NE(r.out.find("Wrong file name!"), std::string::npos) << r.out;
  EXPECT_EQ(r.exitCode, 1);
}

// Every file under the folder: its bytes, mode and modification time.
using Snapshot = std::map<std::string, std::tuple<std::string, fs::perms, fs::file_time_type>>;
Snapshot Take(const fs::path& root) {
  Snapshot s;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string content = e.is_regular_file() ? ReadFile(e.path()) : "";
    s[fs::relative(e.path(), root).string()] = {content, e.status().permissions(), e.last_write_time()};
  }
  return s;
}

TEST_F(Pipes, DryRunWritesNothing) {
  WriteFile(dir() / "reply.txt", example_);
  WriteFile(dir() / "bad.txt", "Hello, Sergey!\r\n");
  fs::last_write_time(dir() / "reply.txt", fs::file_time_type::clock::now() - std::chrono::hours(1));
  struct Case {
    std::string args;
    int code;
  } const cases[] = {
      {"reply.txt --dry-run /F /Key- /IF", 0},
      {"reply.txt -n /F1 /Key-", 0},
      {"reply.txt out/new.txt --dry-run /Key-", 0},
      {"bad.txt --dry-run /CS=NOSUCH", 1},
  };
  const Snapshot before = Take(dir());
  for (const Case& c : cases) {
    // The user folder would be made for the log if the program's folder
    // were not writable: it must not appear either.
    RunResult r = Run("salvetor", c.args, "/dev/null", UnderWine() ? "" : "XDG_CONFIG_HOME=home ");
    EXPECT_EQ(r.exitCode, c.code) << c.args;
    EXPECT_NE(r.out.find("Dry run: nothing written." + Eol() + "Work done." + Eol()), std::string::npos) << c.args << r.out;
    EXPECT_TRUE(Take(dir()) == before) << c.args;
  }
  EXPECT_FALSE(fs::exists(dir() / "home"));
}

TEST_F(Pipes, DiffAppliedWithPatchGivesTheRealResult) {
  auto replies = Replies();
  replies["unchanged by the stages"] = "Just a line.\r\nAnd another.\r\n";
  for (const auto& [name, reply] : replies) {
    const std::string want = FileResult(reply, "/F /Key-");
    WriteFile(dir() / "reply.txt", reply);
    RunResult r = Run("salvetor", "reply.txt --diff /F /Key-");
    EXPECT_EQ(r.exitCode, 0) << name;
    EXPECT_EQ(ReadFile(dir() / "reply.txt"), reply) << name;
    EXPECT_FALSE(fs::exists(dir() / "reply.~txt")) << name;
    EXPECT_EQ(r.out.rfind("--- reply.txt\n+++ reply.txt\n@@ -1,", 0), 0u) << name << r.out;
    EXPECT_NE(r.err.find("Dry run: nothing written." + Eol() + "Work done."), std::string::npos) << name;
    WriteFile(dir() / "reply.diff", r.out);
    RunResult patched = Shell("patch -s reply.txt reply.diff");
    EXPECT_EQ(patched.exitCode, 0) << name << patched.out << patched.err;
    EXPECT_EQ(ReadFile(dir() / "reply.txt"), want) << name;
  }
}

TEST_F(Pipes, DiffOfStandardInput) {
  const std::string want = FileResult(example_, "/F /Key-");
  RunResult r = Filter(example_, "--diff /F");
  EXPECT_EQ(r.exitCode, 0);
  WriteFile(dir() / "copy.txt", example_);
  WriteFile(dir() / "reply.diff", r.out);
  EXPECT_EQ(Shell("patch -s copy.txt reply.diff").exitCode, 0);
  EXPECT_EQ(ReadFile(dir() / "copy.txt"), want);
}

}  // namespace
