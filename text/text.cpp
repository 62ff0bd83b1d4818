// Byte-text operations. Positions are 1-based bytes; only text_find, text_split and
// fold_half_width step over two-byte characters (lead byte 0x80..0xFF).
#include "text/text.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

#include "text/runtime_error.h"

namespace tc {
namespace {

constexpr bool is_lead_byte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

constexpr char fold_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::int32_t length32(TextView s) { return static_cast<std::int32_t>(std::min<std::size_t>(s.size(), INT32_MAX)); }

// A text of exactly n bytes; exhausted memory goes to the run-time error report.
Text make_text(std::size_t n) {
  try {
    return Text(n, '\0');
  } catch (const std::bad_alloc&) {
    raise_out_of_memory(n + 1);
  } catch (const std::length_error&) {
    raise_out_of_memory(n + 1);
  }
}

// Bytes of a view, cut at the first zero byte: a text never holds one.
TextView without_zero(TextView s) {
  const std::size_t zero = s.find('\0');
  return zero == TextView::npos ? s : s.substr(0, zero);
}

Text copy_of(TextView s) {
  s = without_zero(s);
  Text t = make_text(s.size());
  std::copy(s.begin(), s.end(), t.begin());
  return t;
}

}  // namespace

std::int32_t text_compare(TextView a, TextView b) {
  a = without_zero(a);
  b = without_zero(b);
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::int32_t text_length(TextView s) { return length32(without_zero(s)); }

Text text_join(std::initializer_list<TextView> parts) {
  std::size_t total = 0;
  for (TextView p : parts) total += without_zero(p).size();
  Text t = make_text(total);
  auto out = t.begin();
  for (TextView p : parts) {
    p = without_zero(p);
    out = std::copy(p.begin(), p.end(), out);
  }
  return t;
}

Text text_left(TextView s, std::int32_t n) {
  if (n <= 0) return Text();
  s = without_zero(s);
  return copy_of(s.substr(0, std::min<std::size_t>(static_cast<std::size_t>(n), s.size())));
}

Text text_right(TextView s, std::int32_t n) {
  if (n <= 0) return Text();
  s = without_zero(s);
  const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), s.size());
  return copy_of(s.substr(s.size() - k));
}

std::int32_t text_find(TextView s, TextView needle, std::optional<std::int32_t> start, bool ignore_case) {
  s = without_zero(s);
  needle = without_zero(needle);
  const std::size_t length = s.size();
  const std::size_t offset = start ? static_cast<std::size_t>(std::max(*start - 1, 0)) : 0;
  std::size_t remaining = offset >= length ? 0 : length - offset;
  if (needle.empty()) return remaining > 0 ? 1 : -1;
  const std::size_t m = needle.size();
  // remaining is always length - pos.
  for (std::size_t pos = offset; remaining >= m; remaining = length - pos) {
    bool equal = true;
    for (std::size_t i = 0; i < m && equal; ++i) {
      equal = ignore_case ? fold_ascii(s[pos + i]) == fold_ascii(needle[i]) : s[pos + i] == needle[i];
    }
    if (equal) return static_cast<std::int32_t>(pos + 1);
    if (is_lead_byte(s[pos])) {
      if (pos + 1 >= length) return -1;  // a lead byte with nothing after it
      ++pos;
    }
    ++pos;
  }
  return -1;
}

Text text_replace_at(TextView s, std::int32_t start, std::int32_t count, TextView insert) {
  s = without_zero(s);
  const std::size_t length = s.size();
  const std::size_t offset = std::min<std::size_t>(static_cast<std::size_t>(std::max(start - 1, 0)), length);
  const std::size_t deleted = count < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(count), length - offset);
  return text_join({s.substr(0, offset), insert, s.substr(offset + deleted)});
}

namespace {

// Appends a piece; a list that cannot grow goes to the run-time error report with
// the size the list asked for (it doubles its room).
void append_piece(TextList& pieces, TextView piece) {
  Text copy = copy_of(piece);
  try {
    pieces.push_back(std::move(copy));
  } catch (const std::bad_alloc&) {
    raise_out_of_memory((pieces.capacity() == 0 ? 1 : 2 * pieces.capacity()) * sizeof(Text));
  } catch (const std::length_error&) {
    raise_out_of_memory((pieces.capacity() == 0 ? 1 : 2 * pieces.capacity()) * sizeof(Text));
  }
}

}  // namespace

TextList text_split(TextView s, TextView delimiter, std::optional<std::int32_t> limit) {
  s = without_zero(s);
  delimiter = without_zero(delimiter);
  std::int32_t left = limit ? std::max(*limit, 0) : 0;
  TextList pieces;
  if (s.empty() || (limit && left == 0)) return pieces;
  if (delimiter.empty()) {
    append_piece(pieces, s);
    return pieces;
  }
  const std::size_t k = delimiter.size();
  std::size_t piece_start = 0;
  std::size_t pos = 0;
  while (s.size() - pos >= k) {
    if (s.compare(pos, k, delimiter) == 0) {
      append_piece(pieces, s.substr(piece_start, pos - piece_start));
      pos += k;
      piece_start = pos;
      if (limit && --left == 0) return pieces;
      continue;
    }
    if (is_lead_byte(s[pos])) {
      if (pos + 1 >= s.size()) break;  // lone lead byte at the end
      ++pos;
    }
    ++pos;
  }
  if (piece_start < s.size()) append_piece(pieces, s.substr(piece_start));
  return pieces;
}

Text text_from_bytes(std::string_view bytes) { return copy_of(bytes); }

std::size_t fold_half_width_to(TextView s, char* out) {
  s = without_zero(s);
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      out[n++] = s[i];
      continue;
    }
    if (i + 1 >= s.size()) break;  // a lead byte with no trail byte is dropped
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    ++i;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out[n++] = static_cast<char>(trail & 0x7F);  // full-width ASCII form
    } else if (lead == 0xA1 && trail == 0xA1) {
      out[n++] = ' ';  // ideographic space
    } else if (lead == 0xA1 && trail == 0xAB) {
      out[n++] = '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out[n++] = '*';
    } else {
      out[n++] = static_cast<char>(lead);
      out[n++] = static_cast<char>(trail);
    }
  }
  return n;
}

Text fold_half_width(TextView s) {
  s = without_zero(s);
  Text out = make_text(s.size());
  out.resize(fold_half_width_to(s, out.data()));
  return out;
}

Text zero_pad(TextView s, std::int32_t width) {
  const Text joined = text_join({width == 3 ? "00" : "0", s});
  return text_right(joined, width);
}

}  // namespace tc
