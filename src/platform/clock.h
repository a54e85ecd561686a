// The clock: local wall-clock time for texts, a monotonic clock for waits.
#pragma once

namespace platform {

struct LocalTime {
  int Year, Month, Day, Hour, Minute, Second, Millisecond;
};

LocalTime LocalNow();
// The local time by the offset from UTC that ClockPrepare learnt: safe in a
// signal handler (no time-zone lookup).
void ClockPrepare();
LocalTime LocalNowPrepared();
// Seconds on a clock that no change of the wall clock moves.
double MonotonicSeconds();
// Sleeps for about ms milliseconds.
void SleepMs(int ms);

}  // namespace platform
