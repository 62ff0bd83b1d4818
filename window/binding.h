// The layer a toolkit implements so the window model can run on it.
//
// Conventions for every binding (scripted, Qt, Win32):
// - Controls are named by ControlIndex, the row of window_definition(); index 0 is
//   the window. Texts cross this interface as cp936 bytes; a binding converts to its
//   toolkit's encoding at its own edge and nowhere else.
// - Every method is called on the window thread, except post(), which any thread
//   may call.
// - Writing a state (a caption, a tick, a picker value, a list) raises no event. A
//   binding reports only what the user did, through the WindowModel's on_* entry
//   points, on the window thread.
// - The binding holds what the user can change (edit texts, ticks, combo text and
//   selection, picker fields, focus); the model keeps the rest and pushes it here.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "text/text.h"
#include "time/time.h"
#include "window/definition.h"

namespace tc {

// A picker's date and time, whole seconds.
struct PickerFields {
  std::int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class WindowModel;

class Binding {
 public:
  virtual ~Binding() = default;

  // Creates the hidden window and every control of the definition with its initial
  // texts, items and states; pickers start at `now`. False when it cannot.
  virtual bool build(WindowModel& model, const PickerFields& now) = 0;
  virtual void show_centred() = 0;
  // Runs the message loop until the window has closed.
  virtual void run_loop() = 0;
  // Closes the window; run_loop then returns.
  virtual void close_window() = 0;

  virtual void set_caption(ControlIndex label, TextView caption) = 0;
  virtual Text edit_text(ControlIndex control) = 0;      // edit box, or a combo box's text field
  virtual bool ticked(ControlIndex check_box) = 0;
  virtual void set_ticked(ControlIndex check_box, bool ticked) = 0;
  virtual std::int32_t selected_index(ControlIndex combo) = 0;  // -1 for none
  // Replaces the list; selects `selected` (-1: none) and shows `field_text`.
  virtual void set_combo(ControlIndex combo, const TextList& items, std::int32_t selected, TextView field_text) = 0;
  virtual PickerFields picker(ControlIndex picker) = 0;
  // False when the picker refuses the value (outside its own range).
  virtual bool set_picker(ControlIndex picker, const PickerFields& fields) = 0;
  // The picker's display format, in the platform picker's format language.
  virtual void set_picker_format(ControlIndex picker, TextView format) = 0;
  // Starts (period > 0) or stops (0) the window timer; on_periodic follows.
  virtual void set_timer(std::int32_t period_ms) = 0;
  virtual void set_focus(ControlIndex control) = 0;

  // Modal box owned by no window, with the error icon; returns once dismissed.
  virtual void show_error_box(TextView caption, TextView text) = 0;
  // Queues a call to run on the window thread from its message loop; any thread.
  virtual void post(std::function<void()> call) = 0;
  // Monotonic millisecond tick, wrapping at 2^32.
  virtual std::uint32_t tick_ms() = 0;
  // Ends the process with the exit code; does not return.
  [[noreturn]] virtual void end_process(int exit_code) = 0;
};

}  // namespace tc
