// The kinds of value the program turns into text and back, and the numeric
// helpers of the calculators. Pure functions; nothing throws.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "text/text.h"
#include "time/time.h"

namespace tc {

// Marks a double as a TimeValue, so that it converts as a time, not a decimal.
struct TimeOf {
  TimeValue value = 0.0;
};
// Raw bytes, such as a whole file's contents; may hold zero bytes.
struct ByteSequence {
  std::string bytes;
};

using Value = std::variant<std::int32_t, double, TimeOf, Text, ByteSequence>;

// Integers "%d"; decimals "%.13g" with an exponent of at least three digits and
// no sign on zero; times as the time text; texts as they are; bytes up to the
// first zero byte.
Text value_to_text(const Value& value);
// Folded, blanks skipped, optional sign, digits; wraps modulo 2^32; no digits is 0.
std::int32_t text_to_integer(TextView text);
// Texts through text_to_integer, decimals truncated (low 32 bits), others 0.
std::int32_t value_to_integer(const Value& value);
// Truncation toward zero, except within 1e-12 below a whole number (in magnitude).
std::int32_t truncate_with_tolerance(double x);
// Halves away from zero, with a 1e-12 bias; negative places round left of the point.
double round_to_places(double x, std::int32_t places = 0);
// x divided by each divisor in turn, truncated toward zero after each; a zero
// divisor is the run-time error "不能整除于零".
double divide_to_whole(double x, std::initializer_list<double> divisors);
double abs_decimal(double x);

}  // namespace tc
