// The run-time error report seam between the core layers and the window.
#include "text/runtime_error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tc {
namespace {

std::atomic<RuntimeErrorReport> installed_report{nullptr};

// Without a window: the report text on standard error, then exit code -1.
[[noreturn]] void report_to_stderr(std::int32_t code, TextView message, std::int32_t routine,
                                   std::int32_t position) {
  try {
    const Text text = runtime_error_report_text(code, message, routine, position);
    std::fwrite(text.data(), 1, text.size(), stderr);
  } catch (...) {
    // No memory left even for the report: the message alone, without allocating.
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputs("\r\n", stderr);
  }
  std::fflush(stderr);
  std::_Exit(-1);
}

}  // namespace

void install_runtime_error_report(RuntimeErrorReport report) { installed_report.store(report); }

Text runtime_error_report_text(std::int32_t code, TextView message, std::int32_t routine,
                               std::int32_t position) {
  // Built with std::string directly: this path must work when memory has run out
  // for a larger text, and must not re-enter the text layer's own report.
  std::string text = "运行时出错!\r\n";
  if (code != 0) text += "\r\n错误代码：" + std::to_string(code) + "\r\n";
  if (!message.empty()) {
    text += "\r\n错误信息：";
    text.append(message.data(), message.size());
    text += "\r\n";
  }
  text += "\r\n" + std::to_string(routine) + ", " + std::to_string(position) + "\r\n";
  return text;
}

void raise_runtime_error(std::int32_t code, TextView message, std::int32_t routine, std::int32_t position) {
  const RuntimeErrorReport report = installed_report.load();
  if (report != nullptr) report(code, message, routine, position);
  // An installed report must not return; end the process either way.
  report_to_stderr(code, message, routine, position);
}

void raise_out_of_memory(std::size_t bytes) {
  char message[64];
  std::snprintf(message, sizeof message, "分配 %zu 字节内存失败!", bytes);
  raise_runtime_error(0, message);
}

}  // namespace tc
