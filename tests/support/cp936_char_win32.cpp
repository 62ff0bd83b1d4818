// The Windows code page 936 tables, through UTF-16.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "tests/support/cp936_char.h"

namespace tc::test {

std::optional<std::string> cp936_char_to_utf8(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 2) return std::nullopt;
  // A lone lead byte is not a character, though the converter would map it.
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1 && first >= 0x81 && first <= 0xFE) return std::nullopt;
  wchar_t wide[4];
  const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4);
  if (n != 1) return std::nullopt;
  char out[8];
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr);
  if (m <= 0) return std::nullopt;
  return std::string(out, static_cast<std::size_t>(m));
}

}  // namespace tc::test
