// One cp936 character (one byte, or a lead and a trail byte) as UTF-8, by the
// platform's own converter: glibc's iconv, or the Windows code page 936 tables.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tc::test {

// nullopt when the bytes are not exactly one valid cp936 character.
std::optional<std::string> cp936_char_to_utf8(std::string_view bytes);

}  // namespace tc::test
