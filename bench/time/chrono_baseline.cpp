// The same jobs done with the standard library's calendar (std::chrono), measured
// in the same run as the time core. ASCII literals only: <chrono> is compiled with
// a UTF-8 execution charset.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "bench/time/samples.h"

namespace {

using namespace std::chrono;
using tc_bench::SAMPLES;
using tc_bench::sample_times;

// 1899-12-30 on the system clock's day count.
constexpr sys_days DAY_ZERO = sys_days{year{1899} / December / 30};

// The value's linear day count in whole seconds, rounded, through chrono.
seconds to_seconds(double v) {
  const double linear = v >= 0 ? v : 2 * std::ceil(v) - v;
  return round<seconds>(duration<double, days::period>(linear));
}

struct Fields {
  year_month_day date;
  hh_mm_ss<seconds> time;
  unsigned weekday;
  int day_of_year;
};

Fields fields_of(double v) {
  const sys_seconds s = DAY_ZERO + to_seconds(v);
  const sys_days day = floor<days>(s);
  const year_month_day ymd{day};
  return {ymd, hh_mm_ss<seconds>{s - day}, weekday{day}.c_encoding() + 1,
          static_cast<int>((day - sys_days{ymd.year() / January / 1}).count()) + 1};
}

void BM_chrono_time_to_fields(benchmark::State& state) {
  const auto& v = sample_times();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(fields_of(v[i++ & (SAMPLES - 1)]));
}
BENCHMARK(BM_chrono_time_to_fields);

void BM_chrono_fields_to_time(benchmark::State& state) {
  std::vector<Fields> f;
  for (double x : sample_times()) f.push_back(fields_of(x));
  std::size_t i = 0;
  for (auto _ : state) {
    const Fields& c = f[i++ & (SAMPLES - 1)];
    if (!c.date.ok()) continue;
    const auto n = (sys_days{c.date} - DAY_ZERO).count();
    const double frac = static_cast<double>(c.time.to_duration().count()) / 86400.0;
    benchmark::DoNotOptimize(n >= 0 ? static_cast<double>(n) + frac : static_cast<double>(n) - frac);
  }
}
BENCHMARK(BM_chrono_fields_to_time);

void BM_chrono_time_difference(benchmark::State& state) {
  const auto& v = sample_times();
  const auto unit = state.range(0);
  std::size_t i = 0;
  for (auto _ : state) {
    const double a = v[i & (SAMPLES - 1)], b = v[(i + 1) & (SAMPLES - 1)];
    ++i;
    if (unit == 3) {
      const year_month_day x = fields_of(a).date, y = fields_of(b).date;
      benchmark::DoNotOptimize(12.0 * (int(x.year()) - int(y.year())) + (unsigned(x.month()) - double(unsigned(y.month()))));
    } else if (unit == 5) {
      benchmark::DoNotOptimize(static_cast<double>((to_seconds(a) - to_seconds(b)).count()) / 86400.0);
    } else {
      benchmark::DoNotOptimize(static_cast<double>((to_seconds(a) - to_seconds(b)).count()));
    }
  }
}
BENCHMARK(BM_chrono_time_difference)->Arg(3)->Arg(5)->Arg(8);

void BM_chrono_add_to_time(benchmark::State& state) {
  const auto& v = sample_times();
  const auto unit = state.range(0);
  std::size_t i = 0;
  for (auto _ : state) {
    const double t = v[i & (SAMPLES - 1)];
    const int amount = static_cast<int>(i & 255) - 128;
    ++i;
    if (unit == 3) {
      const Fields f = fields_of(t);
      year_month_day moved = f.date + months{amount};
      if (!moved.ok()) moved = moved.year() / moved.month() / last;
      const auto n = (sys_days{moved} - DAY_ZERO).count();
      const double frac = static_cast<double>(f.time.to_duration().count()) / 86400.0;
      benchmark::DoNotOptimize(n >= 0 ? static_cast<double>(n) + frac : static_cast<double>(n) - frac);
    } else {
      benchmark::DoNotOptimize(tc_bench::encode((to_seconds(t) + seconds{amount}).count()));
    }
  }
}
BENCHMARK(BM_chrono_add_to_time)->Arg(3)->Arg(8);

}  // namespace
