#include "filter/quote_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/lines_testing.h"
#include "textlib/textlines.h"

namespace quote_filter {
namespace {

using listman::List;
using shortstr::Cp866;
using shortstr::ShortStr;

std::string reports;
void Collect(const ShortStr& line) { reports += line.Std() + "\r\n"; }

// Runs the filter; the info reports come back, one a CR LF line.
std::string Filter(List* list, List* patterns, int first, int last, int flags) {
  reports.clear();
  QuoteFilter(list, patterns, nullptr, first, last, flags, Collect);
  return reports;
}

struct ServiceCase {
  std::string line;
  bool removed;
};

TEST(ServiceLines, MarksWithinTheFirstTwelveBytesOfQuotedLines) {
  const ServiceCase cases[] = {
      {" XY> * Origin: home station", true},
      {" * Origin: home station", false},  // not quoted
      {" XY> * ORIGIN: home", false},      // Latin I, G, N stay Latin
      {" XY> --- editor 3.0", true},
      {" XY> ... tagline text", true},
      {" XY> Hello--- ", true},            // mark starts at 11
      {" XY> Hello!!--- ", false},         // mark starts at 13
      {" XY> + Origin: other", true},
      {" XY> -+- other", true},
      {" XY>...no blank", false},
      {"AAAAAAAAAAAA> --- late quote", false},
      {"AAAAAAAAAA>---", true},   // mark starts at 12
      {"AAAAAAAAAA> ---", false},  // mark starts at 13
  };
  for (const ServiceCase& c : cases) {
    List* list = lines::MakeLines({c.line});
    Filter(list, nullptr, 1, -1, kQuoted | kService);
    EXPECT_EQ(list->Count == 0, c.removed) << c.line;
    listman::ListDisposeAll(list);
  }
}

TEST(ServiceLines, NothingExaminedWithoutTheQuotedBit) {
  List* list = lines::MakeLines({" XY> --- x"});
  Filter(list, nullptr, 1, -1, kService);
  EXPECT_EQ(list->Count, 1);
  listman::ListDisposeAll(list);
}

TEST(Patterns, NormalisedSubstringMatchAndReportNamesEntryAsStored) {
  List* patterns = lines::MakeLines({Cp866("\"привет\"")});
  List* list = lines::MakeLines({Cp866(" XY> Ну, ПРИВЕТ всем"), "keep"});
  std::string out = Filter(list, patterns, 1, -1, kQuoted | kPatterns | kInfo);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"keep"}));
  ShortStr want = ShortStr("Deleted \"") + Cp866(" XY> Ну, ПРИВЕТ всем") +
                  ShortStr("\" cause of \"") + Cp866("\"привет\"") + ShortStr("\"!\r\n");
  EXPECT_EQ(out, want.Std());
  listman::ListDisposeAll(patterns);
  listman::ListDisposeAll(list);
}

// The first entry in list order names the cause, whether the list is
// searched by its matcher or, too large for one, pattern by pattern.
TEST(Patterns, TheFirstMatchingEntryInListOrderHoweverLong) {
  for (std::size_t filler : {0u, 400u}) {
    std::vector<ShortStr> entries;
    for (std::size_t i = 0; i < filler; ++i) entries.push_back(ShortStr("\"unused pattern number " + std::to_string(i) + "\""));
    entries.push_back("\"all!\"");
    entries.push_back("\"hello\"");
    List* patterns = lines::MakeLines(entries);
    List* list = lines::MakeLines({" AB> Hello, all!", "keep"});
    const std::string out = Filter(list, patterns, 1, -1, kQuoted | kPatterns | kInfo);
    EXPECT_EQ(out, "Deleted \" AB> Hello, all!\" cause of \"\"all!\"\"!\r\n") << filler;
    EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"keep"})) << filler;
    listman::ListDisposeAll(patterns);
    listman::ListDisposeAll(list);
  }
}

TEST(Patterns, LatinCaseIsNotFolded) {
  List* patterns = lines::MakeLines({"Hello"});
  List* list = lines::MakeLines({"X> Hello all", "X> HELLO all", "X> hello all"});
  Filter(list, patterns, 1, -1, kQuoted | kPatterns);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"X> HELLO all", "X> hello all"}));
  listman::ListDisposeAll(patterns);
  listman::ListDisposeAll(list);
}

TEST(Patterns, LookAlikesMatchBothWays) {
  // "пpивeт" typed with Latin p and e matches the Cyrillic word.
  List* patterns = lines::MakeLines({ShortStr("\xAF") + ShortStr("p") + Cp866("ив") + ShortStr("e") + Cp866("т")});
  List* list = lines::MakeLines({Cp866("X> привет")});
  Filter(list, patterns, 1, -1, kQuoted | kPatterns);
  EXPECT_EQ(list->Count, 0);
  listman::ListDisposeAll(patterns);
  listman::ListDisposeAll(list);
}

TEST(Patterns, CommentsEmptyAndBlankEntries) {
  List* patterns = lines::MakeLines({";comment", "  ;comment", "\";quoted comment\"", "", "   "});
  List* list = lines::MakeLines({"X> ;comment here", "X> a b", "X> a   b"});
  Filter(list, patterns, 1, -1, kQuoted | kPatterns);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"X> ;comment here", "X> a b"}));
  listman::ListDisposeAll(patterns);
  listman::ListDisposeAll(list);
}

TEST(Window, CoversTheLinesThatStoodThereWhenThePassBegan) {
  std::vector<ShortStr> items;
  for (int i = 1; i <= 16; ++i) {
    bool service = i == 2 || i == 5 || i == 8;
    items.push_back(ShortStr(service ? "X> --- tear " : "X> text ") + shortstr::Num(i));
  }
  items[12] = "X> --- line 13";  // moves into the window but was not in it
  List* list = lines::MakeLines(items);
  Filter(list, nullptr, 1, 12, kQuoted | kService);
  EXPECT_EQ(list->Count, 13);
  EXPECT_EQ(lines::LineAt(list, 10).Std(), "X> --- line 13");
  listman::ListDisposeAll(list);
}

TEST(Window, FirstBelowOneAndLastBeyondCount) {
  List* list = lines::MakeLines({"X> --- a", "X> --- b"});
  Filter(list, nullptr, -3, 100, kQuoted | kService);
  EXPECT_EQ(list->Count, 0);
  Filter(nullptr, nullptr, 1, -1, kQuoted | kService | kSqueeze);  // no list: nothing
  listman::ListDisposeAll(list);
}

TEST(Squeeze, RunsKeepTheirFirstLineWholeListAndNoReport) {
  List* list = lines::MakeLines({"a", "", " \t", "", "", "b", "X>", "X>", "", "c", "", ""});
  std::string out = Filter(list, nullptr, 1, 1, kQuoted | kSqueeze | kInfo);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"a", "", "b", "X>", "X>", "", "c", ""}));
  EXPECT_EQ(out, "");
  listman::ListDisposeAll(list);
}

TEST(InfoMode, ServiceReportForm) {
  List* list = lines::MakeLines({" XY> --- GoldED"});
  std::string out = Filter(list, nullptr, 1, -1, kQuoted | kService | kInfo);
  EXPECT_EQ(out, "Deleted \" XY> --- GoldED\" as a service info!\r\n");
  listman::ListDisposeAll(list);
}

TEST(ExtraPatterns, AreNotUnquotedAndNeedNoPatternBit) {
  List* extra = lines::MakeLines({"\"bye\""});
  List* list = lines::MakeLines({"X> \"bye\" all", "X> bye all"});
  QuoteFilter(list, nullptr, extra, 1, -1, kQuoted);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"X> bye all"}));
  listman::ListDisposeAll(extra);
  listman::ListDisposeAll(list);
}

TEST(StripQuotePrefixTest, Examples) {
  EXPECT_EQ(textlines::StripQuotePrefix(" AB> Hi").Std(), " Hi");
  EXPECT_EQ(textlines::StripQuotePrefix(">>>text").Std(), "text");
  EXPECT_EQ(textlines::StripQuotePrefix("a>b").Std(), "b");
  EXPECT_EQ(textlines::StripQuotePrefix("").Std(), "");
  EXPECT_EQ(textlines::StripQuotePrefix("no quote").Std(), "no quote");
  EXPECT_EQ(textlines::StripQuotePrefix("123456789012>x").Std(), "123456789012>x");
  EXPECT_EQ(textlines::StripQuotePrefix("12345678901>x").Std(), "x");
  EXPECT_EQ(textlines::StripQuotePrefix("X>").Std(), "");
}

}  // namespace
}  // namespace quote_filter
