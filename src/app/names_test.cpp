#include "app/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/macros.h"
#include "textlib/lines_testing.h"

namespace names {
namespace {

using listman::List;
using shortstr::Cp866;


TEST(NameLookupTest, FirstMatchingLineWins) {
  List* table = lines::MakeLines({"; Vasily,Comment", "  ;Vasily,Indented comment", Cp866("VASILY,  Вася "),
                      "Vasily,Second", "Petr,", "Petr,Late"});
  EXPECT_EQ(NameLookup("vasily", table), Cp866("Вася"));
  EXPECT_EQ(NameLookup("Petr", table).Std(), "Petr");  // empty form ends the search
  EXPECT_EQ(NameLookup("Ivan", table).Std(), "Ivan");
  // No table line holds a name longer than 36: it comes back whole.
  EXPECT_EQ(NameLookup(std::string(40, 'n'), table).Std(), std::string(40, 'n'));
  EXPECT_EQ(NameLookup("Vasily", nullptr).Std(), "Vasily");
  listman::ListDisposeAll(table);
}

TEST(NameLookupTest, OnlyTheFirst36BytesOfALineCount) {
  List* table = lines::MakeLines({ShortStr(std::string(30, 'x') + ",abcdefghij")});
  EXPECT_EQ(NameLookup(std::string(30, 'x'), table).Std(), "abcde");
  listman::ListDisposeAll(table);
}

TEST(CyrillicToLatinTest, ThreeLettersOnly) {
  EXPECT_EQ(CyrillicToLatin(Cp866("НуриН ну")), Cp866("HypиH нy"));
}

TEST(MacroReplaceTest, NotInPlaceLeavesTheSourceAlone) {
  List* message = lines::MakeLines({"btw one", ";btw two", "", "BTW three btw"});
  List* macros = lines::MakeLines({"btw,by the way"});
  std::int32_t count = 0;
  List* result = macros::MacroReplace(message, macros, false, count);
  ASSERT_NE(result, message);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(lines::LineAt(result, 1).Std(), "by the way one");
  EXPECT_EQ(lines::LineAt(result, 2).Std(), ";btw two");
  EXPECT_EQ(lines::LineAt(result, 3).Std(), "");
  EXPECT_EQ(lines::LineAt(result, 4).Std(), "by the way three by the way");
  EXPECT_EQ(lines::LineAt(message, 1).Std(), "btw one");
  EXPECT_EQ(macros::MacroReplace(message, macros, true, count), message);
  EXPECT_EQ(lines::LineAt(message, 4).Std(), "by the way three by the way");
  for (List* l : {message, macros, result}) listman::ListDisposeAll(l);
}

}  // namespace
}  // namespace names
