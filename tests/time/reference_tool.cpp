// Answers the reference checker: each input line is a command and numbers, each
// output line the program's answer. Times cross as whole seconds since
// 1899-12-30 00:00:00.
//   C a b        -> per day n of a..b: y m d weekday yday n', n' the day number
//                   fields_to_time gives back for that date
//   R n          -> ok | bad               (every second of day n round-trips)
//   P a b        -> days*86400 weeks hours minutes seconds  (a - b)
//   A s unit n   -> seconds of add_to_time
//   N            -> seconds of current_time() on the system clock
#include <cstdio>
#include <cstring>

#include "time/clock.h"
#include "time/time.h"

int main() {
  char cmd[4];
  while (std::scanf("%3s", cmd) == 1) {
    if (std::strcmp(cmd, "C") == 0) {
      long long a, b;
      if (std::scanf("%lld %lld", &a, &b) != 2) return 2;
      for (long long n = a; n <= b; ++n) {
        const auto f = tc::time_to_fields(static_cast<double>(n));
        if (!f) return 3;
        const auto back = tc::fields_to_time(f->year, f->month, f->day, 0, 0, 0);
        std::printf("%d %d %d %d %d %.0f\n", f->year, f->month, f->day, f->day_of_week, f->day_of_year,
                    back ? *back : 1e300);
      }
    } else if (std::strcmp(cmd, "R") == 0) {
      long long n;
      if (std::scanf("%lld", &n) != 1) return 2;
      const auto day = tc::time_to_fields(static_cast<double>(n));
      bool ok = true;
      for (int s = 0; s < 86400 && ok; ++s) {
        const auto v = tc::fields_to_time(day->year, day->month, day->day, s / 3600, s / 60 % 60, s % 60);
        const auto f = v ? tc::time_to_fields(*v) : std::nullopt;
        ok = f && f->year == day->year && f->month == day->month && f->day == day->day && f->hour == s / 3600 &&
             f->minute == s / 60 % 60 && f->second == s % 60 && tc::to_whole_seconds(*v) == n * 86400 + s;
      }
      std::printf(ok ? "ok\n" : "bad\n");
    } else if (std::strcmp(cmd, "P") == 0) {
      long long a, b;
      if (std::scanf("%lld %lld", &a, &b) != 2) return 2;
      const double ta = tc::from_whole_seconds(a), tb = tc::from_whole_seconds(b);
      std::printf("%.0f %.0f %.0f %.0f %.0f\n", tc::time_difference(ta, tb, 5) * 86400, tc::time_difference(ta, tb, 4),
                  tc::time_difference(ta, tb, 6), tc::time_difference(ta, tb, 7), tc::time_difference(ta, tb, 8));
    } else if (std::strcmp(cmd, "A") == 0) {
      long long s;
      int unit, n;
      if (std::scanf("%lld %d %d", &s, &unit, &n) != 3) return 2;
      std::printf("%lld\n", static_cast<long long>(tc::to_whole_seconds(tc::add_to_time(tc::from_whole_seconds(s), unit, n))));
    } else if (std::strcmp(cmd, "N") == 0) {
      std::printf("%lld\n", static_cast<long long>(tc::to_whole_seconds(tc::current_time())));
    } else {
      return 2;
    }
  }
  return 0;
}
