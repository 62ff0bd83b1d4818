// The file operations the store needs, per platform (file_io_posix.cpp, and
// file_io_win32.cpp on wide paths).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tc {

// The file called name in directory, joined with the platform's separator (on
// Windows a backslash, so that a drive root "C:" gives "C:\\name").
std::filesystem::path file_in_directory(const std::filesystem::path& directory, const char* name);
// The path in code page 936, the form the rest of the program shows; a character
// that has no cp936 form becomes "?". File operations keep using the path itself.
std::string path_text(const std::filesystem::path& path);

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
