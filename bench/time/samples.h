// Random whole-second times across the whole range, the same for every benchmark.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace tc_bench {

inline constexpr std::int64_t FIRST_SECOND = -657434LL * 86400;  // 0100-01-01
inline constexpr std::int64_t LAST_SECOND = 2958465LL * 86400;   // 9999-12-31
inline constexpr std::size_t SAMPLES = 4096;                     // a power of two

// TimeValue encoding of a whole-second count (day n, fraction f: n + f or n - f).
inline double encode(std::int64_t s) {
  const std::int64_t day = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
  const double f = static_cast<double>(s - day * 86400) / 86400.0;
  return day >= 0 ? static_cast<double>(day) + f : static_cast<double>(day) - f;
}

inline const std::vector<double>& sample_times() {
  static const std::vector<double> v = [] {
    std::mt19937_64 rng(99);
    std::uniform_int_distribution<std::int64_t> pick(FIRST_SECOND, LAST_SECOND);
    std::vector<double> out(SAMPLES);
    for (double& x : out) x = encode(pick(rng));
    return out;
  }();
  return v;
}

}  // namespace tc_bench
