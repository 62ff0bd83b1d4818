// current_time over any clock source; the system source is per platform
// (clock_posix.cpp, clock_win32.cpp).
#include "time/clock.h"

namespace tc {

TimeValue current_time(const ClockSource& source) {
  const std::optional<ClockReading> reading = source.read();
  if (!reading) return TIME_MIN;
  std::int32_t year = reading->year, month = reading->month, day = reading->day;
  std::int32_t hour = reading->hour, minute = reading->minute, second = reading->second;
  // A leap second (second 60) or a far-off clock is pinned, never refused.
  clamp_fields(year, month, day, hour, minute, second);
  return *fields_to_time(year, month, day, hour, minute, second);
}

}  // namespace tc
