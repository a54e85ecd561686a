#include "runtime/error_text.h"

#include <gtest/gtest.h>

namespace error_text {
namespace {

using shortstr::Cp866;

TEST(ErrorTextTest, TableTextsAreExactCp866) {
  EXPECT_EQ(ErrorText(2), Cp866("Файл не найден"));
  EXPECT_EQ(ErrorText(5), Cp866("Отказано в доступе к файлу"));
  EXPECT_EQ(ErrorText(161), Cp866("Ошибка чиения с устройства"));
  EXPECT_EQ(ErrorText(216), Cp866("Ошибка защищенного режима(\"Exception 13\")"));
  EXPECT_EQ(ErrorText(1107), ErrorText(1102));
  EXPECT_EQ(ErrorText(205).len, 44);  // the longest text
  EXPECT_EQ(ErrorText(2).At(1), 0x94);  // Ф in CP866
}

TEST(ErrorTextTest, EveryOtherCodeGetsTheDefaultText) {
  for (int code : {0, 206, 217, 32, 906, 7, 1004, 1105}) {
    EXPECT_EQ(ErrorText(code), Cp866("Ошибка #") + shortstr::Num(code)) << code;
  }
  EXPECT_EQ(ErrorText(-2), Cp866("Ошибка #-2"));
  EXPECT_EQ(ErrorText(-2147483647 - 1).len, 8 + 11);
}

}  // namespace
}  // namespace error_text
