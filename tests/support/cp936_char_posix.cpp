// glibc's iconv ("CP936").
#include <iconv.h>

#include "tests/support/cp936_char.h"

namespace tc::test {

std::optional<std::string> cp936_char_to_utf8(std::string_view bytes) {
  struct Converter {
    iconv_t cd = iconv_open("UTF-8", "CP936");
    ~Converter() {
      if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
  };
  thread_local Converter converter;
  if (converter.cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in(bytes);
  char out[16];
  char* src = in.data();
  std::size_t src_left = in.size();
  char* dst = out;
  std::size_t dst_left = sizeof out;
  iconv(converter.cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter.cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) || src_left != 0) {
    return std::nullopt;
  }
  return std::string(out, sizeof out - dst_left);
}

}  // namespace tc::test
