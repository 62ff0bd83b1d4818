// The script language shared by the script drivers: one for the scripted window
// (virtual time) and one for the Qt window (real widgets, real time). A driver
// supplies a ScriptWindow; the runner parses the script, turns each command into
// calls on it and compares what it shows with the expectations.
//
// Commands: clock DATE TIME, storefile TEXT, start, pick PICKER DATE TIME,
// type CONTROL TEXT, click CONTROL, choose COMBO INDEX, key CONTROL KEY [ctrl]
// [shift] [alt], wait MS, show CONTROL, expect CONTROL TEXT, file, burst N, close.
// "show focus" / "expect focus NAME" name the focused control; "expect file TEXT"
// compares the store file's bytes (or "(no file)"). Names and texts are UTF-8;
// quoted words take \\ \" \r \n \t and \xHH (a raw byte).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "text/text.h"
#include "window/binding.h"
#include "window/model.h"

namespace tc {

class ScriptWindow {
 public:
  virtual ~ScriptWindow() = default;

  // The wall clock the program reads from now on starts at this many whole seconds.
  virtual void set_clock(std::int64_t whole_seconds) = 0;
  // Builds the model and the app over the window and starts the program.
  virtual void start(const std::filesystem::path& run_directory) = 0;
  virtual WindowModel* model() = 0;  // null before start

  // User actions. pick and choose return false when the control refuses the value.
  virtual bool pick(ControlIndex picker, const PickerFields& f) = 0;
  virtual void type(ControlIndex control, const Text& text) = 0;
  virtual void click(ControlIndex control) = 0;
  virtual bool choose(ControlIndex combo, int index) = 0;
  virtual void key(ControlIndex focus, const KeyArgs& key) = 0;
  virtual void wait(std::int64_t ms) = 0;
  // Lets posted calls and started refreshes finish.
  virtual void settle() = 0;
  // N timer ticks at once, their refreshes left running.
  virtual void burst(int ticks) = 0;
  // The user closes the window.
  virtual void close() = 0;
  virtual bool closed() = 0;

  // What the window shows, read back from the control.
  virtual Text text(ControlIndex control) = 0;  // caption, edit text, combo field
  virtual bool ticked(ControlIndex check_box) = 0;
  virtual TextList items(ControlIndex combo) = 0;
  virtual PickerFields picker(ControlIndex picker) = 0;
  virtual std::int32_t timer_period() = 0;  // 0 when stopped
  virtual ControlIndex focus() = 0;
};

// Runs a script on a window that has not started; prints "exit: 0" when the
// program's window closed or the script ended. Returns 0 when the script ran to its end, 1 on
// a failed expectation, 2 on a script error.
int run_script(ScriptWindow& window, std::istream& script, const std::filesystem::path& run_directory);

// The drivers' command line: [--run-dir DIR] SCRIPT ("-" for stdin). Without
// --run-dir a temporary directory is made and removed afterwards.
int script_program_main(int argc, char** argv, const char* program,
                        const std::function<std::unique_ptr<ScriptWindow>()>& make_window);

}  // namespace tc
