// The shipped data files: valid CP866 text that the program loads without
// errors, and an installation that runs from PATH through its link.
#include <cstdlib>
#include <string>

#include "harness.h"

namespace {

using namespace harness;

// CP866 text: printable ASCII, TAB, CR LF line ends, 0x01 opening a line, Cyrillic letters
// (0x80-0xAF, 0xE0-0xF1); lines of at most 255 bytes; a final CR LF.
std::string Cp866Problem(const std::string& bytes) {
  size_t lineLength = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r') {
      if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') return "CR without LF at " + std::to_string(i);
      ++i;
      lineLength = 0;
      continue;
    }
    bool kludge = c == 0x01 && lineLength == 0;  // a FidoNet control line
    bool ok = kludge || c == '\t' || (c >= 0x20 && c < 0x7F) || (c >= 0x80 && c <= 0xAF) || (c >= 0xE0 && c <= 0xF1);
    if (!ok) return "byte " + std::to_string(c) + " at " + std::to_string(i);
    if (++lineLength > 255) return "line longer than 255 bytes at " + std::to_string(i);
  }
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") return "no final CR LF";
  return "";
}

class Data : public harness::ProgramDir {};

TEST_F(Data, EveryShippedFileIsCp866Text) {
  int files = 0;
  for (auto& e : fs::directory_iterator(SALVETOR_DATA_DIR)) {
    EXPECT_EQ(Cp866Problem(ReadFile(e.path())), "") << e.path();
    ++files;
  }
  EXPECT_EQ(files, 6);
  for (const char* example : {"reply.txt", "reply.expected.txt", "salvetor.beg", "salvetor.end"}) {
    EXPECT_EQ(Cp866Problem(ReadFile(fs::path(SALVETOR_SOURCE_DIR) / "examples" / example)), "") << example;
  }
}

TEST_F(Data, TheProgramLoadsEveryDefaultFileWithoutErrors) {
  Install("salvetor", true);
  WriteFile(dir() / "reply.txt", "Hello, Dmitry!\r\n");
  auto r = Run("salvetor", "reply.txt /F /Key-");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(dir() / "reply.txt"), harness::Crlf({harness::kKludge, harness::Cp("Hello, Дима!")}));
}

TEST_F(Data, NamesTableCoversCommonSpellings) {
  Install("salvetor", true);
  struct Case {
    const char* latin;
    const char* russian;
  };
  const Case cases[] = {{"Sergey", "Сеpёжа"}, {"Sergei", "Сеpёжа"}, {"Serguei", "Сеpёжа"},
                        {"Aleksandr", "Саша"}, {"Alex", "Саша"},     {"Dmitriy", "Дима"},
                        {"Natalia", "Hаташа"}, {"Elena", "Лена"},    {"Vasily", "Вася"}};
  for (const Case& c : cases) {
    WriteFile(dir() / "reply.txt", std::string("Hello, ") + c.latin + "!\r\n");
    Run("salvetor", "reply.txt");
    EXPECT_EQ(ReadFile(dir() / "reply.txt"),
              harness::Crlf({harness::kKludge, harness::Cp(std::string("Hello, ") + c.russian + "!")}))
        << c.latin;
  }
}

TEST_F(Data, ManualPagesRenderWithoutWarnings) {
  if (Shell("command -v man").exitCode != 0) GTEST_SKIP() << "man is not installed";
  for (const char* name : {"salvetor.1", "salvetor.ru.1"}) {
    std::string page = (fs::path(SALVETOR_SOURCE_DIR) / "doc" / name).string();
    auto r = Shell("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l '" + page + "' >/dev/null");
    EXPECT_EQ(r.exitCode, 0) << name;
    EXPECT_EQ(r.err, "") << name;
  }
}

// Installed, the program finds its data in ../share/salvetor and writes
// nothing inside the installation.
TEST_F(Data, InstalledProgramFindsItsDataAndWritesNothingThere) {
  fs::path prefix = dir() / "prefix";
  std::string install = "cmake --install '" + std::string(SALVETOR_BUILD_DIR) + "' --prefix '" +
                        prefix.string() + "' >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "salvetor"));
  EXPECT_TRUE(fs::exists(prefix / "share" / "salvetor" / "salvetor.cfg"));
  EXPECT_TRUE(fs::exists(prefix / "share" / "man" / "man1" / "salvetor.1.gz"));
  EXPECT_TRUE(fs::exists(prefix / "share" / "man" / "ru" / "man1" / "salvetor.1.gz"));
  EXPECT_TRUE(fs::exists(prefix / "share" / "locale" / "ru" / "LC_MESSAGES" / "salvetor.mo"));
  fs::create_directories(dir() / "work");
  fs::copy_file(fs::path(SALVETOR_SOURCE_DIR) / "examples" / "reply.txt", dir() / "work" / "reply.txt");
  auto r = Shell("cd work && XDG_STATE_HOME=state PATH='" + (prefix / "bin").string() +
                 "':$PATH salvetor reply.txt /F /Key- /Debug </dev/null");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(ReadFile(dir() / "work" / "reply.txt"),
            ReadFile(fs::path(SALVETOR_SOURCE_DIR) / "examples" / "reply.expected.txt"));
  // Its messages come from the installation's catalogue.
  r = Shell("LC_ALL=ru_RU.UTF-8 '" + (prefix / "bin" / "salvetor").string() + "' --dry-run work/reply.txt </dev/null");
  EXPECT_NE(r.out.find("Работа завершена.\n"), std::string::npos) << r.out;
  for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
    EXPECT_FALSE(entry.path().extension() == ".log" || entry.path().extension() == ".err") << entry.path();
  }
}

}  // namespace
