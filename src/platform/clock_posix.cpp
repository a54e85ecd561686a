#include <time.h>

#include "platform/clock.h"

namespace platform {

LocalTime LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm parts{};
  localtime_r(&now.tv_sec, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
          parts.tm_min,        parts.tm_sec,      static_cast<int>(now.tv_nsec / 1000000)};
}

namespace {
long utcOffset = 0;  // seconds east of UTC
}  // namespace

void ClockPrepare() {
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  utcOffset = parts.tm_gmtoff;
}

LocalTime LocalNowPrepared() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  long long t = static_cast<long long>(now.tv_sec) + utcOffset;
  long long days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
  const int secs = static_cast<int>(t - days * 86400);
  // Days since 1970-01-01 to the civil date (proleptic Gregorian).
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day, secs / 3600, secs / 60 % 60, secs % 60, static_cast<int>(now.tv_nsec / 1000000)};
}

}  // namespace platform
