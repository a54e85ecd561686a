#include "app/reply.h"

#include <gtest/gtest.h>

namespace reply {
namespace {

using charset::Charset;

TEST(ChooseCharsetTest, OptionThenControlLineThenUtf8ThenLocaleThenCp866) {
  const std::string_view koi = "KOI8-R", bad = "EBCDIC";
  struct Case {
    std::string_view bytes;
    const std::string_view* option;
    std::string_view locale;
    Charset want;
  } cases[] = {
      {"\x01" "CHRS: CP1251 2\n\xd0\x9d", &koi, "UTF-8", Charset::Koi8r},
      {"\x01" "CHRS: CP1251 2\n\xd0\x9d", nullptr, "UTF-8", Charset::Cp1251},
      {"\xd0\x9d", nullptr, "KOI8-R", Charset::Utf8},
      {"\xee", nullptr, "KOI8-R", Charset::Koi8r},
      {"\xee", nullptr, "CP1251", Charset::Cp1251},
      {"\xee", nullptr, "UTF-8", Charset::Cp866},
      {"\xee", nullptr, "ANSI_X3.4-1968", Charset::Cp866},
  };
  for (const Case& c : cases) {
    Charset got;
    ASSERT_TRUE(ChooseCharset(c.bytes, c.option, c.locale, got)) << c.bytes;
    EXPECT_EQ(got, c.want) << c.bytes << " " << c.locale;
  }
  Charset got;
  EXPECT_FALSE(ChooseCharset("", &bad, "", got));
}

}  // namespace
}  // namespace reply
