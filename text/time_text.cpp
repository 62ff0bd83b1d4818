// The time text "2021年8月19日13时5分7秒" and its parser.
#include "text/time_text.h"

#include <array>
#include <cstdio>

namespace tc {
namespace {

// One separator place: the single bytes accepted there and the one character.
struct SeparatorPlace {
  const char* single_bytes;
  const char* character;  // two cp936 bytes
};

constexpr std::array<SeparatorPlace, 5> SEPARATORS = {{
    {"/-:.", "年"},
    {"/-:.", "月"},
    {"/-:. ", "日"},
    {"/-:.", "时"},
    {"/-:.", "分"},
}};
constexpr std::array<std::size_t, 6> DIGIT_LIMITS = {4, 2, 2, 2, 2, 2};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

Text format_time_text(TimeValue v) {
  const CalendarFields f = *time_to_fields(clamp_time(v));
  char buffer[64];
  int n;
  if (f.second != 0) {
    n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日%d时%d分%d秒", f.year, f.month, f.day, f.hour,
                      f.minute, f.second);
  } else if (f.minute != 0) {
    n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日%d时%d分", f.year, f.month, f.day, f.hour, f.minute);
  } else if (f.hour != 0) {
    n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日%d时", f.year, f.month, f.day, f.hour);
  } else {
    n = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", f.year, f.month, f.day);
  }
  return Text(buffer, static_cast<std::size_t>(n));
}

std::optional<TimeValue> parse_time_text(TextView text) {
  const Text s = fold_half_width(text);
  if (s.empty()) return std::nullopt;
  std::array<std::int32_t, 6> numbers{};
  std::size_t p = 0;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    std::int32_t value = 0;
    for (std::size_t read = 0; read < DIGIT_LIMITS[k] && p < s.size() && is_digit(s[p]); ++read, ++p) {
      value = value * 10 + (s[p] - '0');
    }
    numbers[k] = value;
    if (k == 5 || p >= s.size()) continue;
    const SeparatorPlace& place = SEPARATORS[k];
    if (TextView(place.single_bytes).find(s[p]) != TextView::npos) {
      ++p;
    } else if (TextView(s).substr(p, 2) == place.character) {
      p += 2;
    }
  }
  if (p < s.size() && TextView(s).substr(p, 2) != "秒") return std::nullopt;
  std::array<std::int32_t, 6> clamped = numbers;
  clamp_fields(clamped[0], clamped[1], clamped[2], clamped[3], clamped[4], clamped[5]);
  if (clamped != numbers) return std::nullopt;
  return fields_to_time(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], numbers[5]);
}

TimeValue value_to_time(const Value& value) {
  if (const auto* time = std::get_if<TimeOf>(&value)) return time->value;
  if (const auto* text = std::get_if<Text>(&value)) return parse_time_text(*text).value_or(TIME_MIN);
  return TIME_MIN;
}

}  // namespace tc
