// Date-time values and calendar arithmetic: the core every tool of the calculator
// computes with. Everything here is a pure function, keeps no state and is safe on
// any thread; nothing throws. Validity travels as std::optional.
//
// A TimeValue is a double: days after 1899-12-30 (day 0), the time of day as the
// fraction. For days before 1899-12-30 the fraction is subtracted (-1.25 is
// 1899-12-29 06:00), so below zero the encoding runs backwards within a day.
// Valid range: 0100-01-01 00:00:00 (TIME_MIN) to 9999-12-31 00:00:00 (TIME_MAX),
// proleptic Gregorian calendar, local wall-clock time without a zone.
//
// Every operation first takes a value to whole seconds on the linear day scale
// (to_whole_seconds, rounding to the nearest second) and then works in exact 64-bit
// integer seconds, so results are exact over the whole range.
#pragma once

#include <cstdint>
#include <optional>

namespace tc {

using TimeValue = double;

// Unit codes shared by time_difference and add_to_time; every operation clamps a
// code into 1..8 first (below 1 is a year, above 8 a second).
enum TimeUnit : std::int32_t {
  UNIT_YEAR = 1,
  UNIT_QUARTER = 2,
  UNIT_MONTH = 3,
  UNIT_WEEK = 4,
  UNIT_DAY = 5,
  UNIT_HOUR = 6,
  UNIT_MINUTE = 7,
  UNIT_SECOND = 8,
};

inline constexpr TimeValue TIME_MIN = -657434.0;      // 0100-01-01 00:00:00
inline constexpr TimeValue TIME_MAX = 2958465.0;      // 9999-12-31 00:00:00
inline constexpr double HALF_SECOND = 5.787037037037037e-6;  // 1/172800 day

// Calendar fields of a value, time rounded to the nearest second.
struct CalendarFields {
  std::int32_t year = 0;         // 100..9999
  std::int32_t month = 0;        // 1..12
  std::int32_t day = 0;          // 1..31, never past the month's length
  std::int32_t hour = 0;         // 0..23
  std::int32_t minute = 0;       // 0..59
  std::int32_t second = 0;       // 0..59
  std::int32_t day_of_week = 0;  // 1 = Sunday .. 7 = Saturday
  std::int32_t day_of_year = 0;  // 1..366
  friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};

// Into [TIME_MIN, TIME_MAX]; NaN and anything above become TIME_MAX.
TimeValue clamp_time(TimeValue v);

// The rounding step every operation uses: v on the linear day scale, in whole
// seconds since 1899-12-30 00:00:00, rounded to the nearest second (halves away
// from zero). v must be finite; callers clamp first.
std::int64_t to_whole_seconds(TimeValue v);
// The exact TimeValue encoding of a whole-second count (inverse of the above).
TimeValue from_whole_seconds(std::int64_t seconds);

// Fields of v; nullopt outside [TIME_MIN, TIME_MAX] or for NaN.
std::optional<CalendarFields> time_to_fields(TimeValue v);

// Value of a date and time; nullopt when the fields are not a valid date and time
// (year above 9999, month outside 1..12, day past the month, hour > 23, minute or
// second > 59, any field negative). Years 0..99 compose to values below the range.
std::optional<TimeValue> fields_to_time(std::int32_t year, std::int32_t month, std::int32_t day,
                                        std::int32_t hour, std::int32_t minute, std::int32_t second);

// Brings loose fields into a valid date and time, in place: each field into its
// range (year 100..9999), then the day to at most the month's length.
void clamp_fields(std::int32_t& year, std::int32_t& month, std::int32_t& day,
                  std::int32_t& hour, std::int32_t& minute, std::int32_t& second);

// The continuous day count L = n + f, increasing with time, and its inverse.
double to_linear_days(TimeValue v);
TimeValue from_linear_days(double linear);

// Year of clamp_time(v).
std::int32_t year_of(TimeValue v);

// t1 - t2 in the given unit: calendar counts for years, quarters and months,
// Sunday-started week boundaries for weeks, fractional days, and whole hours,
// minutes and seconds truncated toward zero. Equal inputs or a NaN give 0.
double time_difference(TimeValue t1, TimeValue t2, std::int32_t unit);

// t moved by amount units: calendar moves for years, quarters and months (the day
// held to the target month's length, the year held in 100..9999), fixed lengths for
// the rest. The result is not clamped. An amount of 0 returns t bit for bit.
TimeValue add_to_time(TimeValue t, std::int32_t unit, std::int32_t amount);

}  // namespace tc
