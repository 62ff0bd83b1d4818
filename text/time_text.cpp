// The time text "2021年8月19日13时5分7秒" and its parser.
#include "text/time_text.h"

#include <array>
#include <cstddef>
#include <cstdint>

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

// Decimal digits of a field, no leading zeros (fields are 0..9999).
char* put_number(char* out, std::int32_t n) {
  char digits[10];
  std::size_t k = 0;
  auto u = static_cast<std::uint32_t>(n);
  do {
    digits[k++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  while (k != 0) *out++ = digits[--k];
  return out;
}

// A number, then its two-byte unit character.
char* put_field(char* out, std::int32_t n, const char (&unit)[3]) {
  out = put_number(out, n);
  *out++ = unit[0];
  *out++ = unit[1];
  return out;
}

// Texts up to this many bytes are folded on the stack; a time text is at most 26.
constexpr std::size_t STACK_FOLD_BYTES = 64;

}  // namespace

Text format_time_text(TimeValue v) {
  const CalendarFields f = *time_to_fields(clamp_time(v));
  // The widest text, "9999年12月31日23时59分59秒", is 26 bytes.
  char buffer[40];
  char* out = buffer;
  out = put_field(out, f.year, "年");
  out = put_field(out, f.month, "月");
  out = put_field(out, f.day, "日");
  if (f.second != 0 || f.minute != 0 || f.hour != 0) out = put_field(out, f.hour, "时");
  if (f.second != 0 || f.minute != 0) out = put_field(out, f.minute, "分");
  if (f.second != 0) out = put_field(out, f.second, "秒");
  return text_from_bytes(TextView(buffer, static_cast<std::size_t>(out - buffer)));
}

std::optional<TimeValue> parse_time_text(TextView text) {
  char stack[STACK_FOLD_BYTES];
  Text heap;
  TextView s;
  if (text.size() <= sizeof stack) {
    s = TextView(stack, fold_half_width_to(text, stack));
  } else {
    heap = fold_half_width(text);
    s = heap;
  }
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
    // Exactly one separator per place: one accepted byte, else the unit character.
    const SeparatorPlace& place = SEPARATORS[k];
    if (TextView(place.single_bytes).find(s[p]) != TextView::npos) {
      ++p;
    } else if (s.substr(p, 2) == place.character) {
      p += 2;
    }
  }
  // After the second: the end, or 秒 and anything at all after it.
  if (p < s.size() && s.substr(p, 2) != "秒") return std::nullopt;
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
