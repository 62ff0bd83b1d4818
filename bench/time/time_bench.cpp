// The time core's operations over random values across the range.
#include <benchmark/benchmark.h>

#include "bench/time/samples.h"
#include "time/time.h"

namespace {

using tc_bench::SAMPLES;
using tc_bench::sample_times;

void BM_time_to_fields(benchmark::State& state) {
  const auto& v = sample_times();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tc::time_to_fields(v[i++ & (SAMPLES - 1)]));
}
BENCHMARK(BM_time_to_fields);

void BM_fields_to_time(benchmark::State& state) {
  std::vector<tc::CalendarFields> f;
  for (double x : sample_times()) f.push_back(*tc::time_to_fields(x));
  std::size_t i = 0;
  for (auto _ : state) {
    const tc::CalendarFields& c = f[i++ & (SAMPLES - 1)];
    benchmark::DoNotOptimize(tc::fields_to_time(c.year, c.month, c.day, c.hour, c.minute, c.second));
  }
}
BENCHMARK(BM_fields_to_time);

void BM_time_difference(benchmark::State& state) {
  const auto& v = sample_times();
  const auto unit = static_cast<std::int32_t>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tc::time_difference(v[i & (SAMPLES - 1)], v[(i + 1) & (SAMPLES - 1)], unit));
    ++i;
  }
}
BENCHMARK(BM_time_difference)->Arg(tc::UNIT_MONTH)->Arg(tc::UNIT_DAY)->Arg(tc::UNIT_SECOND);

void BM_add_to_time(benchmark::State& state) {
  const auto& v = sample_times();
  const auto unit = static_cast<std::int32_t>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tc::add_to_time(v[i & (SAMPLES - 1)], unit, static_cast<std::int32_t>(i & 255) - 128));
    ++i;
  }
}
BENCHMARK(BM_add_to_time)->Arg(tc::UNIT_MONTH)->Arg(tc::UNIT_SECOND);

}  // namespace

BENCHMARK_MAIN();
