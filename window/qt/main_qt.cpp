// time-calculator: the calculator in a Qt 6 window. Takes no command line.
#include <unistd.h>

#include "app/app.h"
#include "window/qt/qt_binding.h"

int main(int argc, char** argv) {
  const std::filesystem::path directory = tc::run_directory();
  if (::chdir(directory.c_str()) != 0) {
    // Nothing depends on the working directory: the store path is absolute.
  }
  std::unique_ptr<tc::Binding> binding = tc::make_qt_binding(argc, argv);
  return tc::run_program(*binding, tc::system_clock(), directory);
}
