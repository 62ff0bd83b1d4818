// The time text and decimal texts, with a plain snprintf of the same fields as the
// yardstick for formatting.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "text/time_text.h"
#include "text/value.h"

namespace {

constexpr std::size_t SAMPLES = 4096;

const std::vector<double>& times() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<std::int64_t> pick(-657434LL * 86400, 2958465LL * 86400);
    std::vector<double> out(SAMPLES);
    for (double& x : out) x = tc::from_whole_seconds(pick(rng));
    return out;
  }();
  return v;
}

void BM_format_time_text(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tc::format_time_text(times()[i++ & (SAMPLES - 1)]));
}
BENCHMARK(BM_format_time_text);

void BM_snprintf_same_fields(benchmark::State& state) {
  std::vector<tc::CalendarFields> f;
  for (double x : times()) f.push_back(*tc::time_to_fields(x));
  std::size_t i = 0;
  for (auto _ : state) {
    const tc::CalendarFields& c = f[i++ & (SAMPLES - 1)];
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%d年%d月%d日%d时%d分%d秒", c.year, c.month, c.day, c.hour, c.minute,
                                c.second);
    benchmark::DoNotOptimize(std::string(buf, static_cast<std::size_t>(n)));
  }
}
BENCHMARK(BM_snprintf_same_fields);

void BM_parse_time_text(benchmark::State& state) {
  std::vector<tc::Text> texts;
  for (double x : times()) texts.push_back(tc::format_time_text(x));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tc::parse_time_text(texts[i++ & (SAMPLES - 1)]));
}
BENCHMARK(BM_parse_time_text);

void BM_decimal_value_to_text(benchmark::State& state) {
  std::vector<double> v;
  std::mt19937_64 rng(6);
  for (std::size_t k = 0; k < SAMPLES; ++k) v.push_back(std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 80) - 60));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tc::value_to_text(v[i++ & (SAMPLES - 1)]));
}
BENCHMARK(BM_decimal_value_to_text);

}  // namespace

BENCHMARK_MAIN();
