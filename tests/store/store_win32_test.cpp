// The store's file layer on Windows: wide paths for folder names code page 936
// cannot express, the drive-root join, the ways a write can be refused by the
// file system (a read-only store, a store another program holds open), and a
// writer terminated at random moments.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <random>

#include "store/file_io.h"
#include "store/store.h"
#include "tests/store/store_fixture.h"

namespace tc {
namespace {

namespace fs = std::filesystem;

// Hangul has no code page 936 form; the Chinese characters have.
TEST_F(StoreTest, FolderNameWithoutACp936FormStillHoldsTheStore) {
  const fs::path sub = dir / fs::path(L"\uD55C\uAE00 \u5012\u8BA1\u65F6");  // "한글 倒计时"
  ASSERT_TRUE(fs::create_directory(sub));
  const StorePath p = store_path(sub);
  EXPECT_EQ(p.native.native(), sub.native() + L"\\djs_cfg.ini");
  EXPECT_EQ(p.text, path_text(dir) + "\\?? 倒计时\\djs_cfg.ini") << readable(p.text);
  ASSERT_TRUE(store_write_value(p, STORE_SECTION, DEFAULT_TARGET_NAME, "2021年10月1日"));
  EXPECT_TRUE(store_exists(p));
  EXPECT_EQ(store_read_value(p, STORE_SECTION, DEFAULT_TARGET_NAME), "2021年10月1日");
  // The bytes on disk, read through the wide name by the C runtime.
  FILE* f = _wfopen(p.native.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  char buffer[64] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buffer, n), "[倒计时]\r\n目标时间=2021年10月1日\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(sub), {}), 1);  // no temporary left
}

TEST(PathText, Cp936FormOfWideNames) {
  struct Case { const char* name; std::wstring wide; std::string text; } cases[] = {
      {"hangul syllables", L"\uD55C\uAE00", "??"},
      {"emoji as one surrogate pair", L"a\U0001F600b", "a?b"},
      {"lone high surrogate", std::wstring(L"a") + wchar_t(0xD800) + L"b", "a?b"},
      {"lone low surrogate at the end", std::wstring(L"a") + wchar_t(0xDC00), "a?"},
      {"greek, cyrillic and chinese kept", L"\u03A9\u0436\u65F6\u95F4", "Ωж时间"},
      {"euro sign is byte 0x80", L"\u20AC", "\x80"},
      {"drive path with backslashes", L"C:\\a\\b", "C:\\a\\b"},
      {"empty", L"", ""},
  };
  for (const Case& c : cases) EXPECT_TEXT_EQ(path_text(fs::path(c.wide)), c.text) << c.name;
}

TEST(FileInDirectory, JoinsWithOneBackslash) {
  struct Case { const char* name; std::wstring directory; std::wstring joined; } cases[] = {
      {"drive without separator", L"C:", L"C:\\djs_cfg.ini"},
      {"drive root", L"C:\\", L"C:\\djs_cfg.ini"},
      {"folder", L"C:\\a b", L"C:\\a b\\djs_cfg.ini"},
      {"no directory", L"", L"djs_cfg.ini"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file_in_directory(fs::path(c.directory), "djs_cfg.ini").native(), c.joined) << c.name;
  }
  EXPECT_EQ(store_path(fs::path(L"C:")).text, "C:\\djs_cfg.ini");
}

TEST_F(StoreTest, ReadOnlyStoreKeepsItsBytes) {
  write("[倒计时]\r\na=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(path.native.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "2"));
  EXPECT_EQ(contents(), "[倒计时]\r\na=1\r\n");
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "a"), "1");  // still readable
  EXPECT_EQ(entries(), 1u);
  SetFileAttributesW(path.native.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(StoreTest, StoreHeldOpenByAnotherProgram) {
  write("[倒计时]\r\na=1\r\n");
  // Another program reading the store and sharing it for reading only: the store
  // can be read, but not replaced while it is open.
  const HANDLE other = CreateFileW(path.native.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "a"), "1");
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "2"));
  EXPECT_EQ(entries(), 1u);
  CloseHandle(other);
  EXPECT_EQ(contents(), "[倒计时]\r\na=1\r\n");
  // Once it is closed, the next write goes through.
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "a", "2"));
  EXPECT_EQ(contents(), "[倒计时]\r\na=2\r\n");
}

TEST_F(StoreTest, StoreOpenWithoutSharingReadsAsEmpty) {
  write("[倒计时]\r\na=1\r\n");
  const HANDLE other =
      CreateFileW(path.native.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(store_exists(path));
  EXPECT_TRUE(store_read_file(path).bytes.empty());
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "a", "dflt"), "dflt");
  EXPECT_FALSE(store_write_value(path, STORE_SECTION, "a", "2"));
  CloseHandle(other);
  EXPECT_EQ(contents(), "[倒计时]\r\na=1\r\n");
  EXPECT_EQ(entries(), 1u);
}

// A writer process terminated at random moments never leaves a torn store: after
// every termination the file holds the old or the new value, and the next write
// cleans up whatever temporary was left.
TEST_F(StoreTest, TerminatedWriterNeverTearsTheFile) {
  const std::string padding(3000, 'p');  // a larger file makes a torn write likelier
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "t", "2021年1月1日"));
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "pad", padding));
  const std::string old_file = "[倒计时]\r\nt=2021年1月1日\r\npad=" + padding + "\r\n";
  const std::string new_file = "[倒计时]\r\nt=2022年2月2日\r\npad=" + padding + "\r\n";
  ASSERT_EQ(contents(), old_file);
  const fs::path writer = run_directory() / L"store_writer.exe";
  ASSERT_TRUE(fs::exists(writer));
  std::wstring command = L"\"" + writer.native() + L"\" \"" + dir.native() + L"\"";
  std::mt19937 rng(5);
  int temporaries_left = 0;
  for (int round = 0; round < 200; ++round) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    std::wstring line = command;  // CreateProcessW may write to it
    ASSERT_TRUE(CreateProcessW(writer.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &child));
    // Once the writer has flipped the value, it is in its loop: stop it a few
    // milliseconds later, at a moment nobody chose.
    const Text before = store_read_value(path, STORE_SECTION, "t");
    for (int waited = 0; waited < 10000 && store_read_value(path, STORE_SECTION, "t") == before; ++waited) Sleep(1);
    Sleep(static_cast<DWORD>(rng() % 4));
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    const std::string after = contents();
    ASSERT_TRUE(after == old_file || after == new_file) << "round " << round << ": " << readable(after.substr(0, 40));
    if (entries() > 1) ++temporaries_left;
    ASSERT_TRUE(store_write_value(path, STORE_SECTION, "t", round % 2 != 0 ? "2021年1月1日" : "2022年2月2日"));
    ASSERT_EQ(entries(), 1u) << "round " << round;
  }
  std::cout << "terminations that left a temporary file: " << temporaries_left << " of 200\n";
}

}  // namespace
}  // namespace tc
