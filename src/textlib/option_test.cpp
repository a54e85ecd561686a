#include "textlib/option.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace option {
namespace {

class Options : public ::testing::Test {
 protected:
  void TearDown() override { SetArguments(std::vector<std::string>{}); }
  void Args(std::vector<std::string> args) { SetArguments(std::move(args)); }
};

TEST_F(Options, NoArguments) {
  Args({});
  EXPECT_EQ(ParamN(1).Std(), "");
  EXPECT_FALSE(OptionPresent("/F"));
  EXPECT_EQ(OptionValue("/H=").Std(), "");
  EXPECT_EQ(CommandLine().Std(), "");
}

TEST_F(Options, PositionalArgumentsSkipOptionsAndKeepCase) {
  Args({"msg.txt", "/SN", "out.txt", "-x"});
  EXPECT_EQ(ParamN(1).Std(), "msg.txt");
  EXPECT_EQ(ParamN(0).Std(), "msg.txt");
  EXPECT_EQ(ParamN(2).Std(), "out.txt");
  EXPECT_EQ(ParamN(3).Std(), "");
  EXPECT_EQ(CommandLine().Std(), "msg.txt /SN out.txt -x");
}

TEST_F(Options, AbsolutePathsAndBlanksArePositional) {
  Args({"/home/u/fido/reply.txt", "/F", "", "My Fido/reply 2.txt"});
  EXPECT_EQ(ParamN(1).Std(), "/home/u/fido/reply.txt");
  EXPECT_EQ(ParamN(2).Std(), "My Fido/reply 2.txt");
  EXPECT_TRUE(OptionPresent("/F"));
  Args({std::string(300, 'p')});
  EXPECT_EQ(ParamN(1).len, 252);
}

struct PresentCase {
  std::vector<std::string> args;
  std::string option;
  bool present;
};

TEST_F(Options, OptionPresentIsWholeWordCaseInsensitive) {
  const PresentCase cases[] = {
      {{"-sn"}, "/SN", true},
      {{"SN"}, "/SN", false},
      {{"/SN+"}, "/SN", false},
      {{"/SN+"}, "/SN+", true},
      {{"/H=20"}, "/H", true},
      {{"/F=10"}, "/F", true},
      {{"/f2"}, "/F2", true},
      {{"/F2"}, "/F", false},
      {{"x", "/Macro-"}, "-macro-", true},
      {{"/?"}, "/?", true},
      {{"-?"}, "/?", true},
  };
  for (const PresentCase& c : cases) {
    Args(c.args);
    EXPECT_EQ(OptionPresent(c.option), c.present) << c.args[0] << " " << c.option;
  }
}

TEST_F(Options, OptionValueTakesTheFirstPrefixMatch) {
  Args({"/H=20", "/H=30"});
  EXPECT_EQ(OptionValue("/H=").Std(), "20");
  Args({"/H="});
  EXPECT_EQ(OptionValue("/H=").Std(), "");
  Args({"/Hx=20"});
  EXPECT_EQ(OptionValue("/H=").Std(), "");
  Args({"-h=Abc"});
  EXPECT_EQ(OptionValue("/H=").Std(), "Abc");
}

TEST_F(Options, WordsBeyond255BytesAreInvisibleToOptions) {
  Args({std::string(250, 'a'), "/F"});
  EXPECT_TRUE(OptionPresent("/F"));
  Args({std::string(253, 'a'), "/F"});
  EXPECT_FALSE(OptionPresent("/F"));
  Args({std::string(252, 'a'), "/SN"});
  EXPECT_FALSE(OptionPresent("/SN"));  // cut to "/S"
  EXPECT_EQ(CommandLine().len, 255);
}

TEST(ParamNOfLineTest, WindowsRuleUpperCasesWords) {
  EXPECT_EQ(ParamNOfLine("msg.txt /SN out.txt", 2).Std(), "OUT.TXT");
  EXPECT_EQ(ParamNOfLine("My Fido\\r.txt", 1).Std(), "MY");
  EXPECT_EQ(ParamNOfLine("-x /y", 1).Std(), "");
  EXPECT_EQ(ParamNOfLine("a b ", 3).Std(), "");
}

}  // namespace
}  // namespace option
