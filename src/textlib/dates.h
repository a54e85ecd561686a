// Dates: date and time texts through the packed MS-DOS date-time (two-second
// resolution, years 1980-2099, 0 = no date), as in 27-08-1999 14:05:08.
#pragma once

#include <cstdint>

#include "textlib/shortstr.h"

namespace dates {

using shortstr::ShortStr;

struct DateTimeRec {
  std::uint16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// Packed 0 gives six zeros.
DateTimeRec UnpackDateTime(std::uint32_t packed);
// Years outside 1980..2099 pack to 0; the odd second is lost.
std::uint32_t PackDateTime(const DateTimeRec& rec);
void GetDateNow(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day);
void GetTimeNow(std::uint16_t& hour, std::uint16_t& minute, std::uint16_t& second,
                std::uint16_t& hundredths);
std::uint32_t NowPacked();
// DD<sep>MM<sep>YYYY, cut to 20 (sep cut to 4).
ShortStr DateText(std::uint32_t packed, const ShortStr& sep);
// HH<sep>MM<sep>SS, cut to 20.
ShortStr TimeText(std::uint32_t packed, const ShortStr& sep);
ShortStr DateTimeText(std::uint32_t packed, const ShortStr& dateSep, const ShortStr& timeSep);
// DD-MM-YYYY HH:MM:SS of now.
ShortStr NowText();

}  // namespace dates
