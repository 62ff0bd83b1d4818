#include "window/cp936.h"

#include <iconv.h>

#include <cstdio>

namespace tc {
namespace {

// One character (one or two bytes) converted, or nullopt when it is not valid.
std::optional<std::string> convert(iconv_t cd, std::string_view in) {
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) || src_left != 0) return std::nullopt;
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace

std::string cp936_to_utf8(std::string_view text) {
  static thread_local iconv_t cd = iconv_open("UTF-8", "CP936");
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead >= 0x81 && lead <= 0xFE && i + 1 < text.size() ? 2 : 1;
    std::optional<std::string> c = lead < 0x80 ? std::optional<std::string>(std::string(1, text[i]))
                                               : convert(cd, text.substr(i, n));
    if (!c && n == 2) {
      // Not a pair: perhaps a lone byte that converts by itself (0x80, the euro sign).
      c = convert(cd, text.substr(i, 1));
      if (c) {
        out += *c;
        i += 1;
        continue;
      }
    }
    if (c) {
      out += *c;
      i += n;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", lead);
      out += hex;
      i += 1;
    }
  }
  return out;
}

std::optional<std::string> utf8_to_cp936(std::string_view text) {
  static thread_local iconv_t cd = iconv_open("CP936", "UTF-8");
  return convert(cd, text);
}

}  // namespace tc
