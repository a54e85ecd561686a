#include <windows.h>

#include "platform/clock.h"

namespace platform {

LocalTime LocalNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

// GetLocalTime takes no lock and allocates nothing: the fault path may call
// it as it is.
void ClockPrepare() {}

LocalTime LocalNowPrepared() { return LocalNow(); }

}  // namespace platform
