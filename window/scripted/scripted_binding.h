// A window with no toolkit: a table of control states, events fed by a driver, a
// virtual millisecond tick that moves only when the driver says, and posted calls
// run when the driver pumps them. Worker threads post from any thread.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "window/binding.h"

namespace tc {

class ScriptedBinding final : public Binding {
 public:
  struct Control {
    Text text;          // caption, edit text or combo field text
    bool ticked = false;
    std::int32_t selected = -1;
    TextList items;
    PickerFields picker;
    Text format;
  };

  ScriptedBinding();

  bool build(WindowModel& model, const PickerFields& now) override;
  void show_centred() override { shown_ = true; }
  void run_loop() override {}
  void close_window() override { closed_ = true; }
  void set_caption(ControlIndex label, TextView caption) override;
  Text edit_text(ControlIndex control) override;
  bool ticked(ControlIndex check_box) override;
  void set_ticked(ControlIndex check_box, bool ticked) override;
  std::int32_t selected_index(ControlIndex combo) override;
  void set_combo(ControlIndex combo, const TextList& items, std::int32_t selected, TextView field_text) override;
  PickerFields picker(ControlIndex picker) override;
  bool set_picker(ControlIndex picker, const PickerFields& fields) override;
  void set_picker_format(ControlIndex picker, TextView format) override;
  void set_timer(std::int32_t period_ms) override;
  void set_focus(ControlIndex control) override { focus_ = control; }
  void show_error_box(TextView caption, TextView text) override;
  void post(std::function<void()> call) override;
  std::uint32_t tick_ms() override { return tick_; }
  [[noreturn]] void end_process(int exit_code) override;

  // Driver side.
  Control& state(ControlIndex i) { return controls_.at(static_cast<std::size_t>(i)); }
  void pump();                  // runs every posted call, including ones they post
  void advance(std::uint32_t ms) { tick_ += ms; }
  std::int32_t timer_period() const { return timer_period_; }
  std::uint32_t timer_due() const { return timer_due_; }
  void timer_fired() { timer_due_ += static_cast<std::uint32_t>(timer_period_); }
  bool shown() const { return shown_; }
  bool closed() const { return closed_; }
  ControlIndex focus() const { return focus_; }
  // Called before the process ends after a run-time error report.
  std::function<void(int)> on_end;

 private:
  std::vector<Control> controls_;
  std::mutex posted_mutex_;
  std::deque<std::function<void()>> posted_;
  std::uint32_t tick_ = 10'000'000;  // like an uptime: far from the gate's zero start
  std::int32_t timer_period_ = 0;
  std::uint32_t timer_due_ = 0;
  ControlIndex focus_ = NO_CONTROL;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace tc
