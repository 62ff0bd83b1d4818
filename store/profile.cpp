#include "store/profile.h"

#include <vector>

namespace tc {
namespace {

struct Line {
  std::size_t begin;    // first byte
  std::size_t end;      // one past the last byte before CR LF / LF
  std::size_t next;     // first byte of the next line
};

std::vector<Line> lines_of(std::string_view s) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < s.size()) {
    const std::size_t lf = s.find('\n', begin);
    const std::size_t next = lf == std::string_view::npos ? s.size() : lf + 1;
    std::size_t end = lf == std::string_view::npos ? s.size() : lf;
    if (end > begin && s[end - 1] == '\r') --end;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// Equal without regard to ASCII case; a two-byte character compares exactly.
bool names_equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80) {
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (fold(x) != fold(y)) return false;
  }
  return true;
}

// The section name of a header line "[name]", or nullopt for any other line.
std::optional<std::string_view> header_name(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  // The last "]" that starts a character closes the name: 0x5D is also a valid
  // second byte of a two-byte character.
  std::size_t close = std::string_view::npos;
  for (std::size_t i = 1; i < line.size(); i += static_cast<unsigned char>(line[i]) >= 0x80 ? 2u : 1u) {
    if (line[i] == ']') close = i;
  }
  std::string_view name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  return trim(name);
}

bool is_comment(std::string_view line) {
  line = trim(line);
  return !line.empty() && line.front() == ';';
}

// Key part of a key line (before the first "="), or nullopt for lines without one.
std::optional<std::string_view> key_of(std::string_view line) {
  if (is_comment(line)) return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return trim(line.substr(0, eq));
}

struct SectionSpan {
  std::size_t header;  // index of the header line
  std::size_t end;     // one past its last line
};

std::optional<SectionSpan> find_section(const std::vector<Line>& lines, std::string_view s, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = header_name(s.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (!name || !names_equal(*name, section)) continue;
    std::size_t j = i + 1;
    while (j < lines.size() && !header_name(s.substr(lines[j].begin, lines[j].end - lines[j].begin))) ++j;
    return SectionSpan{i, j};
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> profile_lookup(std::string_view contents, std::string_view section,
                                          std::string_view key) {
  const std::vector<Line> lines = lines_of(contents);
  const auto span = find_section(lines, contents, trim(section));
  if (!span) return std::nullopt;
  key = trim(key);
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const std::string_view line = contents.substr(lines[i].begin, lines[i].end - lines[i].begin);
    const auto k = key_of(line);
    if (!k || !names_equal(*k, key)) continue;
    std::string_view value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

bool profile_name_writable(std::string_view name) {
  if (trim(name).empty()) return false;
  if (name.find_first_of(std::string_view("=\r\n\0", 4)) != std::string_view::npos) return false;
  const std::string_view t = trim(name);
  return t.front() != '[' && t.front() != ';';
}

bool profile_section_writable(std::string_view section) {
  if (!profile_name_writable(section)) return false;
  // A "]" at a character start would end the header early; as the second byte of
  // a two-byte character it is part of the name.
  for (std::size_t i = 0; i < section.size(); i += static_cast<unsigned char>(section[i]) >= 0x80 ? 2u : 1u) {
    if (section[i] == ']') return false;
  }
  return true;
}

bool profile_value_writable(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

std::optional<std::string> profile_update(std::string_view contents, std::string_view section,
                                          std::string_view key, std::string_view value) {
  if (!profile_section_writable(section) || !profile_name_writable(key) || !profile_value_writable(value)) {
    return std::nullopt;
  }
  // Names are written without the blanks around them, as the reader trims them.
  section = trim(section);
  key = trim(key);
  const std::vector<Line> lines = lines_of(contents);
  const std::string entry = std::string(key) + "=" + std::string(value);
  const auto span = find_section(lines, contents, section);
  std::string out;
  out.reserve(contents.size() + entry.size() + section.size() + 8);

  if (!span) {
    out.assign(contents);
    if (!out.empty() && !out.ends_with("\r\n")) out += "\r\n";
    // Appended piece by piece: GCC 12 misreports chained operator+ (-Wrestrict).
    out.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
    return out;
  }

  // An existing key: the bytes after "=" (and the blanks after it) are replaced.
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const Line& l = lines[i];
    const std::string_view line = contents.substr(l.begin, l.end - l.begin);
    const auto k = key_of(line);
    if (!k || !names_equal(*k, key)) continue;
    std::size_t value_begin = l.begin + line.find('=') + 1;
    while (value_begin < l.end && is_blank(contents[value_begin])) ++value_begin;
    out.append(contents.substr(0, value_begin));
    out.append(value);
    out.append(contents.substr(l.end));
    return out;
  }

  // A new key: after the section's last key line, or right after its header.
  std::size_t after = span->header;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    const std::string_view line = contents.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (key_of(line)) after = i;
  }
  const Line& anchor = lines[after];
  out.append(contents.substr(0, anchor.next));
  if (anchor.next == anchor.end) out += "\r\n";  // the anchor line had no line end
  out += entry + "\r\n";
  out.append(contents.substr(anchor.next));
  return out;
}

}  // namespace tc
