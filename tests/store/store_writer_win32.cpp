// store_writer DIR: writes alternating values to the store in DIR until it is
// terminated. The child of the terminated-writer test.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>

#include "store/store.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) return 2;
  const tc::StorePath path = tc::store_path(std::filesystem::path(argv[1]));
  for (unsigned i = 0;; ++i) {
    tc::store_write_value(path, tc::STORE_SECTION, "t", i % 2 != 0 ? "2021年1月1日" : "2022年2月2日");
  }
}
