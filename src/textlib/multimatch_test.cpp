#include "textlib/multimatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace multimatch {
namespace {

// The plain search the matcher stands for.
int PlainFirst(const std::vector<std::string>& patterns, const std::string& text) {
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    if (!patterns[k].empty() && text.find(patterns[k]) != std::string::npos) return static_cast<int>(k);
  }
  return -1;
}

std::vector<std::string_view> Views(const std::vector<std::string>& patterns) {
  return {patterns.begin(), patterns.end()};
}

TEST(Matcher, EdgeCases) {
  const std::vector<std::string> patterns = {"", "HELLO", "HE", "LLO W", "\xFF\x01", "HELLO"};
  const Matcher m(Views(patterns));
  ASSERT_TRUE(m.Usable());
  EXPECT_EQ(m.First(""), -1);
  EXPECT_EQ(m.First("XHELLOX"), 1);   // the earlier of two that occur
  EXPECT_EQ(m.First("SHE"), 2);
  EXPECT_EQ(m.First("ALLO WORLD"), 3);  // found through a failure link
  EXPECT_EQ(m.First(std::string("a\xFF\x01", 3)), 4);
  EXPECT_EQ(m.First("HALLO"), -1);
  EXPECT_FALSE(Matcher({std::string_view(std::string(9000, 'x'))}).Usable());
}

// Patterns over a small alphabet, sharing prefixes and suffixes: the
// matcher gives what the plain search gives.
TEST(Matcher, GivesWhatThePlainSearchGives) {
  std::mt19937 rng(11);
  // Texts also hold a byte no pattern has, and runs the root skips over.
  auto word = [&](std::size_t most, std::size_t letters = 4) {
    std::string w;
    for (std::size_t n = rng() % (most + 1); n > 0; --n) w.push_back("ab\xE0>c"[rng() % letters]);
    return w;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> patterns;
    for (std::size_t n = 1 + rng() % 12; n > 0; --n) patterns.push_back(word(5));
    const Matcher m(Views(patterns));
    for (int t = 0; t < 20; ++t) {
      const std::string text = word(30, 5);
      EXPECT_EQ(m.First(text), PlainFirst(patterns, text)) << text;
      std::uint64_t occurring = 0;
      for (std::size_t k = 0; k < patterns.size(); ++k) {
        if (!patterns[k].empty() && text.find(patterns[k]) != std::string::npos) occurring |= std::uint64_t{1} << k;
      }
      EXPECT_EQ(m.Occurring(text), occurring) << text;
    }
  }
}

TEST(Matcher, AMappedMatcherSearchesTheMappedText) {
  std::array<unsigned char, 256> upper{};
  for (std::size_t b = 0; b < 256; ++b) upper[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 32 : b);
  const std::vector<std::string> patterns = {"HELLO", "LO W"};
  const Matcher m(Views(patterns), upper);
  EXPECT_EQ(m.First("say hello"), 0);
  EXPECT_EQ(m.Occurring("hello world"), 3u);
  EXPECT_EQ(m.Occurring("Hallo"), 0u);
}

}  // namespace
}  // namespace multimatch
