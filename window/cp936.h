// Conversion between cp936 texts and UTF-8 at a binding's or a terminal's edge
// (glibc iconv, the whole code page, the euro sign at 0x80 included).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tc {

// UTF-8 for display; a byte that is not valid cp936 is written \xHH.
std::string cp936_to_utf8(std::string_view text);
// cp936 bytes of UTF-8 text; nullopt when a character has no cp936 form.
std::optional<std::string> utf8_to_cp936(std::string_view text);

}  // namespace tc
