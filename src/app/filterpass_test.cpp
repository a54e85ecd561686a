#include "app/filterpass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/inserts.h"
#include "console/writer.h"
#include "filter/quote_filter.h"
#include "support/pty.h"
#include "support/stage.h"
#include "textlib/lines_testing.h"
#include "textlib/option.h"

namespace filterpass {
namespace {

using namespace quote_filter;
using shortstr::ShortStr;

class FilterStage : public support::StageTest {
 protected:
  void TearDown() override {
    StageTest::TearDown();
    option::SetArguments(std::vector<std::string>{});
  }
};

TEST_F(FilterStage, HeaderFooterAndWholeMessagePasses) {
  // 20 lines: hello at the top, bye at the bottom and in the middle, and a
  // quoted tearline in the middle that only the whole-message pass reaches.
  std::vector<ShortStr> message(20, ShortStr("text"));
  message[1] = " AB> Hello, All!";
  message[9] = " AB> Bye, middle.";
  message[10] = " AB> --- middle";
  message[18] = " AB> Bye, all.";
  run_.Text.Lines = lines::MakeLines(message);
  run_.Data.FilterList = lines::MakeLines({"\"> Hello\"", "\"> Bye\""});
  EXPECT_EQ(FilterPasses(run_.Text, run_.Data, kModeAll | kInfo, 5, 5), 3);
  std::vector<std::string> got = lines::LineTexts(run_.Text.Lines);
  ASSERT_EQ(got.size(), 17u);
  EXPECT_EQ(got[8], " AB> Bye, middle.");  // outside both windows
  EXPECT_NE(console_.find("Deleted \" AB> --- middle\" as a service info!\r\n"), std::string::npos)
      << console_;
}

TEST_F(FilterStage, TheKeyWindowChoosesTheMode) {
  struct KeyCase {
    const char* typed;
    std::int32_t mode;
  } cases[] = {{"\x1bOP", kModeService},
               {"\x1bOQ", kModePatterns},
               {"\x1bOR", kModeAll},
               {"\x1b", kModeSqueeze}};
  for (const KeyCase& c : cases) {
    support::PtyRun r = support::OnPty(
        [] {
          writer::ConsoleWriter w;
          w.LogCopy = w.ErrorCopy = false;
          writer::Writer = &w;
          option::SetArguments(std::vector<std::string>{});
          support::Ready();
          return ChooseFlags(kModeAll, settings::Read());  // /F, then the key
        },
        {{100, c.typed}});
    EXPECT_EQ(r.exitCode, c.mode) << c.typed;
  }
  option::SetArguments({"/Key-", "/SB-", "/IF"});
  EXPECT_EQ(ChooseFlags(kModeService, settings::Read()), kService | kInfo);
}

TEST(EndInsert, OnlyServiceLinesAmongTheLastFourMoveIt) {
  const std::pair<std::vector<ShortStr>, std::int32_t> cases[] = {
      {{"--- first", "a", "b", "c", "d"}, 6},  // a service line fifth from the end
      {{"text", "... tag", "--- editor", " * Origin: x"}, 2},
      {{"text", "--- editor", "more text", " * Origin: x"}, 3},
      {{" * Origin: x"}, 1},
      {{}, 1},
  };
  for (const auto& [message, position] : cases) {
    listman::List* list = lines::MakeLines(message);
    EXPECT_EQ(inserts::EndInsertPosition(list), position) << message.size();
    listman::ListDisposeAll(list);
  }
}

}  // namespace
}  // namespace filterpass
