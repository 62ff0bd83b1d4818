// Store operations over the platform's file layer (file_io.h) and the profile
// rules of profile.cpp.
#include "store/store.h"

#include <string>

#include "store/file_io.h"
#include "store/profile.h"

namespace tc {
namespace {

// Leading bytes 0x01..0x20 (blanks and control characters) are skipped on read.
TextView skip_leading_controls(TextView s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) >= 0x01 && static_cast<unsigned char>(s.front()) <= 0x20) {
    s.remove_prefix(1);
  }
  return s;
}

// At most `limit` bytes of s, never ending in the middle of a two-byte character.
TextView cut_at_character(TextView s, std::size_t limit) {
  if (s.size() <= limit) return s;
  std::size_t i = 0;
  while (i < limit) {
    const std::size_t step = static_cast<unsigned char>(s[i]) >= 0x80 ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  return s.substr(0, i);
}

}  // namespace

StorePath store_path(const std::filesystem::path& directory) {
  StorePath p;
  p.native = file_in_directory(directory, "djs_cfg.ini");
  p.text = path_text(p.native);
  return p;
}

bool store_exists(const StorePath& path) { return file_entry_exists(path.native); }

ByteSequence store_read_file(const StorePath& path) {
  if (path.native.empty()) return {};
  return ByteSequence{read_whole_file(path.native).value_or(std::string())};
}

Text store_read_value(const StorePath& path, TextView section, TextView name, TextView default_value) {
  section = skip_leading_controls(section);
  name = skip_leading_controls(name);
  if (path.native.empty() || section.empty() || name.empty()) return Text();
  const std::optional<std::string> contents = read_whole_file(path.native);
  std::optional<std::string> value;
  if (contents) value = profile_lookup(text_from_bytes(*contents), section, name);
  const std::string& found = value ? *value : std::string(default_value);
  return Text(cut_at_character(found, VALUE_BUFFER_SIZE - 1));
}

bool store_write_value(const StorePath& path, TextView section, TextView name, TextView value) {
  if (path.native.empty()) return false;
  std::string old_contents;
  if (file_entry_exists(path.native)) {
    std::optional<std::string> read = read_whole_file(path.native);
    if (!read) return false;  // present but unreadable: never replace what we cannot keep
    old_contents = std::move(*read);
  }
  const std::optional<std::string> updated = profile_update(old_contents, section, name, value);
  if (!updated) return false;
  return replace_file_atomically(path.native, *updated);
}

TextList store_list_names(const ByteSequence& contents) {
  TextList lines = text_split(text_from_bytes(contents.bytes), "\r\n");
  TextList names;
  if (lines.size() <= 1) return names;
  names.reserve(lines.size() - 1);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::int32_t eq = text_find(lines[i], "=");
    names.push_back(text_left(lines[i], eq - 1));
  }
  return names;
}

}  // namespace tc
