#include "textlib/charset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "textlib/units.h"

namespace charset {
namespace {

// Decode and Encode with the fixture's table while escapes are on, without
// one while they are off.
class Charsets : public ::testing::Test {
 protected:
  void TearDown() override { Off(); }
  void On() {
    table_ = EscapeTable();
    on_ = true;
    units::SetEscapes(true);
  }
  void Off() {
    on_ = false;
    units::SetEscapes(false);
  }
  EscapeTable* Table() { return on_ ? &table_ : nullptr; }
  std::string Dec(std::string_view bytes, Charset cs) { return Decode(bytes, cs, Table()); }
  std::string Enc(std::string_view text, Charset cs) { return Encode(text, cs, Table()); }
  std::string RoundTrip(const std::string& bytes, Charset cs) { return Enc(Dec(bytes, cs), cs); }
  EscapeTable table_;
  bool on_ = false;
};

std::string AllBytes() {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  return all;
}

TEST_F(Charsets, EveryByteComesBackInEverySingleByteCharset) {
  for (Charset cs : {Charset::Cp866, Charset::Koi8r, Charset::Cp1251}) {
    On();
    EXPECT_EQ(RoundTrip(AllBytes(), cs), AllBytes()) << Name(cs);
  }
  Off();
  EXPECT_EQ(Dec(AllBytes(), Charset::Cp866), AllBytes());
}

TEST_F(Charsets, Utf8ComesBackValidOrNot) {
  On();
  const std::string samples[] = {
      "Hello, \xd0\x92\xd0\xb0\xd1\x81\xd1\x8f!",                             // Вася
      "\xd1\x8d \xc2\xab\xe2\x80\x94\xc2\xbb \xf0\x9f\x98\x80 \xe2\x82\xac",  // э «—» 😀 €
      "\xe2\x94\x82 box \xe2\x95\x94",  // │ ╔: CP866 box characters
      "\xff\xfe bad \xc3( \xe0\x80\x80 \xed\xa0\x80 \xf4\x90\x80\x80 \xc0\xaf",  // invalid forms
      "cut at the end \xe2\x80",
  };
  for (const std::string& s : samples) EXPECT_EQ(RoundTrip(s, Charset::Utf8), s);
  EXPECT_EQ(RoundTrip(AllBytes(), Charset::Utf8), AllBytes());
}

TEST_F(Charsets, LettersDecodeToCp866AndTheRestToEscapeBytesOnly) {
  On();
  // Н р э Ю: the program's own letters; « and 😀 become escape bytes.
  std::string text =
      Dec("\xd0\x9d\xd1\x80\xd1\x8d\xd0\xae \xc2\xab\xf0\x9f\x98\x80", Charset::Utf8);
  ASSERT_EQ(text.size(), 9u);  // two two-byte escapes
  EXPECT_EQ(text.substr(0, 5), "\x8d\xe0\xed\x9e ");
  for (char c : text.substr(5))
    EXPECT_TRUE(static_cast<unsigned char>(c) >= 0xB0 && static_cast<unsigned char>(c) <= 0xDF);
  EXPECT_EQ(Dec("\xee\xd2\xe0", Charset::Koi8r), "\x8d\xe0\x9e");  // Н р Ю in KOI8-R
  EXPECT_EQ(Enc("H\x8d", Charset::Koi8r), "H\xee");
  Off();
  EXPECT_EQ(Dec("\xc2\xab\xd0\x9d", Charset::Utf8), "?\x8d");  // a data file for a CP866 reply
}

TEST_F(Charsets, ManyDistinctCharactersTakeLongerEscapesAndStillComeBack) {
  On();
  std::string many;
  for (unsigned cp = 0x4E00; cp < 0x4E00 + 3000; ++cp) {
    many += static_cast<char>(0xE0 | (cp >> 12));
    many += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    many += static_cast<char>(0x80 | (cp & 0x3F));
  }
  std::string text = Dec(many, Charset::Utf8);
  EXPECT_EQ(Enc(text, Charset::Utf8), many);
  EXPECT_EQ(units::Count(text), 3000u);
  // Invalid bytes after them: each takes a five-byte escape, so the text
  // grows past the bytes it came from.
  const std::string bad(200, '\xff');
  const std::string grown = Dec("\xfe\xfd" + bad, Charset::Utf8);
  EXPECT_GT(grown.size(), bad.size() + 2);
  EXPECT_EQ(Enc(grown, Charset::Utf8), "\xfe\xfd" + bad);
}

// Escapes longer than their bytes followed by plain text: the text after
// them comes through whole.
TEST_F(Charsets, TextAfterLongEscapesIsKeptWhole) {
  On();
  std::string distinct;  // past 2,432 distinct characters escapes take five bytes
  for (unsigned cp = 0x4E00; cp < 0x4E00 + 2500; ++cp) {
    distinct += static_cast<char>(0xE0 | (cp >> 12));
    distinct += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    distinct += static_cast<char>(0x80 | (cp & 0x3F));
  }
  Dec(distinct, Charset::Utf8);
  const std::string bytes = std::string(10, '\xff') + std::string(50, 'a');
  const std::string text = Dec(bytes, Charset::Utf8);
  EXPECT_EQ(text.substr(text.size() - 50), std::string(50, 'a'));
  EXPECT_EQ(Enc(text, Charset::Utf8), bytes);
}

// A table is the run's own: the same escape bytes stand for the characters
// of its own text, and a text without a table shows its bytes as CP866.
TEST_F(Charsets, EachTableKeepsItsOwnCharacters) {
  units::SetEscapes(true);
  EscapeTable first, second;
  const std::string a = Decode("\xc2\xab", Charset::Utf8, &first);       // «
  const std::string b = Decode("\xe2\x9c\x93", Charset::Utf8, &second);  // ✓
  EXPECT_EQ(a, b);  // each table's first escape
  EXPECT_EQ(Encode(a, Charset::Utf8, &first), "\xc2\xab");
  EXPECT_EQ(Encode(b, Charset::Utf8, &second), "\xe2\x9c\x93");
  EXPECT_TRUE(first.Made() && second.Made() && !EscapeTable().Made());
  EXPECT_EQ(Shown(a, &first), U"\u00AB");
  EXPECT_EQ(Writable(a, Charset::Koi8r, &first), "?");  // KOI8-R has no «
  units::SetEscapes(false);
}

TEST_F(Charsets, NamesAndControlLines) {
  Charset cs;
  const std::pair<const char*, Charset> names[] = {
      {"cp866", Charset::Cp866}, {"+7_FIDO", Charset::Cp866}, {"IbmPc", Charset::Cp866},
      {"utf8", Charset::Utf8},   {"KOI8", Charset::Koi8r},    {"windows-1251", Charset::Cp1251}};
  for (const auto& [name, want] : names) {
    ASSERT_TRUE(ByName(name, cs)) << name;
    EXPECT_EQ(cs, want) << name;
  }
  EXPECT_FALSE(ByName("EBCDIC", cs));
  EXPECT_FALSE(ByName("", cs));
  EXPECT_TRUE(
      FromControlLines("text\n\x01"
                       "CHRS: LATIN-1 2\n\x01"
                       "CHRS: KOI8-R 2\n",
                       cs));
  EXPECT_EQ(cs, Charset::Koi8r);
  EXPECT_TRUE(
      FromControlLines("\x01"
                       "CHARSET: UTF-8\r\n",
                       cs));
  EXPECT_EQ(cs, Charset::Utf8);
  EXPECT_FALSE(
      FromControlLines(" AB> \x01"
                       "CHRS: KOI8-R 2\nCHRS: UTF-8\n",
                       cs));
}

// UTF-8 as RFC 3629 has it, a character at a time.
bool ValidUtf8WithAMultiByteCharacter(std::string_view s) {
  bool multi = false;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    const std::size_t len = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    std::uint32_t cp = c & (0x7Fu >> len);
    for (std::size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = cp << 6 | (b & 0x3F);
    }
    const std::uint32_t least = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    multi = true;
    i += len;
  }
  return multi;
}

TEST_F(Charsets, Utf8TextNeedsAMultiByteCharacter) {
  EXPECT_TRUE(IsUtf8Text("\xd0\x9d"));
  EXPECT_FALSE(IsUtf8Text("plain ASCII"));
  EXPECT_FALSE(IsUtf8Text("\xd0\x9d \xff"));
  EXPECT_FALSE(IsUtf8Text("\x8d\xa0"));  // CP866
  // Mostly Cyrillic and blanks (tested eight bytes at a time), with now and
  // then a longer sequence or a broken one at any offset.
  const char* const pieces[] = {"a", " ", "\xd0\x9d", "\xd1\x80", "\xc2\xa0", "\xdf\xbf", "\xe2\x94\x80",
                                "\xf0\x9f\x98\x80", "\xc0\x80", "\xc1\xbf", "\x80", "\xd0", "\xed\xa0\x80",
                                "\xff", "\xe0\x80\x80"};
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 40); n > 0; --n)
      text += pieces[random() % 8 == 0 ? random() % std::size(pieces) : random() % 4];
    EXPECT_EQ(IsUtf8Text(text), ValidUtf8WithAMultiByteCharacter(text)) << round;
  }
}

}  // namespace
}  // namespace charset
