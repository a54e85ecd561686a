// Measures how long DelayMs(540) and DelayMs(360) really wait, on the
// monotonic clock, over several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "console/timing.h"

int main() {
  for (int ms : {360, 540}) {
    std::vector<double> waited;
    for (int i = 0; i < 9; ++i) {
      auto start = std::chrono::steady_clock::now();
      timing::DelayMs(static_cast<std::uint16_t>(ms));
      waited.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(waited.begin(), waited.end());
    std::printf("DelayMs(%d): min %.3f ms, median %.3f ms, max %.3f ms\n", ms, waited.front(), waited[4],
                waited.back());
  }
}
