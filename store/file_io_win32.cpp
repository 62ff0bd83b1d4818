// The store's file layer on Windows. Every operation takes the wide path, so a
// program in a folder whose name code page 936 cannot express still finds and
// writes its store; only the text form goes through code page 936.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "store/file_io.h"
#include "store/store.h"

namespace tc {
namespace {

constexpr UINT CP936 = 936;

bool is_high_surrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Appends the cp936 form of a run of UTF-16 units holding no surrogate; a
// character without a cp936 form becomes "?".
void append_cp936(std::string& out, const wchar_t* wide, std::size_t length) {
  if (length == 0) return;
  const int in_size = static_cast<int>(length);
  const int size = WideCharToMultiByte(CP936, 0, wide, in_size, nullptr, 0, "?", nullptr);
  if (size <= 0) {
    out.append(length, '?');
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(size));
  const int done = WideCharToMultiByte(CP936, 0, wide, in_size, out.data() + at, size, "?", nullptr);
  out.resize(at + static_cast<std::size_t>(done > 0 ? done : 0));
}

}  // namespace

std::filesystem::path file_in_directory(const std::filesystem::path& directory, const char* name) {
  // A plain backslash join: "C:" and "djs_cfg.ini" give "C:\djs_cfg.ini", where
  // operator/ would give the drive-relative "C:djs_cfg.ini". An empty directory
  // gives the bare name, as on POSIX.
  std::wstring joined = directory.native();
  if (!joined.empty() && joined.back() != L'\\' && joined.back() != L'/') joined += L'\\';
  const int name_size = static_cast<int>(std::strlen(name));
  if (name_size > 0) {
    const int wide_size = MultiByteToWideChar(CP936, 0, name, name_size, nullptr, 0);
    if (wide_size > 0) {
      const std::size_t at = joined.size();
      joined.resize(at + static_cast<std::size_t>(wide_size));
      MultiByteToWideChar(CP936, 0, name, name_size, joined.data() + at, wide_size);
    }
  }
  return std::filesystem::path(joined);
}

std::string path_text(const std::filesystem::path& path) {
  // cp936 has no character outside the Basic Multilingual Plane, so a surrogate
  // pair is one "?" (as is a lone surrogate); the runs between go through the
  // system conversion, which writes "?" for any other character it cannot map.
  const std::wstring& wide = path.native();
  std::string out;
  out.reserve(wide.size() * 2);
  std::size_t run = 0;
  for (std::size_t i = 0; i < wide.size();) {
    if (!is_high_surrogate(wide[i]) && !is_low_surrogate(wide[i])) {
      ++i;
      continue;
    }
    append_cp936(out, wide.data() + run, i - run);
    out += '?';
    i += (is_high_surrogate(wide[i]) && i + 1 < wide.size() && is_low_surrogate(wide[i + 1])) ? 2u : 1u;
    run = i;
  }
  append_cp936(out, wide.data() + run, wide.size() - run);
  return out;
}

bool file_entry_exists(const std::filesystem::path& path) {
  // Attributes of the entry itself: a directory counts, a link is not followed.
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  // Others may read meanwhile, nobody may write. A directory does not open
  // without backup semantics; its attributes are checked as well.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> result;
  BY_HANDLE_FILE_INFORMATION info{};
  LARGE_INTEGER size{};
  const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) != 0 &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  // One ReadFile: at most 2^31 - 1 bytes, far beyond any store.
  if (regular && GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart <= 0x7FFFFFFF) {
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
      bytes.resize(got);  // a file shorter than it claimed gives the bytes that came
      result = std::move(bytes);
    }
  }
  CloseHandle(file);
  return result;
}

bool replace_file_atomically(const std::filesystem::path& path, const std::string& contents) {
  // A read-only store stays as it is. Windows refuses to move a file over it;
  // the check makes that hold wherever the move would succeed (Wine renames over
  // it), and no temporary is made.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // One fixed temporary name beside the store, as on POSIX: a writer killed
  // midway leaves at most this file, and the next write overwrites and moves it.
  std::filesystem::path temp = path;
  temp.replace_filename(L"." + path.filename().native() + L".tmp");
  const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < contents.size()) {
    const std::size_t left = contents.size() - done;
    const DWORD chunk = static_cast<DWORD>(left < 0x40000000u ? left : 0x40000000u);
    DWORD written = 0;
    ok = WriteFile(file, contents.data() + done, chunk, &written, nullptr) != 0 && written > 0;
    done += written;
  }
  ok = ok && FlushFileBuffers(file) != 0;
  ok = (CloseHandle(file) != 0) && ok;
  // The move replaces the store in one step and returns only once it is on disk.
  ok = ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

std::filesystem::path run_directory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    if (buffer.size() >= 32768) return {};  // longer than any Windows path
    buffer.resize(buffer.size() * 2);
  }
  // A UTF-16 backslash is always a character of its own (never part of another
  // character, unlike byte 0x5C in cp936), so the last one found walking back
  // is the last separator; "C:\calc.exe" gives "C:".
  std::size_t slash = buffer.size();
  while (slash > 0 && buffer[slash - 1] != L'\\') --slash;
  if (slash == 0) return {};
  buffer.resize(slash - 1);
  return std::filesystem::path(buffer);
}

}  // namespace tc
