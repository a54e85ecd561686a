#include "harness.h"

#include "support/tempdir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace harness {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Cp(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3Fu);
    unsigned char b = '?';
    if (code >= 0x410 && code <= 0x43F) b = static_cast<unsigned char>(code - 0x410 + 0x80);
    else if (code >= 0x440 && code <= 0x44F) b = static_cast<unsigned char>(code - 0x440 + 0xE0);
    else if (code == 0x401) b = 0xF0;
    else if (code == 0x451) b = 0xF1;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

namespace {
std::string Joined(const std::vector<std::string>& lines, const char* end) {
  std::string out;
  for (const std::string& l : lines) out += l + end;
  return out;
}
}  // namespace

std::string Crlf(const std::vector<std::string>& lines) { return Joined(lines, "\r\n"); }

std::string Lf(const std::vector<std::string>& lines) { return Joined(lines, "\n"); }

std::string Eol() { return UnderWine() ? "\r\n" : "\n"; }

std::string Con(const std::string& utf8) { return UnderWine() ? Cp(utf8) : utf8; }

std::string Console(const std::vector<std::string>& lines) {
  if (!UnderWine()) return Lf(lines);
  std::vector<std::string> cp;
  for (const std::string& line : lines) cp.push_back(Cp(line));
  return Crlf(cp);
}

void ProgramDir::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dir_ = support::TempFolder(std::string(info->test_suite_name()) + "-" + info->name());
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  // The program takes a plain ASCII reply in the locale's charset: runs are
  // in the C locale unless a test names another, whatever the machine's is.
  setenv("LC_ALL", "C", 1);
}

void ProgramDir::TearDown() {
  std::error_code ec;
  for (auto& e : fs::recursive_directory_iterator(dir_, ec)) {
    fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(dir_, ec);
}

const char* WindowsBuild() { return std::getenv("SALVETOR_WINDOWS_BUILD"); }

bool UnderWine() { return WindowsBuild() != nullptr && *WindowsBuild() != 0; }

std::string Shown(const std::string& path) {
  if (!UnderWine()) return path;
  std::string out = "Z:" + path;
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

void ProgramDir::Install(const std::string& program, bool withData) {
  const fs::path build = UnderWine() ? fs::path(WindowsBuild()) : fs::path(SALVETOR_BUILD_DIR);
  const std::string file = UnderWine() ? program + ".exe" : program;
  fs::copy_file(build / file, dir_ / file, fs::copy_options::overwrite_existing);
  // The message catalogues go with the program, as in every installation.
  if (fs::is_directory(build / "locale")) {
    fs::copy(build / "locale", dir_ / "locale", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  }
  if (!withData) return;
  for (auto& e : fs::directory_iterator(fs::path(SALVETOR_DATA_DIR))) {
    fs::path target = dir_ / e.path().filename();
    std::string name = target.filename().string();
    // Program-named files follow the program's name.
    if (name.rfind("salvetor.", 0) == 0) target = dir_ / (program + name.substr(8));
    fs::copy_file(e.path(), target, fs::copy_options::overwrite_existing);
  }
}

void ProgramDir::InstallGreeting(const std::string& form) {
  Install("salvetor", false);
  WriteFile(dir_ / "salvetor.cfg", Crlf({"Hello, @Name!"}));
  WriteFile(dir_ / "names.dat", Crlf({"Vasily," + form}));
}

RunResult ProgramDir::Run(const std::string& program, const std::string& args,
                          const std::string& stdinFrom, const std::string& prefix) {
  return Shell(prefix + Command(program) + " " + args + " <" + stdinFrom);
}

std::string ProgramDir::Command(const std::string& program) {
  return UnderWine() ? "wine ./" + program + ".exe" : "./" + program;
}

RunResult ProgramDir::Shell(const std::string& line) {
  RunResult r;
  fs::path out = dir_ / ".stdout", err = dir_ / ".stderr";
  std::string command = "cd '" + dir_.string() + "' && { " + line + " ; } >'" + out.string() + "' 2>'" +
                        err.string() + "'";
  int status = std::system(command.c_str());
  // A wait status: the exit code sits in the second byte when no signal ended it.
  r.exitCode = (status & 0x7F) == 0 ? (status >> 8) & 0xFF : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  fs::remove(out);
  fs::remove(err);
  return r;
}

std::string ProgramDir::Iconv(const std::string& bytes, const std::string& from, const std::string& to) {
  WriteFile(dir_ / ".iconv", bytes);
  RunResult r = Shell("iconv -f " + from + " -t " + to + " .iconv");
  fs::remove(dir_ / ".iconv");
  EXPECT_EQ(r.exitCode, 0) << "iconv " << from << " to " << to << ": " << r.err;
  return r.out;
}

}  // namespace harness
