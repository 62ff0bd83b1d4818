// The store's failure paths that need POSIX: a child process per case (fork),
// permissions for an unprivileged user, a file-size limit, SIGKILL at random.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <random>
#include <thread>

#include "store/store.h"
#include "tests/store/store_fixture.h"

namespace tc {
namespace {

namespace fs = std::filesystem;

// Runs fn in a child process and returns its exit status.
template <class F>
int in_child(F fn) {
  const pid_t pid = fork();
  if (pid == 0) _exit(fn());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST_F(StoreTest, ReadOnlyDirectoryKeepsTheOldFile) {
  write("[倒计时]\r\na=1\r\n");
  ::chmod(path.native.c_str(), 0644);
  ::chmod(dir.c_str(), 0755);
  // Root ignores permissions: the child drops to an unprivileged user first.
  const int result = in_child([&] {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 3;
    return store_write_value(path, STORE_SECTION, "a", "2") ? 1 : 0;
  });
  if (result == 3) GTEST_SKIP() << "cannot drop privileges here";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(contents(), "[倒计时]\r\na=1\r\n");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(StoreTest, FullDiskKeepsTheOldFile) {
  write("[倒计时]\r\na=1\r\n");
  const int result = in_child([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8, 8};  // writes past 8 bytes fail as on a full disk
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    return store_write_value(path, STORE_SECTION, "a", "2021年10月1日") ? 1 : 0;
  });
  ASSERT_NE(result, 3);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(contents(), "[倒计时]\r\na=1\r\n");
  EXPECT_EQ(entries(), 1u);
}

// A writer killed at random moments never leaves a torn store: after every kill
// the file holds the old or the new value, and the next write cleans up.
TEST_F(StoreTest, KilledWriterNeverTearsTheFile) {
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "t", "2021年1月1日"));
  std::mt19937 rng(3);
  const std::string padding(3000, 'p');  // a larger file makes a torn write likelier
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "pad", padding));
  const std::string old_file = "[倒计时]\r\nt=2021年1月1日\r\npad=" + padding + "\r\n";
  const std::string new_file = "[倒计时]\r\nt=2022年2月2日\r\npad=" + padding + "\r\n";
  ASSERT_EQ(contents(), old_file);
  int temporaries_left_by_kills = 0;
  for (int kill_round = 0; kill_round < 200; ++kill_round) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (unsigned i = 0;; ++i) store_write_value(path, STORE_SECTION, "t", i % 2 ? "2021年1月1日" : "2022年2月2日");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200 + rng() % 3000));
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    // The whole file is one of the two complete versions, byte for byte.
    const std::string after_kill = contents();
    ASSERT_TRUE(after_kill == old_file || after_kill == new_file)
        << "round " << kill_round << ": " << readable(after_kill.substr(0, 40));
    const Text t = store_read_value(path, STORE_SECTION, "t");
    ASSERT_TRUE(t == "2021年1月1日" || t == "2022年2月2日") << "round " << kill_round << ": " << readable(t);
    if (entries() > 1) ++temporaries_left_by_kills;
    // The next write replaces whatever a killed writer left behind.
    ASSERT_TRUE(store_write_value(path, STORE_SECTION, "t", kill_round % 2 ? "2021年1月1日" : "2022年2月2日"));
    ASSERT_EQ(entries(), 1u) << "round " << kill_round;
  }
  // How many kills landed between creating the temporary and renaming it.
  RecordProperty("temporaries_left_by_kills", temporaries_left_by_kills);
  std::cout << "kills that left a temporary file: " << temporaries_left_by_kills << " of 200\n";
  ASSERT_TRUE(store_write_value(path, STORE_SECTION, "t", "2023年3月3日"));
  EXPECT_EQ(store_read_value(path, STORE_SECTION, "t"), "2023年3月3日");
  EXPECT_EQ(entries(), 1u);  // the next write leaves no temporary behind
}

// File names on this system are UTF-8; the text form of the store path is cp936,
// and the file operations work on the native path.
TEST_F(StoreTest, ChineseDirectoryNameHasACp936Text) {
  const std::u8string utf8_name = u8"倒计时目录";
  const fs::path sub = dir / fs::path(utf8_name);
  fs::create_directory(sub);
  const StorePath p = store_path(sub);
  EXPECT_EQ(p.native, sub / "djs_cfg.ini");
  EXPECT_EQ(p.text, dir.string() + "/倒计时目录/djs_cfg.ini") << readable(p.text);
  ASSERT_TRUE(store_write_value(p, STORE_SECTION, DEFAULT_TARGET_NAME, "2021年10月1日"));
  EXPECT_EQ(store_read_value(p, STORE_SECTION, DEFAULT_TARGET_NAME), "2021年10月1日");
  // A character without a cp936 form (U+1F600) shows as one "?".
  const fs::path odd = dir / fs::path(std::u8string(u8"a\U0001F600b"));
  EXPECT_EQ(store_path(odd).text, dir.string() + "/a?b/djs_cfg.ini");
}

}  // namespace
}  // namespace tc
