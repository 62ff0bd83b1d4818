// The INI layout the store uses, on raw bytes: a lookup and an update that keep
// every byte they do not have to change. Matching follows the usual Windows profile
// rules: section and key compared without regard to ASCII case (bytes of two-byte
// characters never folded), blanks around names and values trimmed, one pair of
// matching outer quotes removed from a value, ";" lines are comments, the first
// matching key of the first matching section wins. Lines end in CR LF or LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tc {

// The value of key in section, or nullopt when the section or the key is missing.
std::optional<std::string> profile_lookup(std::string_view contents, std::string_view section,
                                          std::string_view key);

// Whether a key name can be written without changing the file's structure: not
// empty or blank, no "=", CR, LF or zero byte, not starting with "[" or ";". A
// section name must in addition hold no "]" at a character start. A value must
// hold no CR, LF or zero byte.
bool profile_name_writable(std::string_view name);
bool profile_section_writable(std::string_view section);
bool profile_value_writable(std::string_view value);

// contents with key=value set in section: an existing key's value replaced on its
// own line, a new key after the section's last key line, a missing section appended.
// nullopt when a name or the value is not writable.
std::optional<std::string> profile_update(std::string_view contents, std::string_view section,
                                          std::string_view key, std::string_view value);

}  // namespace tc
