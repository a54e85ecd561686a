// The user's text comes back whole: every line end style, lines of any
// length, Ctrl-Z inside a line, and changes that would overflow a line.
#include <string>
#include <vector>

#include "harness.h"

namespace {

using namespace harness;

// Lines joined with the given line end after each.
std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string out;
  for (const std::string& line : lines) out += line + end;
  return out;
}

class WholeText : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    Install("salvetor", false);
    WriteFile(dir() / "salvetor.cfg", "Hello, @Name!\n");
    WriteFile(dir() / "names.dat", harness::Cp("Vasily,Вася\n"));
    WriteFile(dir() / "filter.dat", "\"> Hello\"\n\"> Bye\"\n");
    WriteFile(dir() / "macro.dat", "{btw},by the way\n");
  }
  RunResult Process(const std::string& bytes, const std::string& options = "/F /Key-") {
    WriteFile(dir() / "reply.txt", bytes);
    RunResult r = Run("salvetor", "reply.txt " + options);
    EXPECT_EQ(r.exitCode, 0);
    return r;
  }
  std::string Result() { return ReadFile(dir() / "reply.txt"); }
};

// A reply as a Linux editor writes it, and what every stage makes of it.
const std::vector<std::string> kReply = {
    "Hello, Vasily!", "", " AB> Hello, All!", " AB> Нет, не так.", "", "", "Ответ {btw}.",
    " AB> Bye.", " AB> --- GoldED", " AB>  * Origin: somewhere (2:5020/1)", "--- GoldED"};
const std::vector<std::string> kResult = {
    kKludge, "Hello, Вася!", "", " AB> Hет, не так.", "", "Ответ by the way.", "--- GoldED"};

std::vector<std::string> CpLines(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(harness::Cp(line));
  return out;
}

TEST_F(WholeText, EachLineEndStyleIsReadAndKept) {
  for (const std::string end : {"\n", "\r", "\r\n"}) {
    Process(Joined(CpLines(kReply), end));
    EXPECT_EQ(Result(), Joined(CpLines(kResult), end)) << int(end[0]);
  }
}

TEST_F(WholeText, TheFirstLineEndDecidesTheResult) {
  Process("Hello, Vasily!\nsecond\r\nthird\r\n");
  EXPECT_EQ(Result(), Joined({kKludge, Cp("Hello, Вася!"), "second", "third"}, "\n"));
  Process("no line end at all");
  EXPECT_EQ(Result(), Joined({kKludge, "no line end at all"}, "\r\n"));
}

TEST_F(WholeText, LongLinesAreWrappedWithEveryCharacterKept) {
  std::string plain, quoted = " SK>> ";
  for (int i = 0; i < 120; ++i) plain += "w" + std::to_string(i % 10) + "rd ";     // blanks at 254, 509
  for (int i = 0; i < 99; ++i) quoted += "q" + std::to_string(i % 10) + "uot ";  // blanks at 251, 497
  Process(plain + "\n" + quoted + "\n", "/Key-");
  // Plain: split after the last blank of each 255; quoted: each further piece
  // repeats the prefix " SK>> " and stays within 255.
  EXPECT_EQ(Result(), Joined({kKludge, plain.substr(0, 255), plain.substr(255, 255), plain.substr(510),
                              quoted.substr(0, 252), " SK>> " + quoted.substr(252, 246),
                              " SK>> " + quoted.substr(498)},
                             "\n"));
}

TEST_F(WholeText, AChangeThatWouldOverflowALineIsNotMade) {
  WriteFile(dir() / "names.dat", harness::Cp("Kolya,Николай\n"));
  const std::string pad(241, '.');
  const std::vector<std::string> lines = {"Hello, Kolya!" + pad, "text {btw}" + pad};  // 254 and 251
  RunResult r = Process(Joined(lines, "\n"), "/Key-");
  EXPECT_EQ(Result(), Joined({kKludge, lines[0], lines[1]}, "\n"));
  EXPECT_NE(r.out.find("Line 1 is too long for the change, left as it is!" + Eol()), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Line 2 is too long for the change, left as it is!" + Eol()), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Changed:"), std::string::npos);
  EXPECT_NE(r.out.find("Total: 0 changes!"), std::string::npos);
}

TEST_F(WholeText, CtrlZEndsTheFileOnlyAtItsEnd) {
  Process("one\x1a two\nthree\n\x1a\r\n\x1a", "/Key-");
  EXPECT_EQ(Result(), Joined({kKludge, "one\x1a two", "three"}, "\n"));
}

TEST_F(WholeText, MoreThan65535LinesAreRefusedAndTheFileUntouched) {
  const std::string text = std::string(65535, '\n') + "one more";
  WriteFile(dir() / "reply.txt", text);
  RunResult r = Run("salvetor", "reply.txt /Key-");
  EXPECT_NE(r.out.find("File reply.txt has more than 65535 lines!" + Eol()), std::string::npos) << r.out;
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Result(), text);
  EXPECT_FALSE(fs::exists(dir() / "reply.~txt"));
}

TEST_F(WholeText, ArrowsAreTheUsersOwnLines) {
  const std::vector<std::string> lines = {"So => See you on Monday!", "Step 1 -> then step 2",
                                          "x ==> y", " AB> Hello, All!", ">> Bye."};
  Process(Joined(lines, "\n"));
  EXPECT_EQ(Result(), Joined({kKludge, lines[0], lines[1], lines[2]}, "\n"));
}

}  // namespace
