#include "console/timing.h"

#include "platform/clock.h"

namespace timing {

namespace {
double TimerStart = 0;
}

double TimerSeconds(double& start, bool elapsed) {
  double now = platform::MonotonicSeconds();
  if (!elapsed) {
    start = now;
    return 0;
  }
  return now - start;
}

void DelayMs(std::uint16_t ms) {
  TimerSeconds(TimerStart, false);
  for (;;) {
    double waited = TimerSeconds(TimerStart, true) * 1000;
    if (ms <= waited) return;
    double left = ms - waited;
    platform::SleepMs(left >= 1 ? 1 : 0);
  }
}

}  // namespace timing
