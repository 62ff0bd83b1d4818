// Byte texts in code page 936, the form every text of the program takes: captions,
// list items, the store file, the time text, number texts.
//
// A Text is a std::string of cp936 bytes that never holds a zero byte; the empty
// string is the one empty text. Lengths and positions count bytes; positions are
// 1-based. A byte of 0x80 or more starts a two-byte character: only text_find,
// text_split and fold_half_width step over such pairs; the other operations count
// and cut plain bytes. Every operation returns a new value; nothing throws (running
// out of memory goes to the run-time error report, text/runtime_error.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

using Text = std::string;
using TextView = std::string_view;
using TextList = std::vector<Text>;

// Plain unsigned byte order: -1, 0 or 1.
std::int32_t text_compare(TextView a, TextView b);
std::int32_t text_length(TextView s);
// All parts in order, in one allocation of the summed size.
Text text_join(std::initializer_list<TextView> parts);
// The first / last n bytes (n <= 0 gives the empty text).
Text text_left(TextView s, std::int32_t n);
Text text_right(TextView s, std::int32_t n);
// 1-based byte position of needle, matched only at character starts, or -1.
std::int32_t text_find(TextView s, TextView needle, std::optional<std::int32_t> start = std::nullopt,
                       bool ignore_case = false);
// s with count bytes from start replaced by insert (positions clamped).
Text text_replace_at(TextView s, std::int32_t start, std::int32_t count, TextView insert = {});
// Pieces between delimiters found at character starts; no empty last piece.
TextList text_split(TextView s, TextView delimiter = ",", std::optional<std::int32_t> limit = std::nullopt);
// The bytes up to the first zero byte.
Text text_from_bytes(std::string_view bytes);
// Full-width ASCII forms (0xA3 0xA1..0xFE), the ideographic space, ～ and ＊ become
// their one-byte forms; a lone lead byte at the end is dropped.
Text fold_half_width(TextView s);
// fold_half_width written to out, which has room for s.size() bytes (folding never
// lengthens a text); the count of bytes written. Lets a parser fold a short text
// on the stack.
std::size_t fold_half_width_to(TextView s, char* out);
// The last `width` (2 or 3) bytes of "0" or "00" joined before s.
Text zero_pad(TextView s, std::int32_t width);

}  // namespace tc
