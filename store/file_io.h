// The file operations the store needs, per platform (file_io_posix.cpp; the
// Windows layer, with wide paths, is still to be written).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tc {

// An entry of exactly that name exists (a directory counts).
bool file_entry_exists(const std::filesystem::path& path);
// The whole regular file in one read; nullopt when it cannot be opened or read or
// is not a regular file. A file shorter than it claimed gives the bytes that came.
std::optional<std::string> read_whole_file(const std::filesystem::path& path);
// Replaces path with contents so that a crash at any moment leaves either the old
// or the new file: a temporary file in the same directory, flushed to disk, renamed
// over path, then the directory flushed. On failure the old file is untouched, the
// temporary is removed, and the result is false.
bool replace_file_atomically(const std::filesystem::path& path, const std::string& contents);

}  // namespace tc
