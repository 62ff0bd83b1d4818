// The local wall clock, behind a seam so that the window layer can run the whole
// program against a fixed or scripted clock. The source is passed in, never stored
// in a global, so a test clock cannot race with the countdown's worker threads
// beyond what the source itself guards.
#pragma once

#include <cstdint>
#include <optional>

#include "time/time.h"

namespace tc {

// A local date and time as a clock reports it, with the fraction of the second.
struct ClockReading {
  std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::int32_t millisecond = 0;  // 0..999, dropped by current_time
};

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // The local wall-clock time now; nullopt when the clock cannot be read.
  // Called from the window thread and from worker threads at once.
  virtual std::optional<ClockReading> read() const = 0;
};

// The system's local clock (thread-safe local-time conversion).
const ClockSource& system_clock();

// Local wall-clock time as a TimeValue in whole seconds (the fraction is truncated,
// not rounded). When the source cannot be read, TIME_MIN.
TimeValue current_time(const ClockSource& source = system_clock());

}  // namespace tc
