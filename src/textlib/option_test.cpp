#include "textlib/option.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"

namespace option {
namespace {

class Options : public ::testing::Test {
 protected:
  void TearDown() override { SetArguments(std::vector<std::string>{}); }
  void Args(std::vector<std::string> args) { SetArguments(std::move(args)); }
};

TEST_F(Options, NoArguments) {
  Args({});
  EXPECT_EQ(ParamN(1), "");
  EXPECT_FALSE(OptionPresent("/F"));
  EXPECT_EQ(OptionValue("/H="), "");
  EXPECT_EQ(CommandLine().Std(), "");
}

TEST_F(Options, PositionalArgumentsSkipOptionsAndKeepCase) {
  Args({"msg.txt", "/SN", "out.txt", "-x"});
  EXPECT_EQ(ParamN(1), "msg.txt");
  EXPECT_EQ(ParamN(0), "msg.txt");
  EXPECT_EQ(ParamN(2), "out.txt");
  EXPECT_EQ(ParamN(3), "");
  EXPECT_EQ(CommandLine().Std(), "/SN -x");  // file names add no option words
}

TEST_F(Options, AbsolutePathsAndBlanksArePositional) {
  // An absolute path: "/home/u/..." on POSIX, "C:\\..." on Windows.
  const std::string absolute = platform::NativePathsAreWindows() ? "C:\\fido\\reply.txt" : "/home/u/fido/reply.txt";
  Args({absolute, "/F", "", "My Fido/reply 2.txt"});
  EXPECT_EQ(ParamN(1), absolute);
  EXPECT_EQ(ParamN(2), "My Fido/reply 2.txt");
  EXPECT_TRUE(OptionPresent("/F"));
  // A file name is never cut, and its words are never options.
  Args({std::string(300, 'p'), "x -F y.txt", "/D"});
  EXPECT_EQ(ParamN(1), std::string(300, 'p'));
  EXPECT_EQ(ParamN(2), "x -F y.txt");
  EXPECT_FALSE(OptionPresent("/F"));
  EXPECT_TRUE(OptionPresent("/D"));
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
  EXPECT_EQ(OptionValue("/H="), "20");
  Args({"/H="});
  EXPECT_EQ(OptionValue("/H="), "");
  Args({"/Hx=20"});
  EXPECT_EQ(OptionValue("/H="), "");
  Args({"-h=Abc"});
  EXPECT_EQ(OptionValue("/H="), "Abc");
}

TEST_F(Options, LongFileNamesDoNotHideOptions) {
  for (std::size_t length : {250u, 253u, 300u, 4000u}) {
    Args({std::string(length, 'a'), "/F", "/SN"});
    EXPECT_TRUE(OptionPresent("/F")) << length;
    EXPECT_TRUE(OptionPresent("/SN")) << length;
  }
}

TEST_F(Options, LongOptionsDoNotHideOthersNorGetCut) {
  const std::string zeros(250, '0');
  Args({"r.txt", "/H=" + zeros + "5", "/F", "/CS=" + std::string(300, 'x')});
  EXPECT_TRUE(OptionPresent("/F"));
  EXPECT_EQ(OptionValue("/H="), zeros + "5");
  EXPECT_EQ(OptionValue("/CS=").size(), 300u);
}

TEST(ParamNOfLineTest, WindowsRuleUpperCasesWords) {
  EXPECT_EQ(ParamNOfLine("msg.txt /SN out.txt", 2).Std(), "OUT.TXT");
  EXPECT_EQ(ParamNOfLine("My Fido\\r.txt", 1).Std(), "MY");
  EXPECT_EQ(ParamNOfLine("-x /y", 1).Std(), "");
  EXPECT_EQ(ParamNOfLine("a b ", 3).Std(), "");
}

}  // namespace
}  // namespace option

namespace option {
namespace {

TEST(DoubleDash, EndsTheOptions) {
  SetArguments({"/F", "--", "-n", "--help", "", "/SN"});
  EXPECT_EQ(ParamN(1), "-n");
  EXPECT_EQ(ParamN(2), "--help");
  EXPECT_EQ(ParamN(3), "/SN");
  EXPECT_TRUE(OptionPresent("/F"));
  EXPECT_FALSE(OptionPresent("/SN"));
  EXPECT_FALSE(ArgumentGiven("--help"));
  EXPECT_EQ(OptionArguments(), std::vector<std::string>{"/F"});
  SetArguments({});
}

}  // namespace
}  // namespace option
