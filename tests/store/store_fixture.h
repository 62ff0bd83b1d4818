// The fixture of the store tests: a fresh directory with the store path in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "store/store.h"
#include "tests/support/cp936_print.h"

namespace tc {

struct StoreTest : ::testing::Test {
  std::filesystem::path dir;
  StorePath path;
  void SetUp() override {
    namespace fs = std::filesystem;
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && dir.empty(); ++attempt) {
      const fs::path candidate = fs::temp_directory_path() / ("store-test-" + std::to_string(seed()));
      std::error_code ec;
      if (fs::create_directory(candidate, ec)) dir = candidate;
    }
    ASSERT_FALSE(dir.empty()) << "no fresh directory";
    path = store_path(dir);
  }
  void TearDown() override {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }
  void write(const std::string& bytes) const { std::ofstream(path.native, std::ios::binary) << bytes; }
  std::string contents() const {
    std::ifstream f(path.native, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
  }
};

using test::readable;

}  // namespace tc
