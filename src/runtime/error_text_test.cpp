#include "runtime/error_text.h"

#include <gtest/gtest.h>

namespace error_text {
namespace {

using shortstr::Cp866;

TEST(ErrorTextTest, CodesTheProgramReportsHaveTextsOfTheirOwn) {
  // The codes a failed load or write can show, and the fatal ones.
  for (int code : {2, 3, 5, 100, 101, 200, 203, 204, 214, 216}) {
    const shortstr::ShortStr text = ErrorText(code);
    EXPECT_NE(text, Cp866("Ошибка #") + shortstr::Num(code)) << code;
    EXPECT_GT(text.len, 0) << code;
  }
  EXPECT_NE(ErrorText(2), ErrorText(5));
  EXPECT_EQ(ErrorText(1107), ErrorText(1102));  // one text for both codes
}

TEST(ErrorTextTest, EveryOtherCodeGetsTheDefaultText) {
  for (int code : {0, 206, 217, 32, 906, 7, 1004, 1105}) {
    EXPECT_EQ(ErrorText(code), Cp866("Ошибка #") + shortstr::Num(code)) << code;
  }
  EXPECT_EQ(ErrorText(-2), Cp866("Ошибка #-2"));
  EXPECT_EQ(ErrorText(-2147483647 - 1), Cp866("Ошибка #-2147483648"));
}

}  // namespace
}  // namespace error_text
