// cp936 to readable UTF-8, one character at a time so that a bad byte costs only
// itself.
#include "tests/support/cp936_print.h"

#include <cstdio>
#include <optional>

#include "tests/support/cp936_char.h"

namespace tc::test {
namespace {

void append_hex(std::string& out, unsigned char byte) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "\\x%02X", byte);
  out += hex;
}

}  // namespace

std::string readable(std::string_view cp936) {
  std::string out = "\"";
  for (std::size_t i = 0; i < cp936.size();) {
    const auto byte = static_cast<unsigned char>(cp936[i]);
    if (byte < 0x80) {
      switch (byte) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
          if (byte < 0x20 || byte == 0x7F) {
            append_hex(out, byte);
          } else {
            out += static_cast<char>(byte);
          }
      }
      ++i;
      continue;
    }
    if (i + 1 < cp936.size()) {
      if (auto pair = cp936_char_to_utf8(cp936.substr(i, 2))) {
        out += *pair;
        i += 2;
        continue;
      }
    }
    // Not the start of a valid pair: a byte that stands alone in cp936 (0x80, the
    // euro sign), or a stray byte shown as hex.
    if (auto single = cp936_char_to_utf8(cp936.substr(i, 1))) {
      out += *single;
    } else {
      append_hex(out, byte);
    }
    ++i;
  }
  out += '"';
  return out;
}

std::string readable(const std::vector<std::string>& list) {
  std::string out = "{";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i != 0) out += ", ";
    out += readable(list[i]);
  }
  out += '}';
  return out;
}

::testing::AssertionResult text_eq(const char* actual_expr, const char* expected_expr,
                                   std::string_view actual, std::string_view expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual_expr << " is " << readable(actual) << "\n"
                                       << expected_expr << " is " << readable(expected);
}

::testing::AssertionResult text_list_eq(const char* actual_expr, const char* expected_expr,
                                        const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual_expr << " is " << readable(actual) << "\n"
                                       << expected_expr << " is " << readable(expected);
}

}  // namespace tc::test
