#include "textlib/dates.h"

#include <gtest/gtest.h>

namespace dates {
namespace {

TEST(PackedDates, RoundTripAndEvenSeconds) {
  DateTimeRec r{1999, 8, 27, 14, 5, 9};
  std::uint32_t packed = PackDateTime(r);
  DateTimeRec back = UnpackDateTime(packed);
  EXPECT_EQ(back.Year, 1999);
  EXPECT_EQ(back.Month, 8);
  EXPECT_EQ(back.Day, 27);
  EXPECT_EQ(back.Second, 8);  // the odd second is lost
  EXPECT_EQ(DateTimeText(packed, "-", ":").Std(), "27-08-1999 14:05:08");
}

TEST(PackedDates, MissingAndOutOfRangeDates) {
  EXPECT_EQ(DateTimeText(0, "-", ":").Std(), "00-00-0000 00:00:00");
  EXPECT_EQ(PackDateTime({1979, 12, 31, 23, 59, 59}), 0u);
  EXPECT_EQ(PackDateTime({2100, 1, 1, 0, 0, 0}), 0u);
  EXPECT_NE(PackDateTime({2099, 12, 31, 23, 59, 58}), 0u);
  DateTimeRec zero = UnpackDateTime(0);
  EXPECT_EQ(zero.Year + zero.Month + zero.Day + zero.Hour + zero.Minute + zero.Second, 0);
}

TEST(DateTexts, SeparatorsAndNow) {
  std::uint32_t packed = PackDateTime({2001, 3, 5, 7, 8, 10});
  EXPECT_EQ(DateText(packed, ".").Std(), "05.03.2001");
  EXPECT_EQ(TimeText(packed, "").Std(), "070810");
  EXPECT_EQ(DateText(packed, "-----").Std(), "05----03----2001");
  ShortStr now = NowText();
  EXPECT_EQ(now.len, 19);
  EXPECT_EQ(now.At(3), '-');
  EXPECT_EQ(now.At(14), ':');
  EXPECT_EQ((now.At(19) - '0') % 2, 0);
}

}  // namespace
}  // namespace dates
