// The README says what the program does: the example it shows before and
// after is the example the program gives, and its first command prints it.
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

class Readme : public ProgramDir {
 protected:
  static std::vector<std::string> NonBlankLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      while (!line.empty() && line.back() == ' ') line.pop_back();
      if (!line.empty()) out.push_back(line);
    }
    return out;
  }
  // A line the README shows, shortened with "..." where text is left out:
  // the first piece starts the line, the others follow in order.
  static bool Shows(const std::string& shown, const std::string& line) {
    std::size_t from = 0, at = 0;
    for (bool first = true;; first = false) {
      const std::size_t cut = shown.find("...", from);
      std::string piece = shown.substr(from, cut == std::string::npos ? std::string::npos : cut - from);
      while (!first && !piece.empty() && piece.front() == ' ') piece.erase(0, 1);
      while (cut != std::string::npos && !piece.empty() && piece.back() == ' ') piece.pop_back();
      const std::size_t found = line.find(piece, at);
      if (found == std::string::npos || (first && found != 0)) return false;
      at = found + piece.size();
      if (cut == std::string::npos) return true;
      from = cut + 3;
    }
  }
};

TEST_F(Readme, TheExampleShownBeforeAndAfterIsTheProgramsOwn) {
  SKIP_UNDER_WINE("reads the README only");
  const std::string readme = ReadFile(fs::path(SALVETOR_SOURCE_DIR) / "README.md");
  const std::size_t at = readme.find("## Before and after");
  ASSERT_NE(at, std::string::npos);
  // The two columns of the indented block: the reply, then the result.
  std::string before, after;
  std::istringstream in(readme.substr(readme.find("\n    ", at) + 1));
  for (std::string line; std::getline(in, line) && (line.empty() || line.rfind("    ", 0) == 0);) {
    // Column 4 to 42 (in characters) is the reply, from 42 on the result.
    std::size_t bytes = 0, chars = 0;
    while (bytes < line.size() && chars < 42) {
      ++bytes;
      while (bytes < line.size() && (static_cast<unsigned char>(line[bytes]) & 0xC0) == 0x80) ++bytes;
      ++chars;
    }
    before += (line.size() > 4 ? line.substr(4, bytes - 4) : "") + "\n";
    after += (bytes < line.size() ? line.substr(bytes) : "") + "\n";
  }
  auto compare = [](const std::vector<std::string>& shown, const std::vector<std::string>& real) {
    ASSERT_EQ(shown.size(), real.size());
    for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_TRUE(Shows(shown[i], real[i])) << shown[i] << " | " << real[i];
  };
  const fs::path examples = fs::path(SALVETOR_SOURCE_DIR) / "examples";
  std::string result = Iconv(ReadFile(examples / "reply.expected.txt"), "CP866", "UTF-8");
  for (std::size_t p = result.find('\x01'); p != std::string::npos; p = result.find('\x01')) result.replace(p, 1, "^A");
  compare(NonBlankLines(before), NonBlankLines(Iconv(ReadFile(examples / "reply.txt"), "CP866", "UTF-8")));
  compare(NonBlankLines(after), NonBlankLines(result));
}

// The first README command ends in the run-example target: it runs the
// program on the example and prints the result the README shows.
TEST_F(Readme, TheFirstCommandPrintsTheExamplesResult) {
  SKIP_UNDER_WINE("runs the Linux build's example script");
  const RunResult r = Shell("sh '" + std::string(SALVETOR_SOURCE_DIR) + "/examples/run-example.sh' '" +
                            std::string(SALVETOR_BUILD_DIR) + "' '" + std::string(SALVETOR_SOURCE_DIR) + "'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Changed: Sergey to Сеpёжа!\n"), std::string::npos) << r.out;
  std::string result = Iconv(ReadFile(fs::path(SALVETOR_SOURCE_DIR) / "examples" / "reply.expected.txt"), "CP866",
                             "UTF-8");
  std::erase(result, '\r');
  for (char& c : result) c = c == '\x01' ? '@' : c;
  EXPECT_NE(r.out.find(result), std::string::npos) << r.out;
}

}  // namespace
