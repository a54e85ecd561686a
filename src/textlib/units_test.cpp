#include "textlib/units.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/utf8.h"
#include "textlib/charset.h"
#include "textlib/multimatch.h"
#include "textlib/shortstr.h"

namespace units {
namespace {

class Units : public ::testing::Test {
 protected:
  void TearDown() override { SetEscapes(false); }
};

TEST_F(Units, LengthsCountWholeEscapes) {
  struct Case {
    bool escapes;
    std::string text;
    std::size_t count, headOf2;
  };
  const Case cases[] = {
      {false, "\xB0\xC0\xBF", 3, 2},  // box drawing bytes of a CP866 run
      {true,
       "a\xB0\xC0"
       "b",
       3, 3},  // a two-byte escape
      {true,
       "\xBC\xC0\xDF"
       "ab",
       3, 4},  // three bytes
      {true,
       "\xBE\xC0\xC1\xC2\xC3"
       "a",
       2, 6},  // five bytes
      {true,
       "\xBE\xC0\xC1"
       "a",
       2, 4},  // trails always go with the byte before
      {true,
       "\xC5\xC5"
       "a",
       2, 3},  // but a text's first byte starts a character
  };
  for (const Case& c : cases) {
    SetEscapes(c.escapes);
    EXPECT_EQ(Count(c.text), c.count) << c.text;
    EXPECT_EQ(Head(c.text, 2), c.headOf2) << c.text;
  }
}

// Characters whose escapes take two, three and five bytes, and plain ones:
// every search of the program finds a pattern of them where the characters
// stand, never inside or across one.
TEST_F(Units, SearchesFindWholeCharactersOnly) {
  SetEscapes(true);
  charset::EscapeTable table;
  std::string warm;
  for (char32_t c = 0x4E00; c < 0x4E00 + 3000; ++c) warm += support::Utf8(std::u32string(1, c));
  charset::Decode(warm, charset::Charset::Utf8, &table);  // ids up to 3,000: every escape length
  std::vector<char32_t> pool = {U'a', U' ', U'>'};
  for (char32_t c : {0x4E00, 0x4E01, 0x4E1F, 0x4E20, 0x4E21, 0x4E7F, 0x4E80, 0x4F7F, 0x5300, 0x5301,
                     0x5380, 0x5381})
    pool.push_back(c);
  auto decode = [&table](const std::u32string& s) {
    return charset::Decode(support::Utf8(s), charset::Charset::Utf8, &table);
  };
  std::mt19937 rng(5);
  auto pick = [&] {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
  };
  for (int round = 0; round < 400; ++round) {
    std::u32string text, pattern;
    for (int i = 0; i < 30; ++i) text += pick();
    for (int i = 0, n = 1 + round % 2; i < n; ++i) pattern += pick();
    const shortstr::ShortStr t(decode(text)), p(decode(pattern));
    const std::size_t want = text.find(pattern);
    // Pos: the byte position found is that of the character found.
    const int at = shortstr::Pos(p, t);
    EXPECT_EQ(at == 0, want == std::u32string::npos);
    if (at > 0) {
      EXPECT_EQ(Count(t.View().substr(0, static_cast<std::size_t>(at - 1))), want);
    }
    // ReplaceAll counts the occurrences of a pattern that its replacement lacks.
    int count = 0, wantCount = 0;
    for (std::size_t from = 0; (from = text.find(pattern, from)) != std::u32string::npos;
         from += pattern.size())
      ++wantCount;
    shortstr::ReplaceAll(t, p, "#", count);
    EXPECT_EQ(count, wantCount);
    // The matcher of the quote filter and the name stage.
    const multimatch::Matcher m({p.View()});
    EXPECT_EQ(m.First(t.View()) == 0, want != std::u32string::npos);
  }
}

}  // namespace
}  // namespace units
