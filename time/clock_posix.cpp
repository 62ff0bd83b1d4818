// The system clock on POSIX: localtime_r is the thread-safe local conversion.
#include <time.h>

#include <cstdint>

#include "time/clock.h"

namespace tc {
namespace {

class PosixClock final : public ClockSource {
 public:
  std::optional<ClockReading> read() const override {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return std::nullopt;
    const time_t seconds = now.tv_sec;
    tm local{};
    // Without a usable time zone, universal time is still a sound wall clock.
    if (localtime_r(&seconds, &local) == nullptr && gmtime_r(&seconds, &local) == nullptr) return std::nullopt;
    ClockReading r;
    r.year = local.tm_year + 1900;
    r.month = local.tm_mon + 1;
    r.day = local.tm_mday;
    r.hour = local.tm_hour;
    r.minute = local.tm_min;
    r.second = local.tm_sec;
    r.millisecond = static_cast<std::int32_t>(now.tv_nsec / 1000000);
    return r;
  }
};

}  // namespace

const ClockSource& system_clock() {
  static const PosixClock clock;
  return clock;
}

}  // namespace tc
