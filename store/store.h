// The countdown store: "djs_cfg.ini" beside the executable, an INI file in code
// page 936 with one section, "倒计时", and one name=time-text line per saved target.
// Reads and writes work on raw bytes on every platform; a write replaces the file
// atomically, so a crash never leaves it half-written. Nothing here throws.
#pragma once

#include <cstdint>
#include <filesystem>

#include "text/text.h"
#include "text/value.h"

namespace tc {

inline constexpr char STORE_SECTION[] = "倒计时";
inline constexpr char DEFAULT_TARGET_NAME[] = "目标时间";
inline constexpr std::int32_t VALUE_BUFFER_SIZE = 10240;  // a value read is cut to 10239 bytes

// Where the store lives: the native path is what file operations use (on Windows
// it keeps characters code page 936 cannot express); text is the cp936 form.
struct StorePath {
  Text text;
  std::filesystem::path native;
};

// The directory of the running executable (not the working directory), without a
// trailing separator.
std::filesystem::path run_directory();
// The store file in the given directory.
StorePath store_path(const std::filesystem::path& directory);

bool store_exists(const StorePath& path);
// The whole file in one read; empty for a missing, unreadable or directory path.
ByteSequence store_read_file(const StorePath& path);
// The value of name in section, cut to VALUE_BUFFER_SIZE - 1 bytes; the default
// when the file, the section or the name is missing.
Text store_read_value(const StorePath& path, TextView section, TextView name, TextView default_value = {});
// Sets name=value in section, keeping every other byte of the file; false when the
// write failed or was refused (the file is then exactly as it was).
bool store_write_value(const StorePath& path, TextView section, TextView name, TextView value);
// The name part of every line after the first, in file order.
TextList store_list_names(const ByteSequence& contents);

}  // namespace tc
