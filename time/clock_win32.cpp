// The system clock on Windows: GetLocalTime gives the local wall-clock time with
// milliseconds and is safe on any thread.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "time/clock.h"

namespace tc {
namespace {

class WindowsClock final : public ClockSource {
 public:
  std::optional<ClockReading> read() const override {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    ClockReading r;
    r.year = local.wYear;
    r.month = local.wMonth;
    r.day = local.wDay;
    r.hour = local.wHour;
    r.minute = local.wMinute;
    r.second = local.wSecond;
    r.millisecond = local.wMilliseconds;
    return r;
  }
};

}  // namespace

const ClockSource& system_clock() {
  static const WindowsClock clock;
  return clock;
}

}  // namespace tc
