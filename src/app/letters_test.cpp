#include "app/letters.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "textlib/lines_testing.h"

namespace letters {
namespace {

using shortstr::ShortStr;

// Lines of every length up to past two blocks, the letters anywhere (the
// first and last byte too), beside bytes one off from them.
TEST(Letters, EveryHAndPOfEveryLengthAndNothingElse) {
  std::mt19937 random(11);
  const std::string bytes = "\x8d\xe0\x8c\x8e\xdf\xe1Hp a\xad";
  std::vector<ShortStr> message;
  std::vector<std::string> expected;
  int want = 0;
  for (int n = 0; n <= 40; ++n) {
    for (int round = 0; round < 4; ++round) {
      std::string line, swapped;
      for (int i = 0; i < n; ++i) {
        const char c = bytes[random() % bytes.size()];
        line += c;
        swapped += c == '\x8d' ? 'H' : c == '\xe0' ? 'p' : c;
        want += c == '\x8d' || c == '\xe0';
      }
      message.push_back(ShortStr(line));
      expected.push_back(swapped);
    }
  }
  listman::List* list = lines::MakeLines(message);
  EXPECT_EQ(LatinHAndP(list), want);
  EXPECT_EQ(lines::LineTexts(list), expected);
  listman::ListDisposeAll(list);
  EXPECT_EQ(LatinHAndP(nullptr), -1);
}

}  // namespace
}  // namespace letters
