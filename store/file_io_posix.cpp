#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>

#include "store/file_io.h"
#include "store/store.h"

namespace tc {
namespace {

bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool file_entry_exists(const std::filesystem::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::string> result;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    bool failed = false;
    while (got < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) failed = true;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    if (!failed) {
      bytes.resize(got);
      result = std::move(bytes);
    }
  }
  ::close(fd);
  return result;
}

bool replace_file_atomically(const std::filesystem::path& path, const std::string& contents) {
  const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  // One fixed temporary name: a writer killed midway leaves at most this file,
  // and the next write truncates and reuses it.
  std::string temp_name = ".";
  temp_name.append(path.filename().string()).append(".tmp");
  const std::string temp = (directory / temp_name).string();
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
  if (fd < 0) return false;
  // Keep the permissions of the file being replaced.
  bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, contents.data(), contents.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dir_fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
  return true;
}

std::filesystem::path file_in_directory(const std::filesystem::path& directory, const char* name) {
  return directory / name;
}

// File names here are UTF-8 bytes; glibc's iconv turns them into cp936.
std::string path_text(const std::filesystem::path& path) {
  std::string in = path.native();
  const iconv_t cd = ::iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(std::intptr_t{-1})) return in;
  std::string out(in.size() + 4, '\0');  // cp936 never takes more bytes than UTF-8
  char* src = in.data();
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  while (src_left > 0) {
    if (::iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG || dst_left == 0) break;
    // Not convertible or not UTF-8: one "?" for the character, continuation bytes
    // (0x80..0xBF) after its first byte skipped with it.
    *dst++ = '?';
    --dst_left;
    do {
      ++src;
      --src_left;
    } while (src_left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
  }
  ::iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

std::filesystem::path run_directory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

}  // namespace tc
