#include "textlib/tr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using shortstr::ShortStr;

// A GNU .mo catalogue of the pairs, as msgfmt lays it out (no hash table).
std::string Mo(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string out;
  auto word = [&out](std::size_t w) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((w >> (8 * i)) & 0xFF));
  };
  const std::size_t n = pairs.size(), originals = 28, translations = originals + 8 * n;
  std::size_t at = translations + 8 * n;
  word(0x950412de), word(0), word(n), word(originals), word(translations), word(0), word(0);
  std::string texts;
  for (int side = 0; side < 2; ++side) {
    for (const auto& [english, shown] : pairs) {
      const std::string& text = side == 0 ? english : shown;
      word(text.size()), word(at);
      texts += text + '\0';
      at += text.size() + 1;
    }
  }
  return out + texts;
}

class Catalogue : public ::testing::Test {
 protected:
  void TearDown() override { tr::UseCatalogue(""); }
};

TEST_F(Catalogue, TranslatesWhatItHoldsAndLeavesTheRestEnglish) {
  ASSERT_TRUE(tr::UseCatalogue(
      Mo({{"Work done.", "\x90\xA0\xA1\xAE\xE2\xA0"}, {"File %s!", "%s: \x94\xA0\xA9\xAB!"}})));
  EXPECT_EQ(tr::Tr("Work done.").Std(), "\x90\xA0\xA1\xAE\xE2\xA0");
  EXPECT_EQ(tr::Tr("Wrong file name!").Std(), "Wrong file name!");
  const tr::Text both = tr::Say("File %s!", {ShortStr("r.txt")});
  EXPECT_EQ(both.english.Std(), "File r.txt!");
  EXPECT_EQ(both.shown.Std(), "r.txt: \x94\xA0\xA9\xAB!");
}

TEST_F(Catalogue, DamagedCataloguesGiveEnglishWithoutReadingPastTheirBytes) {
  const std::string whole = Mo({{"Work done.", "Done"}});
  EXPECT_FALSE(tr::UseCatalogue("not a catalogue at all"));
  EXPECT_EQ(tr::Tr("Work done.").Std(), "Work done.");
  // Every cut before the last text's final byte (its NUL may go).
  for (std::size_t cut = 0; cut + 1 < whole.size(); ++cut) {
    tr::UseCatalogue(whole.substr(0, cut));
    EXPECT_EQ(tr::Tr("Work done.").Std(), "Work done.") << cut;
  }
  std::string wild = whole;
  wild[32] = '\x7F';  // the first text's offset far outside
  tr::UseCatalogue(wild);
  EXPECT_EQ(tr::Tr("Work done.").Std(), "Work done.");
}

TEST(Format, FillsArgumentsInOrderOrByNumber) {
  struct Case {
    const char* format;
    const char* want;
  };
  const Case cases[] = {
      {"%s to %s!", "a to b!"}, {"%2$s <- %1$s", "b <- a"},       {"100%% of %s", "100% of a"},
      {"%s %s %s", "a b "},     {"no arguments", "no arguments"}, {"trailing %", "trailing %"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tr::Format(c.format, {ShortStr("a"), ShortStr("b")}).Std(), c.want) << c.format;
}

TEST(Format, CutsAt255Characters) {
  const ShortStr long_(std::string(300, 'x'));
  const ShortStr text = tr::Format("File %s is in use!", {long_});
  EXPECT_EQ(text.len, 255);
  EXPECT_EQ(text.Std(), "File " + std::string(250, 'x'));
}

}  // namespace
