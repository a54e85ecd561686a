#include "textlib/shortstr.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

namespace shortstr {
namespace {

std::string S(const ShortStr& s) { return s.Std(); }

TEST(ShortStrPrimitives, EdgeRulesOfPosCopyDeleteInsert) {
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
  EXPECT_EQ(Pos("bc", "abcbc"), 2);
  EXPECT_EQ(S(Copy("hello", 0, 2)), "he");
  EXPECT_EQ(S(Copy("hello", 6, 2)), "");
  EXPECT_EQ(S(Copy("hello", 2, 0)), "");
  EXPECT_EQ(S(Copy("hello", 4, 99)), "lo");
  EXPECT_EQ(S(Delete("hello", 0, 2)), "hello");
  EXPECT_EQ(S(Delete("hello", 6, 1)), "hello");
  EXPECT_EQ(S(Delete("hello", 2, -1)), "hello");
  EXPECT_EQ(S(Delete("hello", 4, 99)), "hel");
  EXPECT_EQ(S(Insert("X", "abc", 0)), "Xabc");
  EXPECT_EQ(S(Insert("X", "abc", 99)), "abcX");
  EXPECT_EQ(S(Insert("X", "abc", 2)), "aXbc");
}

TEST(ShortStrLimits, GrowthIsCutAt255) {
  ShortStr big(std::string(300, 'a'));
  EXPECT_EQ(big.len, 255);
  EXPECT_EQ(Insert("XYZ", big, 1).len, 255);
  EXPECT_EQ(Insert("XYZ", big, 1).At(1), 'X');
  EXPECT_EQ((big + ShortStr("b")).len, 255);
  int count = 0;
  ShortStr grown = ReplaceAll(big, "a", "bb", count);
  EXPECT_EQ(grown.len, 255);
  EXPECT_LE(count, 1000);
  EXPECT_EQ(big.At(0), 0);
  EXPECT_EQ(big.At(256), 0);
}

TEST(ExtractWordTest, TrailingDelimitersGiveOneMoreEmptyWord) {
  int n = 3;
  EXPECT_EQ(S(ExtractWord("a b ", n, BlankSet())), "");
  EXPECT_EQ(n, 3);
  n = 4;
  EXPECT_EQ(S(ExtractWord("a b ", n, BlankSet())), "");
  EXPECT_EQ(n, -1);
  n = 1;
  ExtractWord("", n, BlankSet());
  EXPECT_EQ(n, -1);
  n = 0;
  ExtractWord("a", n, BlankSet());
  EXPECT_EQ(n, -1);
  n = 2;
  EXPECT_EQ(S(ExtractWord("  x   y", n, BlankSet())), "y");
}

TEST(ExtractWordTest, TokenAndBlankWords) {
  EXPECT_EQ(S(ExtractToken("from/to; x", 2)), "to");
  EXPECT_EQ(S(ExtractToken("from/to; x", 3)), "x");
  EXPECT_EQ(S(ExtractBlankWord("   \t ", 1)), "");
  EXPECT_EQ(S(ExtractBlankWord("a,b c", 1)), "a,b");
}

struct FieldCase {
  std::string text;
  int n;
  std::string want;
};

TEST(ExtractFieldTest, SeparatorsAndQuoting) {
  const FieldCase cases[] = {
      {"a;;b", 2, ""},
      {"a;;b", 3, "b"},
      {"a,", 1, "a"},
      {"a,", 2, ""},
      {"\"a,b\";c", 1, "a,b"},
      {"\"a,b\";c", 2, "c"},
      {"Vasily,Вася", 2, "Вася"},
      {" x , y ", 2, " y "},
      {"\"quoted\"", 1, "quoted"},
      {"\"open,still", 1, "open,still"},
      {"a,\"", 2, ""},
      {"", 1, ""},
      {"one", 2, ""},
  };
  for (const FieldCase& c : cases) {
    EXPECT_EQ(S(ExtractField(c.text, c.n)), c.want) << c.text << " #" << c.n;
  }
}

TEST(UnquoteTest, RemovesOnePairOnly) {
  EXPECT_EQ(S(Unquote("\"ab\"")), "ab");
  EXPECT_EQ(S(Unquote("\"\"\"\"")), "\"\"");
  EXPECT_EQ(S(Unquote("\"")), "\"");
  EXPECT_EQ(S(Unquote("\"ab")), "\"ab");
}

TEST(CaseMapping, Cp866LettersChangeYoAndGraphicsStay) {
  // "абвпрстя" / "АБВПРСТЯ"
  EXPECT_EQ(UpCaseStr(Cp866("Hello, абвпрстя")), Cp866("HELLO, АБВПРСТЯ"));
  EXPECT_EQ(LoCaseStr(Cp866("HELLO, АБВПРСТЯ")), Cp866("hello, абвпрстя"));
  for (unsigned c : {0xF0u, 0xF1u, 0xB0u, 0xC4u, 0xDBu, 0xFEu, 0xF9u}) {
    EXPECT_EQ(UpCaseChar(static_cast<unsigned char>(c)), c);
    EXPECT_EQ(LoCaseChar(static_cast<unsigned char>(c)), c);
  }
  EXPECT_EQ(UpCaseChar(0xE0), 0x90);  // р -> Р
  EXPECT_EQ(LoCaseChar(0x9F), 0xEF);  // Я -> я
}

TEST(Recoding, Cp866AndWindows1251BothWays) {
  EXPECT_EQ(RecodeChar(0x80, 1), 0xC0);
  EXPECT_EQ(RecodeChar(0xAF, 1), 0xEF);
  EXPECT_EQ(RecodeChar(0xE0, 1), 0xF0);
  EXPECT_EQ(RecodeChar(0xB0, 1), 0xB0);
  EXPECT_EQ(RecodeChar(0xB9, 2), 0x23);
  EXPECT_EQ(RecodeChar(0xC0, 2), 0x80);
  EXPECT_EQ(RecodeChar(0xFF, 2), 0xEF);
  EXPECT_EQ(RecodeChar(0x80, 3), 0x80);
  EXPECT_EQ(RecodeStr(RecodeStr(Cp866("Привет"), 1), 2), Cp866("Привет"));
}

TEST(PairReplaceTest, LatinLookAlikesFoldToCyrillic) {
  EXPECT_EQ(LatinToCyrillic().len, 28);
  // Н, е and о become Cyrillic; the two l letters stay Latin.
  ShortStr folded = PairReplace("Hello", LatinToCyrillic());
  EXPECT_EQ(folded.At(1), 0x8D);
  EXPECT_EQ(folded.At(2), 0xA5);
  EXPECT_EQ(folded.At(3), 'l');
  EXPECT_EQ(folded.At(5), 0xAE);
  EXPECT_EQ(S(PairReplace("abc", "abbc")), "ccc");  // later pairs act on results
  EXPECT_EQ(S(PairReplace("abc", "abX")), "bbc");   // odd byte ignored
}

TEST(SearchAndTrim, PosNthTrimDeleteChars) {
  EXPECT_EQ(PosNth("aa", "aaaa", 2), 2);
  EXPECT_EQ(PosNth("aa", "aaaa", 0), 1);
  EXPECT_EQ(PosNth("aa", "aaaa", 4), 0);
  EXPECT_EQ(S(Trim(" \t\r\n ")), "");
  EXPECT_EQ(S(Trim("\t a b \r")), "a b");
  EXPECT_EQ(S(TrimLeft("  a ")), "a ");
  EXPECT_EQ(S(TrimRight("  a \n")), "  a");
  EXPECT_EQ(S(DeleteChars("a..b", CharSet("."))), "ab");
  EXPECT_EQ(S(RemoveSpaces(" a\tb c ")), "a\tbc");
  for (const char* text : {"~~~x", "~ab", "plain"}) {  // the largest count acts as 255, no overflow
    EXPECT_EQ(TildeCopy(text, 1, 2147483647), TildeCopy(text, 1, 255)) << text;
  }
  EXPECT_EQ(S(RepeatChar('-', 3)), "---");
  EXPECT_EQ(RepeatChar('-', 300).len, 255);
  EXPECT_TRUE(OccursIn("b", "abc"));
  EXPECT_FALSE(OccursIn("B", "abc"));
}

struct ReplaceCase {
  std::string text, find, repl, want;
  int count;
};

TEST(ReplaceAllTest, CaseInsensitiveAndAlwaysEnds) {
  const ReplaceCase cases[] = {
      {"Hello HELLO", "hello", "bye", "bye bye", 2},
      {"aab", "ab", "b", "b", 2},
      {"BTW, see below", "btw", "by the way", "by the way, see below", 1},
      {"x", "", "y", "x", 0},
      {"btw btw", "btw", "by the way (btw)", "by the way (btw) by the way (btw)", 2},
      {"aa", "a", "A", "AA", 2},
      {"abc", "z", "y", "abc", 0},
  };
  for (const ReplaceCase& c : cases) {
    int count = -1;
    EXPECT_EQ(S(ReplaceAll(c.text, c.find, c.repl, count)), c.want) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
  }
  EXPECT_EQ(S(ReplaceText("Line %1 of %2", "%1", "3")), "Line 3 of %2");
}

// The whole-text form keeps the upper-cased copy it is given in step, and
// changes neither when a replacement would pass 255 bytes.
TEST(ReplaceAllTest, WholeFormKeepsTheUpperCaseInStep) {
  for (const ReplaceCase& c : {ReplaceCase{"btw, Btw", "BTW", "by the way", "by the way, by the way", 2},
                               ReplaceCase{"x {b} y", "{b}", "{b}{b}", "x {b}{b} y", 1}}) {
    ShortStr text(c.text), upper = UpCaseStr(text);
    int count = -1;
    ASSERT_TRUE(ReplaceAllWhole(text, upper, PrepareReplacement(c.find, c.repl), count)) << c.text;
    EXPECT_EQ(S(text), c.want);
    EXPECT_EQ(upper, UpCaseStr(text));
    EXPECT_EQ(count, c.count);
  }
  ShortStr text(std::string(250, 'a') + " btw"), upper = UpCaseStr(text);
  int count = -1;
  EXPECT_FALSE(ReplaceAllWhole(text, upper, PrepareReplacement("btw", "by the way"), count));
  EXPECT_EQ(text.len, 254);
  EXPECT_EQ(upper, UpCaseStr(text));
  EXPECT_EQ(count, 0);
  // A character of two bytes made two characters of one byte: as long in
  // bytes, one character longer each time.
  units::SetEscapes(true);
  const std::string escape = "\xB0\xC0", letters(252, 'a');
  for (const auto& [tail, fits] : {std::pair{escape, true}, std::pair{escape + escape, false}}) {
    const ShortStr before(letters + tail);
    ShortStr grown = before, grownUpper = UpCaseStr(before);
    count = -1;
    EXPECT_EQ(ReplaceAllWhole(grown, grownUpper, PrepareReplacement(ShortStr(escape), "xy"), count), fits);
    EXPECT_EQ(count, fits ? 1 : 0);
    EXPECT_EQ(grown, fits ? ShortStr(letters + "xy") : before);
    EXPECT_EQ(grownUpper, UpCaseStr(grown));
  }
  units::SetEscapes(false);
}

// ReplaceAll as it is defined: after each replacement the search starts
// again at the start of the text, or after the inserted text when that
// holds the key; case is ignored.
std::string PlainReplaceAll(std::string text, const std::string& key, const std::string& with, int& count) {
  auto upper = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  count = 0;
  const bool onward = upper(with).find(upper(key)) != std::string::npos;
  for (std::size_t from = 0; count < 1000 && from < text.size();) {
    const std::size_t at = upper(text).find(upper(key), from);
    if (at == std::string::npos) break;
    text.replace(at, key.size(), with);
    ++count;
    from = onward ? at + with.size() : 0;
  }
  return text;
}

TEST(ReplaceAllTest, WholeFormFindsWhatASearchFromTheStartFinds) {
  std::mt19937 random(3);
  auto word = [&](std::size_t most) {
    std::string w;
    for (std::size_t n = random() % most; n > 0; --n) w += "aAb"[random() % 3];
    return w;
  };
  for (int round = 0; round < 5000; ++round) {
    const std::string text = word(30), key = word(4) + "a", with = word(5);
    int want = 0;
    const std::string expected = PlainReplaceAll(text, key, with, want);
    ShortStr got(text), upper = UpCaseStr(got);
    int count = -1;
    // A result past 255 characters (a replacement that makes the key again
    // runs to 1,000) leaves the text as it was.
    const bool fits = expected.size() <= 255;
    EXPECT_EQ(ReplaceAllWhole(got, upper, PrepareReplacement(ShortStr(key), ShortStr(with)), count), fits);
    EXPECT_EQ(S(got), fits ? expected : text) << text << " " << key << " " << with;
    EXPECT_EQ(count, fits ? want : 0) << text << " " << key << " " << with;
    EXPECT_EQ(upper, UpCaseStr(got));
  }
}

TEST(TildeCopyTest, LeadingTildesRule) {
  EXPECT_EQ(S(TildeCopy("~", 1, 5)), "");
  EXPECT_EQ(S(TildeCopy("~~ab", 1, 3)), "~~");
  EXPECT_EQ(S(TildeCopy("hello", 1, 3)), "hel");
  EXPECT_EQ(S(TildeCopy("~ab", 1, 5)), "~a");
  EXPECT_EQ(S(TildeCopy("hello", 3, 2)), "ll");
  EXPECT_EQ(S(TildeCopy("", 1, 3)), "");
}

TEST(Numbers, StrToRealWholeTextOnly) {
  EXPECT_EQ(StrToReal("20"), 20);
  EXPECT_EQ(StrToReal("  3.9"), 3.9);
  EXPECT_EQ(StrToReal("-5"), -5);
  EXPECT_EQ(StrToReal("1e3"), 1000);
  EXPECT_EQ(StrToReal("2147483648"), 2147483648.0);
  EXPECT_EQ(StrToReal("abc"), 0);
  EXPECT_EQ(StrToReal("12x"), 0);
  EXPECT_EQ(StrToReal("12 "), 0);
  EXPECT_EQ(StrToReal(""), 0);
  EXPECT_EQ(StrToReal("."), 0);
  EXPECT_EQ(StrToReal("1e"), 0);
  EXPECT_EQ(StrToReal("1e999"), 0);
}

TEST(Numbers, NumTextZeroPadAndDash) {
  EXPECT_EQ(S(NumText(1, 42)), "42");
  EXPECT_EQ(S(NumText(5, 42)), "   42");
  EXPECT_EQ(S(NumText(3, 33.333)), " 33");
  EXPECT_EQ(S(NumText(1, 2.5)), "3");
  EXPECT_EQ(S(NumText(1, -2.5)), "-3");
  EXPECT_EQ(S(ZeroPad(2, 5)), "05");
  EXPECT_EQ(S(ZeroPad(2, 123)), "123");
  EXPECT_EQ(S(ZeroPad(4, -5)), "00-5");
  EXPECT_EQ(S(NumTextOrDash(5, 0, 6543210987602837504.0)), "  -  ");
  EXPECT_EQ(S(NumTextOrDash(4, 0, -6543210987602837504.0)), " -- ");
  EXPECT_EQ(S(NumTextOrDash(1, 0, 6543210987602837504.0)), "-");
  EXPECT_EQ(S(NumTextOrDash(6, 2, 3.14159)), "  3.14");
  EXPECT_EQ(S(NumTextOrDash(3, 0, 50)), " 50");
}

TEST(Numbers, HexTexts) {
  EXPECT_EQ(S(HexStr8(255)), "000000FF");
  EXPECT_EQ(S(FormatSegOfs(0x0001A2B3)), "0001:A2B3");
  EXPECT_EQ(HexVal("1F"), 31);
  EXPECT_EQ(HexVal("1f"), 16);
  EXPECT_EQ(HexVal(""), 0);
  EXPECT_EQ(HexVal("000000FFFF"), 0xFF);  // only the first 8 bytes count
  EXPECT_EQ(ParseSegOfs("0040:1A2B"), 0x40u * 16 + 0x1A2B);
  EXPECT_EQ(ParseSegOfs("1A2B9"), 0x1A2Bu);
  EXPECT_EQ(ParseSegOfs("0001:0010xyz"), 16u + 0x10);
  EXPECT_TRUE(HasFlags(0x414, 0x404));
  EXPECT_FALSE(HasFlags(0x14, 0x404));
}

}  // namespace
}  // namespace shortstr
