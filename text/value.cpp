// Numbers to and from text, and the calculators' rounding and integer helpers.
#include "text/value.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "text/runtime_error.h"
#include "text/time_text.h"

namespace tc {
namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Low 32 bits of the 64-bit integer part; 0 when that part does not fit 64 bits.
std::int32_t low32_of_integer_part(double x) {
  if (!(std::fabs(x) < 9223372036854775808.0)) return 0;
  const auto whole = static_cast<std::int64_t>(x);  // truncates toward zero
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

// "%.13g" with an exponent of at least three digits and no sign on zero, made by
// std::to_chars (which the standard defines as printf's %.13g in the C locale), so
// the text is the same whatever the platform's printf writes for exponents.
// Not-a-number is "nan" and the infinities are "inf" and "-inf"; the calculators
// never show one.
Text decimal_text(double x) {
  if (x == 0) return "0";
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x < 0 ? "-inf" : "inf";
  // At most "-d.dddddddddddde-ddd": 20 bytes; one more for the padded exponent.
  char buffer[40];
  const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer - 2, x, std::chars_format::general, 13);
  auto n = static_cast<std::size_t>(r.ptr - buffer);
  const TextView written(buffer, n);
  const std::size_t e = written.find('e');
  if (e != TextView::npos) {
    // buffer[e + 1] is the sign; to_chars writes at least two exponent digits.
    const std::size_t digits = n - (e + 2);
    if (digits < 3) {
      std::memmove(buffer + e + 3, buffer + e + 2, digits);
      buffer[e + 2] = '0';
      ++n;
    }
  }
  return text_from_bytes(TextView(buffer, n));
}

}  // namespace

Text value_to_text(const Value& value) {
  return std::visit(Overloaded{
                        [](std::int32_t i) { return Text(std::to_string(i)); },
                        [](double d) { return decimal_text(d); },
                        [](TimeOf t) { return format_time_text(t.value); },
                        [](const Text& t) { return text_from_bytes(t); },
                        [](const ByteSequence& b) { return text_from_bytes(b.bytes); },
                    },
                    value);
}

std::int32_t text_to_integer(TextView text) {
  const Text folded = fold_half_width(text);
  std::size_t i = 0;
  while (i < folded.size() && (folded[i] == ' ' || (folded[i] >= '\t' && folded[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
  std::uint32_t value = 0;  // wraps modulo 2^32 by design
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(folded[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t value_to_integer(const Value& value) {
  return std::visit(Overloaded{
                        [](std::int32_t i) { return i; },
                        [](double d) { return low32_of_integer_part(d); },
                        [](TimeOf) { return std::int32_t{0}; },
                        [](const Text& t) { return text_to_integer(t); },
                        [](const ByteSequence&) { return std::int32_t{0}; },
                    },
                    value);
}

std::int32_t truncate_with_tolerance(double x) {
  const double whole = std::trunc(x);
  const double fraction = x - whole;
  if (std::fabs(fraction) > 0.999999999999) return low32_of_integer_part(x > 0 ? whole + 1 : whole - 1);
  return low32_of_integer_part(whole);
}

double round_to_places(double x, std::int32_t places) {
  if (x == 0) return x;
  const bool negative = x < 0;
  const double magnitude = std::fabs(x);
  const double scale = std::pow(10.0, static_cast<double>(places < 0 ? -places : places));
  double q = places > 0 ? magnitude * scale : (places == 0 ? magnitude : magnitude / scale);
  q += 0.000000000001;
  double r = std::trunc(q);
  if (q - r >= 0.5) r += 1;
  double result = places > 0 ? r / scale : (places == 0 ? r : r * scale);
  return negative ? -result : result;
}

double divide_to_whole(double x, std::initializer_list<double> divisors) {
  double running = x;
  for (double divisor : divisors) {
    if (divisor == 0) raise_runtime_error(0, "不能整除于零");
    running = std::trunc(running / divisor);
  }
  return running;
}

double abs_decimal(double x) { return x < 0 ? -x : x; }

}  // namespace tc
