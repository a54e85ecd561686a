// Characters CP866 lacks (emoji, CJK, « », box drawing in a UTF-8 reply):
// each is one character to every stage, however many distinct ones a reply
// holds. Every case here damaged the text of an earlier version.
#include <string>
#include <vector>

#include "harness.h"
#include "support/utf8.h"

namespace {

using namespace harness;

std::string U8(char32_t cp) { return support::Utf8(std::u32string(1, cp)); }

// count distinct characters from first on.
std::string Chars(char32_t first, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += U8(first + static_cast<char32_t>(i));
  return out;
}

const std::string kCjk60 = Chars(0x4E00, 60);  // more distinct characters than one-byte stand-ins

class Unusual : public harness::ProgramDir {
 protected:
  void SetUp() override {
    ProgramDir::SetUp();
    InstallGreeting(Cp("Вася"));
    WriteFile(dir() / "filter.dat", Crlf({"\"> Hello\""}));
  }
  // Runs on the reply bytes with options; the result comes back in result_.
  RunResult Process(const std::string& bytes, const std::string& options = "", const std::string& prefix = "") {
    WriteFile(dir() / "reply.txt", bytes);
    RunResult r = Run("salvetor", "reply.txt /Key- " + options, "/dev/null", prefix);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    result_ = ReadFile(dir() / "reply.txt");
    return r;
  }
  static bool Has(const RunResult& r, const std::string& text) { return r.out.find(text) != std::string::npos; }
  std::string result_;
};

TEST_F(Unusual, AnAccentFoldingTableChangesOnlyTheAccentedLetter) {
  std::string table;
  for (char32_t c = 0xC0; c <= 0xFF; ++c) {
    if (c == 0xD7 || c == 0xF7) continue;  // × ÷ are no letters
    table += U8(c) + "," + (c == 0xE9 ? "e" : c < 0xE0 ? "A" : "a") + "\n";
  }
  WriteFile(dir() / "macro.dat", table);
  const std::string line = "Цена 5€, café 😀 «ok» — ✓";
  RunResult r = Process(Lf({line}));
  EXPECT_EQ(result_, Lf({kKludge, "Цена 5€, cafe 😀 «ok» — ✓"}));
  EXPECT_TRUE(Has(r, "Macro: 1 changes!")) << r.out;
}

TEST_F(Unusual, ManyDistinctCharactersNeverMatchAnEntryOfAnother) {
  WriteFile(dir() / "macro.dat", Crlf({"\xCD,="}));  // ═ in CP866
  WriteFile(dir() / "filter2.dat", Crlf({"\xCD"}));
  const std::vector<std::string> reply = {"Text " + kCjk60, " AB> " + kCjk60, " AB> quoted ═ line", "one ═ here",
                                          "box " + Chars(0x2500, 48)};
  RunResult r = Process(Lf(reply), "/F2");
  EXPECT_EQ(result_, Lf({kKludge, reply[0], reply[1], "one = here", "box " + Chars(0x2500, 48)}));
  EXPECT_TRUE(Has(r, "Macro: 1 changes!")) << r.out;
  EXPECT_TRUE(Has(r, "Total: 1 lines skipped!")) << r.out;
}

TEST_F(Unusual, LengthsCountCharactersNotBytes) {
  WriteFile(dir() / "macro.dat", Crlf({"{btw},by the way"}));
  const std::string cjk120 = Chars(0x4E00, 120);
  const std::string cjk255 = Chars(0x5000, 255);
  const std::string cjk256 = Chars(0x6000, 256);
  Process(Lf({cjk120 + " {btw}", cjk255, cjk256}));
  EXPECT_EQ(result_, Lf({kKludge, cjk120 + " by the way", cjk255, Chars(0x6000, 255), U8(0x6000 + 255)}));
  // 251 characters: the change would take the line past 255 and is refused.
  const std::string near = Chars(0x7000, 245) + " {btw}";
  RunResult r = Process(Lf({near}));
  EXPECT_EQ(result_, Lf({kKludge, near}));
  EXPECT_TRUE(Has(r, "Line 1 is too long for the change, left as it is!")) << r.out;
}

TEST_F(Unusual, TheQuoteWindowCountsCharacters) {
  WriteFile(dir() / "filter2.dat", Crlf({"gone"}));
  // After many distinct characters: the '>' is the 12th character of the
  // first quoted line, the 13th of the second.
  const std::string nine = Chars(0x1F600, 9), ten = Chars(0x1F610, 10);
  Process(Lf({"Text " + kCjk60, nine + "AB> gone", ten + "AB> gone"}), "/F2");
  EXPECT_EQ(result_, Lf({kKludge, "Text " + kCjk60, ten + "AB> gone"}));
}

TEST_F(Unusual, TheConsoleShowsTheCharacterNotItsStandIn) {
  WriteFile(dir() / "filter2.dat", Crlf({"x"}));
  const std::string reply = Lf({"Text " + kCjk60, " VP> ═ x", " VP> 😀 x"});
  RunResult r = Process(reply, "/F2 /IF");
  if (UnderWine()) {
    // Redirected, the Windows console is CP866: ═ is its own byte, 😀 a '?'.
    EXPECT_TRUE(Has(r, "Deleted \" VP> \xCD x\" cause of \"x\"!")) << r.out;
    EXPECT_TRUE(Has(r, "Deleted \" VP> ? x\" cause of \"x\"!")) << r.out;
    return;
  }
  // The C locale's console is UTF-8: both characters as they are.
  EXPECT_TRUE(Has(r, "Deleted \" VP> ═ x\" cause of \"x\"!\n")) << r.out;
  EXPECT_TRUE(Has(r, "Deleted \" VP> 😀 x\" cause of \"x\"!\n")) << r.out;
  // A KOI8-R console has ═ (0xA0) but no 😀.
  const RunResult made = Shell("mkdir -p loc && localedef -i ru_RU -f KOI8-R loc/ru_RU.KOI8-R");
  if (made.exitCode != 0) GTEST_SKIP() << "no KOI8-R locale can be made here (localedef: " << made.err << ")";
  r = Process(reply, "/F2 /IF", "LOCPATH=loc LC_ALL=ru_RU.KOI8-R ");
  const std::string deleted = Iconv("Удалено", "UTF-8", "KOI8-R"), cause = Iconv("из-за", "UTF-8", "KOI8-R");
  EXPECT_TRUE(Has(r, deleted + " \" VP> \xA0 x\" " + cause + " \"x\"!\n")) << r.out;
  EXPECT_TRUE(Has(r, deleted + " \" VP> ? x\" " + cause + " \"x\"!\n")) << r.out;
}

TEST_F(Unusual, UsersUtf8MacrosMatchEveryOccurrence) {
  WriteFile(dir() / "macro.dat", "«,<<\n»,>>\n");
  const std::string arrows = Chars(0x2190, 60);
  RunResult r = Process(Lf({"Это «мир» и «дом» " + arrows}));
  EXPECT_EQ(result_, Lf({kKludge, "Это <<миp>> и <<дом>> " + arrows}));
  EXPECT_TRUE(Has(r, "Macro: 4 changes!")) << r.out;
}

TEST_F(Unusual, AKeyTheReplysCharsetCannotHoldNeverMatches) {
  WriteFile(dir() / "macro.dat", "…,...\n");
  RunResult r = Process(Crlf({Cp("Как дела?")}));
  EXPECT_EQ(result_, Crlf({kKludge, Cp("Как дела?")}));
  EXPECT_FALSE(Has(r, "Macro:")) << r.out;
}

TEST_F(Unusual, AnEndTextIsNotInsertedTwiceWhereTheReplyCannotHoldIt) {
  WriteFile(dir() / "salvetor.end", "Bye …\n");
  Process(Crlf({Cp("Привет")}));
  const std::string once = Crlf({kKludge, Cp("Пpивет"), "Bye ?"});
  EXPECT_EQ(result_, once);
  Process(once);
  EXPECT_EQ(result_, Crlf({kKludge, kKludge, Cp("Пpивет"), "Bye ?"}));
}

TEST_F(Unusual, AnAsciiReplyUnderAUtf8LocaleStaysUtf8) {
  SKIP_UNDER_WINE("the locale names the charset (Windows takes the OEM code page)");
  WriteFile(dir() / "names.dat", "Sergey,Серёжа\n");
  RunResult r = Process(Lf({"Hello, Sergey!"}), "", "LC_ALL=C.UTF-8 ");
  EXPECT_EQ(result_, Lf({kKludge, "Hello, Сеpёжа!"}));
  EXPECT_TRUE(Has(r, "Charset: UTF-8")) << r.out;
}

TEST_F(Unusual, AByteOrderMarkIsNoPartOfTheFirstLine) {
  const std::string bom = "\xEF\xBB\xBF";
  WriteFile(dir() / "names.dat", bom + "Vasily,Вася\n");
  Process(bom + Lf({"Hello, Vasily!", "Нет"}));
  EXPECT_EQ(result_, bom + Lf({kKludge, "Hello, Вася!", "Hет"}));
}

}  // namespace
