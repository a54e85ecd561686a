#include "app/macros.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "console/writer.h"
#include "platform/output.h"
#include "textlib/lines_testing.h"

namespace macros {
namespace {

using shortstr::ShortStr;

// The stage as a plain search: every macro in table order, each looked for
// in the whole line as it stands.
std::vector<std::string> Plain(const std::vector<ShortStr>& message, const std::vector<ShortStr>& table, int& count) {
  count = 0;
  std::vector<std::string> out;
  for (ShortStr line : message) {
    if (line.Empty() || line.At(1) != ';') {
      for (const ShortStr& entry : table) {
        ShortStr key = shortstr::ExtractField(entry, 1);
        if (key.Empty() || !shortstr::OccursIn(shortstr::UpCaseStr(key), shortstr::UpCaseStr(line))) continue;
        int n = 0;
        if (shortstr::ReplaceAllWhole(line, key, shortstr::ExtractField(entry, 2), n)) count += n;
      }
    }
    out.push_back(line.Std());
  }
  return out;
}

TEST(MacroMatcher, GivesWhatThePlainSearchGives) {
  std::string sink;
  platform::OutCapture(&sink);
  writer::ConsoleWriter console;
  console.LogCopy = console.ErrorCopy = false;
  writer::Writer = &console;
  std::mt19937 random(7);
  const std::string letters = "abAB{}-x\x8d\xad\xe0 ";  // keys share letters, Cyrillic case too
  auto text = [&](int most) {
    std::string s;
    for (int n = static_cast<int>(random() % static_cast<unsigned>(most)); n > 0; --n) {
      s += letters[random() % letters.size()];
    }
    return s;
  };
  for (int round = 0; round < 1000; ++round) {
    std::vector<ShortStr> table, message;
    for (int j = static_cast<int>(random() % 12); j > 0; --j) {
      // Keys of 0 to 3 letters, some of up to 6 (a change is searched again around itself).
      table.push_back(ShortStr(text(random() % 4 == 0 ? 7 : 4) + "," + text(6)));
    }
    for (int i = static_cast<int>(random() % 8); i > 0; --i) message.push_back(ShortStr(text(240)));
    int want = 0, got = 0;
    const std::vector<std::string> expected = Plain(message, table, want);
    listman::List* lines = lines::MakeLines(message);
    listman::List* macros = lines::MakeLines(table);
    MacroReplace(lines, macros, true, got);
    EXPECT_EQ(lines::LineTexts(lines), expected) << round;
    EXPECT_EQ(got, want) << round;
    listman::ListDisposeAll(lines);
    listman::ListDisposeAll(macros);
  }
  writer::Writer = nullptr;
  platform::OutCapture(nullptr);
}

}  // namespace
}  // namespace macros
