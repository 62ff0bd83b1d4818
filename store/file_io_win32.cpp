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

#include <string>
#include <utility>

#include "store/file_io.h"
#include "store/store.h"

namespace tc {

std::filesystem::path file_in_directory(const std::filesystem::path& directory, const char* name) {
  // A plain backslash join: "C:" and "djs_cfg.ini" give "C:\djs_cfg.ini", where
  // operator/ would give the drive-relative "C:djs_cfg.ini".
  std::wstring joined = directory.native();
  joined += L'\\';
  for (const char* c = name; *c != '\0'; ++c) joined += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return std::filesystem::path(joined);
}

std::string path_text(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(936, 0, wide.data(), length, nullptr, 0, "?", nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(936, 0, wide.data(), length, out.data(), size, "?", nullptr);
  return out;
}

bool file_entry_exists(const std::filesystem::path& path) {
  WIN32_FIND_DATAW data;
  const HANDLE found = FindFirstFileW(path.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return false;
  FindClose(found);
  return true;
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  // Others may read meanwhile, nobody may write. A directory does not open
  // without backup semantics, so it reads as unreadable.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> result;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart <= 0x7FFFFFFF) {
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
      bytes.resize(got);
      result = std::move(bytes);
    }
  }
  CloseHandle(file);
  return result;
}

bool replace_file_atomically(const std::filesystem::path& path, const std::string& contents) {
  // A store the user marked read-only is left alone, as an in-place write would
  // have to; the rename alone would replace it on some file systems.
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
  // A UTF-16 backslash is always a character of its own, so the last one found
  // is the last separator; "C:\calc.exe" gives "C:".
  const std::size_t slash = buffer.rfind(L'\\');
  if (slash == std::wstring::npos) return {};
  buffer.resize(slash);
  return std::filesystem::path(buffer);
}

}  // namespace tc
