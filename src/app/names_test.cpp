#include "app/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/datafiles.h"
#include "app/macros.h"
#include "support/stage.h"
#include "textlib/lines_testing.h"

namespace names {
namespace {

using listman::List;
using shortstr::Cp866;
using shortstr::ShortStr;

TEST(NameLookupTest, FirstMatchingLineWins) {
  List* table = lines::MakeLines({"; Vasily,Comment", "  ;Vasily,Indented comment",
                                  Cp866("VASILY,  Вася "), "Vasily,Second", "Petr,", "Petr,Late"});
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

// The name stage in process: templates, names and the message as given;
// the console lines it prints are collected.
class NameStage : public support::StageTest {
 protected:
  std::vector<std::string> Change(const std::vector<ShortStr>& templates,
                                  const std::vector<ShortStr>& table,
                                  const std::vector<ShortStr>& message,
                                  bool keepReceiverLines = false) {
    run_.Data.Clear();
    run_.Text.Clear();
    console_.clear();
    run_.Data.ConfigLines = lines::MakeLines(templates);
    datafiles::SplitTemplates(run_.Data.ConfigLines, run_.Data.TemplateBefore,
                              run_.Data.TemplateAfter);
    run_.Data.NamesTable = lines::MakeLines(table);
    run_.Text.Lines = lines::MakeLines(message);
    run_.Totals.NamesChanged =
        ChangeNames(run_.Text, run_.Data, {run_.Options.SaveFullName, keepReceiverLines});
    return lines::LineTexts(run_.Text.Lines);
  }
};

struct TemplateCase {
  std::string config, line;
  bool saveFullName;
  std::string want;
  int changes;
};

TEST_F(NameStage, TemplatesFindTheNameBetweenTheirTexts) {
  const TemplateCase cases[] = {
      {"Hello, @Name!", "Hello, Vasily!", false, "Hello, Vasya!", 1},
      {"Hello, @Name!", "Hello,  Vasily  !", false, "Hello,  Vasya  !", 1},  // blanks stay
      {"Hi @Name", "Hi Vasily Pupkin, bye", false, "Hi Vasya, bye", 1},      // the comma ends it
      {"Hi @Name", "Hi Vasily Pupkin, bye", true, "Hi Vasya Pupkin, bye", 1},
      {"Dear @Name, hello", "Dear Vasily, hello", false, "Dear Vasya, hello", 1},
      {"Hello@Name", "Hello, Vasily!", false, "Hello, Vasya!", 1},  // delimiters skipped
      {"Hello, @Name!", "Hi! Hello, Vasily!", false, "Hi! Hello, Vasya!", 1},
      {"Hello, @Name!", "Hello, Ivan Pupkin!", false, "Hello, Ivan Pupkin!", 0},
      {"Hello, @Name!", "Hello, Pupkin Vasily!", false, "Hello, Vasya!", 1},
      {"Hello, @Name!", "Hello, Pupkin Vasily!", true, "Hello, Pupkin Vasya!", 1},
      {"Hello, @Name!", "Hello, !", false, "Hello, !", 0},
      {";Hello, @Name!", "Hello, Vasily!", false, "Hello, Vasily!", 0},
      {"Hello, @Name!", "hello, Vasily!", false, "hello, Vasily!",
       0},  // the before-text's case counts
  };
  for (const TemplateCase& c : cases) {
    run_.Options.SaveFullName = c.saveFullName;
    EXPECT_EQ(Change({c.config}, {"Vasily,Vasya"}, {c.line}), std::vector<std::string>{c.want})
        << c.line;
    EXPECT_EQ(run_.Totals.NamesChanged, c.changes) << c.line;
  }
}

// Templates in order, each on the line as the ones before left it; past 64
// templates the stage looks for them one by one, with the same result.
TEST_F(NameStage, TemplatesApplyInOrderHoweverMany) {
  for (std::size_t filler : {0u, 70u}) {
    std::vector<ShortStr> config;
    for (std::size_t i = 0; i < filler; ++i)
      config.push_back(ShortStr("Unused" + std::to_string(i) + " @Name"));
    config.push_back("Hi @Name and");
    config.push_back("and @Name.");
    config.push_back("Hi Vasya and @Name.");  // holds after the first change only
    config.push_back(";and @Name.");
    EXPECT_EQ(Change(config, {"Vasily,Vasya", "Petr,Petya"}, {"Hi Vasily and Petr."}),
              std::vector<std::string>{"Hi Vasya and Petya."})
        << filler;
    EXPECT_EQ(run_.Totals.NamesChanged, 2) << filler;
  }
}

TEST_F(NameStage, QuotedLinesThatOnlyRepeatTheReceiverGo) {
  const std::vector<ShortStr> message = {"Hello, Vasily!",
                                         "text",
                                         " VP> Vasily.",
                                         "Vasily",
                                         " VP> Vasily wrote a long letter about it",
                                         " VP> Vasya"};
  EXPECT_EQ(Change({"Hello, @Name!"}, {"Vasily,Vasya"}, message),
            (std::vector<std::string>{"Hello, Vasya!", "text", "Vasily",
                                      " VP> Vasily wrote a long letter about it"}));
  EXPECT_NE(console_.find("Deleted \" VP> Vasily.\" cause of \"Vasily\"!\r\n"), std::string::npos)
      << console_;
  EXPECT_EQ(Change({"Hello, @Name!"}, {"Vasily,Vasya"}, message, true).size(), message.size());
}

// The stage reads the names table once, into an index: comments, the first
// line of a name, an empty form and the 36-byte limit as the table is read
// line by line.
TEST_F(NameStage, TheTableIsReadAsLineByLine) {
  const std::vector<ShortStr> table = {"; Ivan,Comment",
                                       "  ;Petr,Indented comment",
                                       "IVAN,  Vanya ",
                                       "Ivan,Second",
                                       "Oleg,",
                                       "Oleg,Late",
                                       ShortStr(std::string(30, 'x') + ",abcdefghij"),
                                       "Gleb",
                                       "Anna,Anya"};
  const std::pair<std::string, std::string> cases[] = {
      {"ivan", "Vanya"},      {"Petr", "Petr"},
      {"Oleg", "Oleg"},       {"Gleb", "Gleb"},
      {"anna", "Anya"},       {"Nobody", "Nobody"},
      {"Comment", "Comment"}, {std::string(30, 'x'), "abcde"},
  };
  for (const auto& [name, form] : cases) {
    EXPECT_EQ(Change({"Hi @Name!"}, table, {ShortStr("Hi " + name + "!")}),
              std::vector<std::string>{"Hi " + form + "!"})
        << name;
  }
}

// A quoted line is measured with its quote prefix, outer blanks and dots
// gone: a text with a short first word goes only when it is no longer than
// the receiver's name and stands in it.
TEST_F(NameStage, QuotedTextsAreMeasuredWithoutPrefixBlanksAndDots) {
  const std::vector<ShortStr> message = {
      "Hello, Al Ivanovich Pupkin!",
      " AP> A.l. Ivanovich Pupkin",   // 19 bytes, as long as the name: goes
      " AP> Al Ivanovich Pupkin!",    // 20: stays
      " AP>  Al Ivanovich  ",         // goes
      " AP> Al Ivanovic",             // a short text: its first word is in the name
      " AP> Al wrote this at last"};  // stays
  EXPECT_EQ(Change({"Hello, @Name!"}, {"Vasily,Vasya"}, message),
            (std::vector<std::string>{"Hello, Al Ivanovich Pupkin!", " AP> Al Ivanovich Pupkin!",
                                      " AP> Al wrote this at last"}));
  EXPECT_NE(console_.find("cause of \"Al Ivanovich Pupkin\"!"), std::string::npos) << console_;
  EXPECT_NE(console_.find("Deleted \" AP> Al Ivanovic\" cause of \"Al\"!"), std::string::npos)
      << console_;
}

}  // namespace
}  // namespace names
