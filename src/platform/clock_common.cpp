// The monotonic clock and sleeping, as the C++ library gives them.
#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace platform {

double MonotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform
