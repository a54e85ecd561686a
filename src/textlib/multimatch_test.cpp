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
    if (!patterns[k].empty() && text.find(patterns[k]) != std::string::npos)
      return static_cast<int>(k);
  }
  return -1;
}

std::vector<std::string_view> Views(const std::vector<std::string>& patterns) {
  return {patterns.begin(), patterns.end()};
}

// The plain search of every pattern from `from` on.
std::vector<std::uint32_t> PlainOccurring(const std::vector<std::string>& patterns,
                                          const std::string& text, std::uint32_t from = 0) {
  std::vector<std::uint32_t> out;
  for (std::uint32_t k = from; k < patterns.size(); ++k) {
    if (!patterns[k].empty() && text.find(patterns[k]) != std::string::npos) out.push_back(k);
  }
  return out;
}

std::vector<std::uint32_t> Occurring(const Matcher& m, const std::string& text,
                                     std::uint32_t from = 0) {
  std::vector<std::uint32_t> out = {99};  // replaced
  m.Occurring(text, out, from);
  return out;
}

TEST(Matcher, EdgeCases) {
  const std::vector<std::string> patterns = {"", "HELLO", "HE", "LLO W", "\xFF\x01", "HELLO"};
  const Matcher m(Views(patterns));
  ASSERT_TRUE(m.Dense());
  EXPECT_EQ(m.First(""), -1);
  EXPECT_EQ(m.First("XHELLOX"), 1);  // the earlier of two that occur
  EXPECT_EQ(m.First("SHE"), 2);
  EXPECT_EQ(m.First("ALLO WORLD"), 3);  // found through a failure link
  EXPECT_EQ(m.First(std::string("a\xFF\x01", 3)), 4);
  EXPECT_EQ(m.First("HALLO"), -1);
  EXPECT_EQ(Occurring(m, "HELLO WORLD"),
            (std::vector<std::uint32_t>{1, 2, 3, 5}));  // identical ones both
  EXPECT_EQ(Occurring(m, "HELLO WORLD", 3), (std::vector<std::uint32_t>{3, 5}));
  EXPECT_EQ(Occurring(m, ""), (std::vector<std::uint32_t>{}));
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
      const auto from = static_cast<std::uint32_t>(rng() % 4);
      EXPECT_EQ(Occurring(m, text, from), PlainOccurring(patterns, text, from)) << text;
    }
  }
}

TEST(Matcher, AMappedMatcherSearchesTheMappedText) {
  std::array<unsigned char, 256> upper{};
  for (std::size_t b = 0; b < 256; ++b)
    upper[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 32 : b);
  const std::vector<std::string> patterns = {"HELLO", "LO W"};
  const Matcher m(Views(patterns), upper);
  EXPECT_EQ(m.First("say hello"), 0);
  EXPECT_EQ(Occurring(m, "hello world"), (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(Occurring(m, "Hallo"), (std::vector<std::uint32_t>{}));
}

// Any number of patterns: past a table of a million cells the automaton
// keeps only its transitions, and finds the same.
TEST(Matcher, ThousandsOfPatternsSharingPrefixesAndEndings) {
  std::mt19937 rng(7);
  std::vector<std::string> patterns;
  for (int k = 0; k < 6000; ++k) {
    std::string p = "mac";
    for (std::size_t n = 3 + rng() % 12; n > 0; --n)
      p.push_back(static_cast<char>('0' + rng() % 75));
    patterns.push_back(p + (k % 2 == 0 ? "}" : "end"));
  }
  const Matcher m(Views(patterns));
  EXPECT_FALSE(m.Dense());
  for (int t = 0; t < 200; ++t) {
    std::string text = "say ";
    for (int w = 0; w < 4; ++w) text += patterns[rng() % patterns.size()].substr(rng() % 3) + " ";
    EXPECT_EQ(m.First(text), PlainFirst(patterns, text)) << text;
    EXPECT_EQ(Occurring(m, text, 100), PlainOccurring(patterns, text, 100)) << text;
  }
}

}  // namespace
}  // namespace multimatch
