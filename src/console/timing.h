// Timing: seconds since a start time and the millisecond delay, measured on
// a monotonic clock so that a change of the wall clock cannot move them.
#pragma once

#include <cstdint>

namespace timing {

// elapsed false: start = now, result 0; true: seconds since start.
double TimerSeconds(double& start, bool elapsed);
// Waits ms milliseconds (0 returns at once).
void DelayMs(std::uint16_t ms);

}  // namespace timing
