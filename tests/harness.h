// Helpers for whole-program tests: a temporary directory per test holding a
// copy of a built program, runs with standard input from /dev/null, and
// exact byte comparisons of files and output.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace harness {

namespace fs = std::filesystem;

// The control line the program puts on top of every result.
inline const std::string kKludge = "\x01Salvetor: 1.08 19990827";

std::string ReadFile(const fs::path& path);
void WriteFile(const fs::path& path, const std::string& bytes);
// UTF-8 to CP866 for expected texts written readably in tests.
std::string Cp(const std::string& utf8);
// Lines joined with CR LF after each.
std::string Crlf(const std::vector<std::string>& lines);
// Lines joined with LF after each.
std::string Lf(const std::vector<std::string>& lines);
// Console lines written in UTF-8 as the program prints them in the tests'
// C locale: UTF-8 with LF; the Windows program prints CP866 with CR LF.
std::string Console(const std::vector<std::string>& lines);
// The end of a console line: LF, or CR LF from the Windows program.
std::string Eol();
// Console text written in UTF-8 as the program prints it (CP866 on Windows).
std::string Con(const std::string& utf8);

// True when the tests run the Windows program under Wine: the environment
// names its build folder in SALVETOR_WINDOWS_BUILD.
bool UnderWine();
// A path as the program shows it: under Wine the drive Z: and backslashes.
std::string Shown(const std::string& path);

// Leaves out a test of POSIX behaviour (terminals, modes, links, signals)
// when the tests run the Windows program.
#define SKIP_UNDER_WINE(why) \
  if (harness::UnderWine()) GTEST_SKIP() << "POSIX only: " << why

struct RunResult {
  int exitCode = -1;
  std::string out;  // standard output bytes
  std::string err;  // standard error bytes
};

class ProgramDir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Copies a built program (by file name in the build directory) here.
  void Install(const std::string& program, bool withData = true);
  // Installs salvetor without its data, with the one template "Hello,
  // @Name!" and the one names line "Vasily,<form>".
  void InstallGreeting(const std::string& form);
  // Runs the installed program with arguments (a shell word list) in dir().
  // prefix: shell commands run first in the same shell (limits, traps).
  // The command line that starts the installed program.
  static std::string Command(const std::string& program);
  RunResult Run(const std::string& program, const std::string& args,
                const std::string& stdinFrom = "/dev/null", const std::string& prefix = "");
  // Runs a shell command line in dir(), its output collected.
  RunResult Shell(const std::string& command);
  // bytes converted from one charset to another by iconv (names as iconv
  // knows them); fails the test when iconv refuses them.
  std::string Iconv(const std::string& bytes, const std::string& from, const std::string& to);
  fs::path dir() const { return dir_; }
  fs::path dir_;
};

}  // namespace harness
