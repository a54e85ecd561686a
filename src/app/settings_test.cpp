#include "app/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/option.h"

namespace settings {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { option::SetArguments({}); }
  static Settings From(std::vector<std::string> args) {
    option::SetArguments(std::move(args));
    return Read();
  }
};

TEST_F(SettingsTest, TheCommandLineReadOnce) {
  Settings s = From({"r.txt", "/F=3", "/H=2", "/cs=koi8-r", "/Key-", "-n", "/SN", "/SN-", "/macro-"});
  EXPECT_EQ(s.FilterMode, 28);  // /F=3 selects /F
  EXPECT_EQ(s.FooterSize, 3);
  EXPECT_EQ(s.HeaderSize, 2);
  EXPECT_TRUE(s.CharsetGiven);
  EXPECT_EQ(s.Charset, "koi8-r");
  EXPECT_FALSE(s.KeyWindow);
  EXPECT_TRUE(s.DryRun);
  EXPECT_FALSE(s.SaveFullName);  // /SN- wins
  EXPECT_FALSE(s.Macros);
  EXPECT_TRUE(s.Unknown.empty());
  s = From({"/F", "/F2"});
  EXPECT_EQ(s.FilterMode, 20);  // the last kind named
  s = From({"/H=0", "/F=x"});
  EXPECT_EQ(s.HeaderSize, 12);
  EXPECT_EQ(s.FooterSize, 12);
}

TEST_F(SettingsTest, UnknownOptionsOnceEachInOrder) {
  const Settings s = From({"/Zap", "-q", "/zap", "/Zap", "--dryrun", "--DIFF", "/F4", "/CS"});
  EXPECT_EQ(s.Unknown, (std::vector<std::string>{"/Zap", "-q", "/zap", "--dryrun", "--DIFF", "/F4", "/CS"}));
}

TEST_F(SettingsTest, EverySpellingOfTheTableIsKnown) {
  for (const Option& option : Options()) {
    std::string_view rest = option.names;
    while (!rest.empty()) {
      const std::size_t blank = rest.find(' ');
      std::string name(rest.substr(0, blank));
      if (option.form == Form::Value) name = name.substr(0, name.find('=') + 1) + "5";
      EXPECT_TRUE(Known(name)) << name;
      if (option.form == Form::Word) {
        EXPECT_TRUE(Known("-" + name.substr(1))) << name;
      }
      if (option.form == Form::Long && name.starts_with("--") && name != "--") {
        EXPECT_FALSE(Known(name + "x")) << name;
      }
      rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
  }
}

}  // namespace
}  // namespace settings
