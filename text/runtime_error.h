// The run-time error report: the one way the core layers end the program on an
// impossible state (a zero divisor, exhausted memory). The window layer installs a
// report that shows a modal box; without one, the report text goes to standard
// error and the process ends with exit code -1 (255).
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/text.h"

namespace tc {

// Shows the report and ends the process; must not return.
using RuntimeErrorReport = void (*)(std::int32_t code, TextView message, std::int32_t routine,
                                    std::int32_t position);

// Installed once at start-up, before any worker thread runs; nullptr restores the
// default.
void install_runtime_error_report(RuntimeErrorReport report);

// "运行时出错!\r\n", then the code and message lines when present, then the two
// locating numbers; every line ended by CR LF.
Text runtime_error_report_text(std::int32_t code, TextView message, std::int32_t routine,
                               std::int32_t position);

// "分配 %d 字节内存失败!" with the byte count asked for.
[[noreturn]] void raise_out_of_memory(std::size_t bytes);

[[noreturn]] void raise_runtime_error(std::int32_t code, TextView message, std::int32_t routine = 0,
                                      std::int32_t position = 0);

}  // namespace tc
