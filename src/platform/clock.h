// The clock: local wall-clock time for texts, a monotonic clock for waits.
#pragma once

namespace platform {

struct LocalTime {
  int Year, Month, Day, Hour, Minute, Second, Millisecond;
};

LocalTime LocalNow();
// Seconds on a clock that no change of the wall clock moves.
double MonotonicSeconds();
// Sleeps for about ms milliseconds.
void SleepMs(int ms);

}  // namespace platform
