// Time values, differences and addition: the rules' own cases, named.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "time/clock.h"
#include "time/time.h"

namespace tc {
namespace {

TimeValue at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return *fields_to_time(y, mo, d, h, mi, s); }

std::string shown(TimeValue v) {
  const auto f = time_to_fields(clamp_time(v));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", f->year, f->month, f->day, f->hour, f->minute, f->second);
  return buf;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(ClampTime, PinsIntoRange) {
  struct Case { const char* name; double in, out; } cases[] = {
      {"far above", 3000000.0, TIME_MAX},     {"noon on the last day", 2958465.5, TIME_MAX},
      {"noon on the first day", -657434.5, TIME_MIN}, {"far below", -1e9, TIME_MIN},
      {"inside", 44197.5, 44197.5},           {"not a number", std::nan(""), TIME_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(clamp_time(c.in), c.out) << c.name;
}

TEST(TimeToFields, KnownValues) {
  struct Case { const char* name; double v; CalendarFields f; } cases[] = {
      {"day zero", 0.0, {1899, 12, 30, 0, 0, 0, 7, 364}},
      {"noon of day zero", 0.5, {1899, 12, 30, 12, 0, 0, 7, 364}},
      {"one and a quarter", 1.25, {1899, 12, 31, 6, 0, 0, 1, 365}},
      {"minus one", -1.0, {1899, 12, 29, 0, 0, 0, 6, 363}},
      {"minus one and a quarter counts forward", -1.25, {1899, 12, 29, 6, 0, 0, 6, 363}},
      {"2021 noon", 44197.5, {2021, 1, 1, 12, 0, 0, 6, 1}},
      {"last day", 2958465.0, {9999, 12, 31, 0, 0, 0, 6, 365}},
      {"first day", -657434.0, {100, 1, 1, 0, 0, 0, 6, 1}},
  };
  for (const Case& c : cases) {
    const auto f = time_to_fields(c.v);
    ASSERT_TRUE(f) << c.name;
    EXPECT_EQ(*f, c.f) << c.name;
  }
  EXPECT_FALSE(time_to_fields(2958465.5));
  EXPECT_FALSE(time_to_fields(-657434.5));
  EXPECT_FALSE(time_to_fields(std::nan("")));
}

TEST(LinearDays, RunForwardThroughEveryDay) {
  struct Case { const char* name; double value, linear; } cases[] = {
      {"day zero", 0.0, 0.0},
      {"positive values are their own count", 44197.5, 44197.5},
      {"a quarter into the day before", -1.25, -0.75},
      {"whole negative day", -1.0, -1.0},
      {"three quarters into day -2", -2.75, -1.25},
      {"noon of the first day", -657434.5, -657433.5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_linear_days(c.value), c.linear) << c.name;
    EXPECT_EQ(from_linear_days(c.linear), c.value) << c.name;
  }
}

TEST(TimeToFields, RoundsToNearestSecond) {
  const double second = 1.0 / 86400;
  EXPECT_EQ(shown(at(2021, 8, 19, 12, 34, 56) + 0.6 * second), "2021-08-19 12:34:57");
  EXPECT_EQ(shown(at(2021, 8, 19, 12, 34, 56) + 0.4 * second), "2021-08-19 12:34:56");
  EXPECT_EQ(shown(at(2021, 8, 19, 23, 59, 59) + 0.6 * second), "2021-08-20 00:00:00");
  // Before day zero the encoding runs backwards within a day; a hair before
  // midnight still rounds to the next day, not two days early.
  EXPECT_EQ(shown(-1.9999999), "1899-12-30 00:00:00");
  EXPECT_EQ(shown(-1.0 - (86399.6 / 86400)), "1899-12-30 00:00:00");
}

TEST(FieldsToTime, ComposesValidDatesOnly) {
  struct Case { const char* name; std::int32_t f[6]; std::optional<double> value; } cases[] = {
      {"leap day 2000", {2000, 2, 29, 0, 0, 0}, 36585.0},
      {"century non-leap 1900 refused", {1900, 2, 29, 0, 0, 0}, std::nullopt},
      {"year 10000 refused", {10000, 1, 1, 0, 0, 0}, std::nullopt},
      {"month 13 refused", {2021, 13, 1, 0, 0, 0}, std::nullopt},
      {"month 0 refused", {2021, 0, 1, 0, 0, 0}, std::nullopt},
      {"april 31 refused", {2021, 4, 31, 0, 0, 0}, std::nullopt},
      {"hour 24 refused", {2021, 1, 1, 24, 0, 0}, std::nullopt},
      {"negative minute refused", {2021, 1, 1, 0, -1, 0}, std::nullopt},
      {"second 60 refused", {2021, 1, 1, 0, 0, 60}, std::nullopt},
      {"noon on the last day", {9999, 12, 31, 12, 0, 0}, 2958465.5},
      {"noon 2021", {2021, 1, 1, 12, 0, 0}, 44197.5},
      {"before day zero the fraction is subtracted", {1899, 12, 29, 6, 0, 0}, -1.25},
      {"first second of the range", {100, 1, 1, 0, 0, 0}, TIME_MIN},
      {"year 99 composes below the range", {99, 12, 31, 0, 0, 0}, TIME_MIN - 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fields_to_time(c.f[0], c.f[1], c.f[2], c.f[3], c.f[4], c.f[5]), c.value) << c.name;
  }
}

TEST(ToWholeSeconds, RoundsHalvesAwayFromZero) {
  struct Case { const char* name; double value; std::int64_t seconds; } cases[] = {
      {"half a second", HALF_SECOND, 1},
      {"just under half a second", std::nextafter(HALF_SECOND, 0.0), 0},
      {"a quarter into the day before", -1.25, -86400 + 21600},
      {"last second of day -1", -1.0 - 86399.0 / 86400, -1},
      {"last midnight", TIME_MAX, 2958465LL * 86400},
      {"first midnight", TIME_MIN, -657434LL * 86400},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(to_whole_seconds(c.value), c.seconds) << c.name;
    if (c.value != std::nextafter(HALF_SECOND, 0.0) && c.value != HALF_SECOND) {
      EXPECT_EQ(from_whole_seconds(c.seconds), c.value) << c.name;
    }
  }
}

TEST(ClampFields, BringsLooseFieldsIntoADate) {
  struct Case { const char* name; std::int32_t in[6], out[6]; } cases[] = {
      {"century non-leap 1900", {1900, 2, 29, 0, 0, 0}, {1900, 2, 28, 0, 0, 0}},
      {"leap 2000", {2000, 2, 30, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}},
      {"every field out", {0, 13, 0, 24, -5, 60}, {100, 12, 1, 23, 0, 59}},
      {"year above", {12000, 4, 31, 0, 0, 0}, {9999, 4, 30, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::int32_t f[6];
    std::copy(std::begin(c.in), std::end(c.in), f);
    clamp_fields(f[0], f[1], f[2], f[3], f[4], f[5]);
    EXPECT_TRUE(std::equal(std::begin(f), std::end(f), std::begin(c.out))) << c.name;
  }
}

TEST(TimeDifference, TableInEveryUnit) {
  struct Case { const char* name; TimeValue t1, t2; double by_unit[8]; } cases[] = {
      {"across a new year", at(2021, 3, 1), at(2020, 12, 31, 23, 59, 59),
       {1, 1, 3, 9, 59 + 1.0 / 86400, 1416, 84960, 5097601}},
      {"one second back across a year", at(2021, 12, 31, 23, 59, 59), at(2022, 1, 1),
       {-1, -1, -1, 0, -1.0 / 86400, 0, 0, -1}},
      {"a day and a half", at(2021, 1, 2, 12), at(2021, 1, 1), {0, 0, 0, 0, 1.5, 36, 2160, 129600}},
      {"saturday to sunday", at(2021, 1, 3, 1), at(2021, 1, 2, 12), {0, 0, 0, 1, 13.0 / 24, 13, 780, 46800}},
      {"sunday back to saturday", at(2021, 1, 2, 12), at(2021, 1, 3, 1), {0, 0, 0, -1, -13.0 / 24, -13, -780, -46800}},
      {"monday to monday an hour short", at(2021, 1, 11, 9), at(2021, 1, 4, 10),
       {0, 0, 0, 0, 6 + 23.0 / 24, 167, 10020, 601200}},
      {"two hours back", at(2021, 1, 1, 10), at(2021, 1, 1, 12), {0, 0, 0, 0, -2.0 / 24, -2, -120, -7200}},
      {"fifty days", at(2021, 5, 20), at(2021, 3, 31), {0, 1, 2, 7, 50, 1200, 72000, 4320000}},
  };
  for (const Case& c : cases) {
    for (int unit = 1; unit <= 8; ++unit) {
      EXPECT_DOUBLE_EQ(time_difference(c.t1, c.t2, unit), c.by_unit[unit - 1]) << c.name << " unit " << unit;
    }
  }
}

TEST(TimeDifference, EdgeInputs) {
  for (int unit = 1; unit <= 8; ++unit) {
    EXPECT_EQ(time_difference(3e6, 3e6, unit), 0) << "equal above the range, unit " << unit;
    EXPECT_EQ(time_difference(-1e7, -1e7, unit), 0) << "equal below the range, unit " << unit;
    EXPECT_EQ(time_difference(3e6, 2958465.5, unit), 0) << "both clamp to the last midnight, unit " << unit;
    EXPECT_EQ(time_difference(std::nan(""), 0, unit), 0) << "not a number first, unit " << unit;
    EXPECT_EQ(time_difference(0, std::nan(""), unit), 0) << "not a number second, unit " << unit;
  }
  struct Code { const char* name; int unit; double result; } codes[] = {
      {"code 0 is years", 0, 1},           {"code -5 is years", -5, 1},
      {"code 9 is seconds", 9, 31536000},  {"code 100 is seconds", 100, 31536000},
  };
  for (const Code& c : codes) EXPECT_EQ(time_difference(at(2022, 1, 1), at(2021, 1, 1), c.unit), c.result) << c.name;
}

TEST(TimeDifference, ExactWhereFloatingPointWasNot) {
  EXPECT_EQ(time_difference(at(1989, 9, 18, 0, 0, 2), at(1989, 9, 11, 0, 0, 2), UNIT_WEEK), 1);
  EXPECT_EQ(time_difference(at(8376, 4, 7, 21, 54, 39), at(8376, 4, 7, 21, 50, 31), UNIT_SECOND), 248);
  EXPECT_EQ(time_difference(at(2000, 1, 1), at(1900, 1, 1), UNIT_SECOND), 3155673600.0);
  EXPECT_EQ(time_difference(TIME_MAX, TIME_MIN, UNIT_SECOND), 3615899 * 86400.0);
}

TEST(AddToTime, Table) {
  struct Case { const char* name; TimeValue start; int unit, amount; const char* result; } cases[] = {
      {"month end into february", at(2021, 1, 31), UNIT_MONTH, 1, "2021-02-28 00:00:00"},
      {"leap day plus a year", at(2020, 2, 29, 10), UNIT_YEAR, 1, "2021-02-28 10:00:00"},
      {"thirteen months back", at(2021, 3, 31), UNIT_MONTH, -13, "2020-02-29 00:00:00"},
      {"a quarter on", at(2021, 11, 30), UNIT_QUARTER, 1, "2022-02-28 00:00:00"},
      {"january back a month", at(2021, 1, 15), UNIT_MONTH, -1, "2020-12-15 00:00:00"},
      {"year held at 9999", at(9999, 6, 15), UNIT_YEAR, 1, "9999-06-15 00:00:00"},
      {"month carries, year stays 9999", at(9999, 12, 15), UNIT_MONTH, 1, "9999-01-15 00:00:00"},
      {"month carries, year stays 100", at(100, 1, 15), UNIT_MONTH, -1, "0100-12-15 00:00:00"},
      {"half a day before day zero", at(1899, 12, 20, 12), UNIT_HOUR, 12, "1899-12-21 00:00:00"},
      {"a day of seconds", at(2021, 1, 1), UNIT_SECOND, 86400, "2021-01-02 00:00:00"},
      {"a week back", at(2021, 1, 1), UNIT_WEEK, -1, "2020-12-25 00:00:00"},
      {"28 hours across a negative midnight", at(1899, 12, 27, 20), UNIT_HOUR, 28, "1899-12-29 00:00:00"},
      {"4 hours across a negative midnight", at(1897, 3, 11, 20), UNIT_HOUR, 4, "1897-03-12 00:00:00"},
      {"code 0 acts as years", at(2021, 1, 1), 0, 1, "2022-01-01 00:00:00"},
      {"code -5 acts as years", at(2021, 1, 1), -5, 1, "2022-01-01 00:00:00"},
      {"code 9 acts as seconds", at(2021, 1, 1), 9, 1, "2021-01-01 00:00:01"},
      {"code 100 acts as seconds", at(2021, 1, 1), 100, 60, "2021-01-01 00:01:00"},
      {"largest years", at(2021, 5, 5), UNIT_YEAR, 2147483647, "9999-05-05 00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(shown(add_to_time(c.start, c.unit, c.amount)), c.result) << c.name;
}

TEST(AddToTime, OutOfRangeResults) {
  EXPECT_EQ(add_to_time(at(9998, 12, 31, 12), UNIT_YEAR, 1), 2958465.5);
  EXPECT_DOUBLE_EQ(add_to_time(TIME_MAX, UNIT_HOUR, 1), 2958465.0416666665);
  EXPECT_EQ(add_to_time(3e6, UNIT_DAY, 1), 2958466.0);
  EXPECT_TRUE(same_bits(add_to_time(3e6, UNIT_DAY, 0), 3e6));
  const double odd = 44197.123456789;
  EXPECT_TRUE(same_bits(add_to_time(odd, UNIT_MONTH, 0), odd));
  EXPECT_EQ(to_whole_seconds(add_to_time(at(2021, 1, 1), UNIT_DAY, -2147483647 - 1)),
            to_whole_seconds(at(2021, 1, 1)) - 2147483648LL * 86400);
}

class FakeClock final : public ClockSource {
 public:
  explicit FakeClock(std::optional<ClockReading> r) : reading_(r) {}
  std::optional<ClockReading> read() const override { return reading_; }

 private:
  std::optional<ClockReading> reading_;
};

TEST(CurrentTime, TruncatesTheFraction) {
  EXPECT_EQ(shown(current_time(FakeClock(ClockReading{2021, 8, 19, 10, 20, 30, 999}))), "2021-08-19 10:20:30");
  EXPECT_EQ(current_time(FakeClock(std::nullopt)), TIME_MIN);
  const TimeValue now = current_time();
  EXPECT_GT(now, at(2020, 1, 1));
  EXPECT_LE(now, TIME_MAX);
}

}  // namespace
}  // namespace tc
