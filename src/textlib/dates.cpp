#include "textlib/dates.h"

#include "platform/clock.h"

namespace dates {

using namespace shortstr;

DateTimeRec UnpackDateTime(std::uint32_t packed) {
  DateTimeRec r;
  if (packed == 0) return r;
  r.Year = static_cast<std::uint16_t>(1980 + (packed >> 25));
  r.Month = (packed >> 21) & 0x0F;
  r.Day = (packed >> 16) & 0x1F;
  r.Hour = (packed >> 11) & 0x1F;
  r.Minute = (packed >> 5) & 0x3F;
  r.Second = static_cast<std::uint16_t>((packed & 0x1F) * 2);
  return r;
}

std::uint32_t PackDateTime(const DateTimeRec& r) {
  if (r.Year < 1980 || r.Year > 2099) return 0;
  return (static_cast<std::uint32_t>(r.Year - 1980) << 25) | (std::uint32_t{r.Month} << 21) |
         (std::uint32_t{r.Day} << 16) | (std::uint32_t{r.Hour} << 11) |
         (std::uint32_t{r.Minute} << 5) | (r.Second / 2u);
}

void GetDateNow(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day) {
  platform::LocalTime t = platform::LocalNow();
  year = static_cast<std::uint16_t>(t.Year);
  month = static_cast<std::uint16_t>(t.Month);
  day = static_cast<std::uint16_t>(t.Day);
}

void GetTimeNow(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second,
                std::uint16_t& hundredths) {
  platform::LocalTime t = platform::LocalNow();
  hour = static_cast<std::uint16_t>(t.Hour);
  minute = static_cast<std::uint16_t>(t.Minute);
  second = static_cast<std::uint16_t>(t.Second > 59 ? 59 : t.Second);
  hundredths = static_cast<std::uint16_t>(t.Millisecond / 10);
}

std::uint32_t NowPacked() {
  DateTimeRec r;
  std::uint16_t hundredths = 0;
  GetDateNow(r.Year, r.Month, r.Day);
  GetTimeNow(r.Hour, r.Minute, r.Second, hundredths);
  return PackDateTime(r);
}

ShortStr DateText(std::uint32_t packed, const ShortStr& sep) {
  DateTimeRec r = UnpackDateTime(packed);
  ShortStr s = Copy(sep, 1, 4);
  return Copy(ZeroPad(2, r.Day) + s + ZeroPad(2, r.Month) + s + ZeroPad(4, r.Year), 1, 20);
}

ShortStr TimeText(std::uint32_t packed, const ShortStr& sep) {
  DateTimeRec r = UnpackDateTime(packed);
  ShortStr s = Copy(sep, 1, 4);
  return Copy(ZeroPad(2, r.Hour) + s + ZeroPad(2, r.Minute) + s + ZeroPad(2, r.Second), 1, 20);
}

ShortStr DateTimeText(std::uint32_t packed, const ShortStr& dateSep, const ShortStr& timeSep) {
  return Copy(DateText(packed, dateSep) + ShortStr(" ") + TimeText(packed, timeSep), 1, 40);
}

ShortStr NowText() { return Copy(DateTimeText(NowPacked(), "-", ":"), 1, 20); }

}  // namespace dates
