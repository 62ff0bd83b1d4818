// Calendar arithmetic on whole seconds. The date conversions are the Euclidean
// affine algorithms of Neri and Schneider (2022): branch-free 32-bit arithmetic on a
// day count shifted so that every year of the range is positive.
#include "time/time.h"

#include <bit>
#include <cmath>

namespace tc {
namespace {

constexpr std::int64_t SECONDS_PER_DAY = 86400;
// Day 0 of the TimeValue scale, 1899-12-30, is day -25569 of the Unix day count.
constexpr std::int32_t UNIX_DAY_OF_DAY_ZERO = -25569;

// Shift of the algorithms: 82 cycles of 400 years, so years from -32800 on are
// non-negative and every intermediate fits 32 bits.
constexpr std::uint32_t CYCLE_SHIFT = 82;
constexpr std::uint32_t YEAR_SHIFT = 400 * CYCLE_SHIFT;
constexpr std::uint32_t DAY_SHIFT = 719468 + 146097 * CYCLE_SHIFT;

struct Date {
  std::int32_t year;
  std::int32_t month;
  std::int32_t day;
  std::int32_t day_of_year;
};

constexpr bool is_leap(std::int32_t year) {
  // A multiple of 100 is a leap year when it is a multiple of 400, and so of 16;
  // any other year when it is a multiple of 4. One remainder instead of three.
  return (year & (year % 25 == 0 ? 15 : 3)) == 0;
}
static_assert(is_leap(2000) && is_leap(2024) && is_leap(400) && !is_leap(1900) && !is_leap(2023) && !is_leap(100));

constexpr std::int32_t month_length(std::int32_t year, std::int32_t month) {
  // 30 + (bit pattern of the 31-day months), February 28 or 29.
  if (month == 2) return is_leap(year) ? 29 : 28;
  return 30 + ((0xAD5 >> (month - 1)) & 1);
}
static_assert(month_length(2021, 1) == 31 && month_length(2021, 4) == 30 && month_length(2021, 7) == 31 &&
              month_length(2021, 8) == 31 && month_length(2021, 11) == 30 && month_length(2021, 12) == 31);

// Date of a day counted from 1970-01-01.
constexpr Date date_of_unix_day(std::int32_t unix_day) {
  const std::uint32_t n = static_cast<std::uint32_t>(unix_day) + DAY_SHIFT;
  // Century and day of the century.
  const std::uint32_t n1 = 4 * n + 3;
  const std::uint32_t century = n1 / 146097;
  const std::uint32_t day_of_century = n1 % 146097 / 4;
  // Year of the century and day of the year, the year starting on March 1.
  const std::uint32_t n2 = 4 * day_of_century + 3;
  const std::uint64_t p2 = std::uint64_t{2939745} * n2;
  const std::uint32_t year_of_century = static_cast<std::uint32_t>(p2 >> 32);
  const std::uint32_t day_from_march = static_cast<std::uint32_t>(p2) / 2939745 / 4;
  const std::uint32_t year = 100 * century + year_of_century;
  // Month and day, still counted from March.
  const std::uint32_t n3 = 2141 * day_from_march + 197913;
  const std::uint32_t month = n3 >> 16;
  const std::uint32_t day = (n3 & 0xFFFF) / 2141;
  const bool january_or_february = day_from_march >= 306;

  Date d{};
  d.year = static_cast<std::int32_t>(year - YEAR_SHIFT + (january_or_february ? 1u : 0u));
  d.month = static_cast<std::int32_t>(january_or_february ? month - 12 : month);
  d.day = static_cast<std::int32_t>(day + 1);
  d.day_of_year = january_or_february
                      ? static_cast<std::int32_t>(day_from_march) - 305
                      : static_cast<std::int32_t>(day_from_march) + 60 + (is_leap(d.year) ? 1 : 0);
  return d;
}

// Day counted from 1970-01-01 of a date (year from -32800 on, month 1..12).
constexpr std::int32_t unix_day_of_date(std::int32_t year, std::int32_t month, std::int32_t day) {
  const bool january_or_february = month <= 2;
  const std::uint32_t y = static_cast<std::uint32_t>(year) + YEAR_SHIFT - (january_or_february ? 1u : 0u);
  const std::uint32_t m = static_cast<std::uint32_t>(january_or_february ? month + 12 : month);
  const std::uint32_t d = static_cast<std::uint32_t>(day) - 1;
  const std::uint32_t century = y / 100;
  const std::uint32_t days_before_year = 1461 * y / 4 - century + century / 4;
  const std::uint32_t days_before_month = (979 * m - 2919) / 32;
  return static_cast<std::int32_t>(days_before_year + days_before_month + d - DAY_SHIFT);
}

static_assert(unix_day_of_date(1970, 1, 1) == 0);
static_assert(unix_day_of_date(1899, 12, 30) == UNIX_DAY_OF_DAY_ZERO);

constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

constexpr std::int32_t clamp_code(std::int32_t unit) {
  return unit < UNIT_YEAR ? UNIT_YEAR : (unit > UNIT_SECOND ? UNIT_SECOND : unit);
}

constexpr std::int64_t clamp64(std::int64_t v, std::int64_t lo, std::int64_t hi) {
  return v < lo ? lo : (v > hi ? hi : v);
}

CalendarFields fields_of_seconds(std::int64_t seconds) {
  const std::int64_t day = floor_div(seconds, SECONDS_PER_DAY);
  // 0..86399, and the day count shifted to stay positive: 32-bit arithmetic from here.
  const auto time_of_day = static_cast<std::uint32_t>(seconds - day * SECONDS_PER_DAY);
  const Date date = date_of_unix_day(static_cast<std::int32_t>(day) + UNIX_DAY_OF_DAY_ZERO);
  CalendarFields f;
  f.year = date.year;
  f.month = date.month;
  f.day = date.day;
  f.hour = static_cast<std::int32_t>(time_of_day / 3600);
  f.minute = static_cast<std::int32_t>(time_of_day / 60 % 60);
  f.second = static_cast<std::int32_t>(time_of_day % 60);
  // Day 0 is a Saturday (7); 1 = Sunday. The day (from -657434 on) is shifted by a
  // multiple of 7 to stay positive.
  f.day_of_week = static_cast<std::int32_t>((static_cast<std::uint32_t>(day + 7 * (1 << 20)) + 6) % 7) + 1;
  f.day_of_year = date.day_of_year;
  return f;
}

// The encoding of day n (from day zero) and a time of day in seconds, 0..86399.
TimeValue compose(std::int64_t n, std::int32_t seconds_of_day) {
  const double fraction = static_cast<double>(seconds_of_day) / 86400.0;
  // Below day zero the fraction is subtracted: n's sign bit copied onto the
  // fraction, without a branch (n - f and n + (-f) are the same double).
  const std::uint64_t sign = static_cast<std::uint64_t>(n) & (std::uint64_t{1} << 63);
  return static_cast<double>(n) + std::bit_cast<double>(std::bit_cast<std::uint64_t>(fraction) ^ sign);
}

}  // namespace

TimeValue clamp_time(TimeValue v) {
  if (!(v <= TIME_MAX)) return TIME_MAX;  // above the range, or NaN
  if (v < TIME_MIN) return TIME_MIN;
  return v;
}

std::int64_t to_whole_seconds(TimeValue v) {
  // Far outside any time the program makes: pin so the conversion stays defined.
  if (!(v > -1e12 && v < 1e12)) v = clamp_time(v);
  // Whole day n (toward zero) and the time of day f >= 0, both exact in double.
  // Seconds of f rounded half away from zero: adding the largest double below 0.5
  // and truncating is exact for 0 <= s < 2^52 (adding 0.5 itself would take
  // 0.49999999999999994 up to 1).
  const auto n = static_cast<std::int64_t>(v);
  const double f = std::fabs(v - static_cast<double>(n));  // v - n for v >= 0, n - v below
  return n * SECONDS_PER_DAY + static_cast<std::int64_t>(f * 86400.0 + 0.49999999999999994);
}

TimeValue from_whole_seconds(std::int64_t seconds) {
  const std::int64_t day = floor_div(seconds, SECONDS_PER_DAY);
  return compose(day, static_cast<std::int32_t>(seconds - day * SECONDS_PER_DAY));
}

std::optional<CalendarFields> time_to_fields(TimeValue v) {
  if (!(v >= TIME_MIN && v <= TIME_MAX)) return std::nullopt;
  return fields_of_seconds(to_whole_seconds(v));
}

std::optional<TimeValue> fields_to_time(std::int32_t year, std::int32_t month, std::int32_t day,
                                        std::int32_t hour, std::int32_t minute, std::int32_t second) {
  // Unsigned comparisons fold each "below 0 or above the limit" test into one.
  const auto above = [](std::int32_t v, std::uint32_t limit) { return static_cast<std::uint32_t>(v) > limit; };
  if (above(year, 9999) | above(month - 1, 11) | above(hour, 23) | above(minute, 59) | above(second, 59) ||
      above(day - 1, static_cast<std::uint32_t>(month_length(year, month) - 1))) {
    return std::nullopt;
  }
  return compose(unix_day_of_date(year, month, day) - UNIX_DAY_OF_DAY_ZERO, hour * 3600 + minute * 60 + second);
}

void clamp_fields(std::int32_t& year, std::int32_t& month, std::int32_t& day, std::int32_t& hour,
                  std::int32_t& minute, std::int32_t& second) {
  year = static_cast<std::int32_t>(clamp64(year, 100, 9999));
  month = static_cast<std::int32_t>(clamp64(month, 1, 12));
  day = static_cast<std::int32_t>(clamp64(day, 1, 31));
  hour = static_cast<std::int32_t>(clamp64(hour, 0, 23));
  minute = static_cast<std::int32_t>(clamp64(minute, 0, 59));
  second = static_cast<std::int32_t>(clamp64(second, 0, 59));
  const std::int32_t length = month_length(year, month);
  if (day > length) day = length;
}

double to_linear_days(TimeValue v) { return v >= 0 ? v : 2 * std::ceil(v) - v; }

TimeValue from_linear_days(double linear) { return linear >= 0 ? linear : 2 * std::floor(linear) - linear; }

std::int32_t year_of(TimeValue v) { return fields_of_seconds(to_whole_seconds(clamp_time(v))).year; }

double time_difference(TimeValue t1, TimeValue t2, std::int32_t unit) {
  unit = clamp_code(unit);
  if (t1 == t2 || std::isnan(t1) || std::isnan(t2)) return 0.0;
  const std::int64_t a_seconds = to_whole_seconds(clamp_time(t1));
  const std::int64_t b_seconds = to_whole_seconds(clamp_time(t2));
  const std::int64_t diff = a_seconds - b_seconds;
  switch (unit) {
    case UNIT_YEAR:
    case UNIT_QUARTER:
    case UNIT_MONTH: {
      const CalendarFields a = fields_of_seconds(a_seconds);
      const CalendarFields b = fields_of_seconds(b_seconds);
      const std::int32_t years = a.year - b.year;
      if (unit == UNIT_YEAR) return years;
      if (unit == UNIT_QUARTER) return 4 * years + (a.month - 1) / 3 - (b.month - 1) / 3;
      return 12 * years + a.month - b.month;
    }
    case UNIT_WEEK: {
      // Whole weeks, plus the Saturday-to-Sunday boundary the remainder crosses.
      const std::int64_t weeks = diff / SECONDS_PER_DAY / 7;
      const std::int32_t a_weekday = fields_of_seconds(a_seconds).day_of_week;
      const std::int32_t b_weekday = fields_of_seconds(b_seconds).day_of_week;
      if (diff > 0 && a_weekday < b_weekday) return static_cast<double>(weeks + 1);
      if (diff < 0 && b_weekday < a_weekday) return static_cast<double>(weeks - 1);
      return static_cast<double>(weeks);
    }
    case UNIT_DAY:
      return static_cast<double>(diff) / 86400.0;
    case UNIT_HOUR:
      return static_cast<double>(diff / 3600);
    case UNIT_MINUTE:
      return static_cast<double>(diff / 60);
    default:
      return static_cast<double>(diff);
  }
}

TimeValue add_to_time(TimeValue t, std::int32_t unit, std::int32_t amount) {
  unit = clamp_code(unit);
  if (amount == 0) return t;
  const std::int64_t start = to_whole_seconds(clamp_time(t));
  if (unit <= UNIT_MONTH) {
    // The date moves along the calendar; the time of day stays.
    const std::int64_t day_number = floor_div(start, SECONDS_PER_DAY);
    const auto time_of_day = static_cast<std::int32_t>(start - day_number * SECONDS_PER_DAY);
    const Date f = date_of_unix_day(static_cast<std::int32_t>(day_number) + UNIX_DAY_OF_DAY_ZERO);
    std::int64_t year = f.year;
    std::int64_t month = f.month;
    if (unit == UNIT_YEAR) {
      year += amount;
    } else {
      const std::int64_t months = month - 1 + std::int64_t{amount} * (unit == UNIT_QUARTER ? 3 : 1);
      year += floor_div(months, 12);
      month = months - floor_div(months, 12) * 12 + 1;
    }
    // The year held in 100..9999, the day held to the target month's length.
    const auto y = static_cast<std::int32_t>(clamp64(year, 100, 9999));
    const auto mo = static_cast<std::int32_t>(month);
    const std::int32_t d = f.day < month_length(y, mo) ? f.day : month_length(y, mo);
    return compose(unix_day_of_date(y, mo, d) - UNIX_DAY_OF_DAY_ZERO, time_of_day);
  }
  static constexpr std::int64_t UNIT_SECONDS[] = {7 * 86400, 86400, 3600, 60, 1};  // week .. second
  return from_whole_seconds(start + std::int64_t{amount} * UNIT_SECONDS[unit - UNIT_WEEK]);
}

}  // namespace tc
