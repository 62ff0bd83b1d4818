// The window model: the controls as the program's handlers see them, the events
// they raise, how a handler finds a control, event forwarding, the key filter's
// decisions, the picker change gate, the timer rule, the countdown workers' safe
// access to three controls, and the run-time error report. Toolkit-free: a Binding
// puts it on screen.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "text/text.h"
#include "time/clock.h"
#include "time/time.h"
#include "window/binding.h"
#include "window/definition.h"

namespace tc {

struct ControlRef {
  ControlIndex index = NO_CONTROL;
  ControlKind kind = ControlKind::Window;
  friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

enum class Event : std::uint8_t { Created, Clicked, TextChanged, ItemSelected, ValueChanged, Periodic, KeyDown };

struct KeyArgs {
  std::int32_t key = 0;        // virtual-key code; keypad digits 48..57, Enter 13
  std::int32_t modifiers = 0;  // 1 Ctrl, 2 Shift, 4 Alt
};

// A handler's result: nullopt is "no result"; only key_down's explicit false counts.
using HandlerResult = std::optional<bool>;
using Handler = std::function<HandlerResult(const KeyArgs&)>;

// Well-known key codes.
inline constexpr std::int32_t KEY_TAB = 9;
inline constexpr std::int32_t KEY_ENTER = 13;
inline constexpr std::int32_t KEY_ESCAPE = 27;
inline constexpr std::int32_t MOD_CTRL = 1, MOD_SHIFT = 2, MOD_ALT = 4;

enum class KeyDecision : std::uint8_t { FocusNext, FocusPrevious, Close, Swallow, PassOn };

// Value of a tag text: blanks skipped, an optional sign, the digits up to the first
// other byte; no digits is 0.
std::int32_t tag_value(TextView tag);

class WindowModel {
 public:
  WindowModel(Binding& binding, const ClockSource& clock);
  ~WindowModel();
  WindowModel(const WindowModel&) = delete;
  WindowModel& operator=(const WindowModel&) = delete;

  Binding& binding() { return binding_; }
  const ClockSource& clock() const { return clock_; }

  // --- building and life cycle
  // Builds the window with events suppressed; the failure report on error.
  void build();
  void bind(ControlIndex control, Event event, Handler handler);
  // Raises `created`, then shows the window.
  void start();
  // Shutdown clean-up: suppresses events for good, refuses and waits out the
  // countdown workers, runs the exit routines in order. Runs once.
  void shut_down();
  bool is_shut_down() const { return shut_down_; }  // window thread
  void add_exit_routine(std::function<void()> routine);
  std::int32_t events_suppressed() const { return suppressed_; }

  // --- lookups
  ControlRef control(ControlIndex index) const;
  ControlRef control(TextView name) const;
  ControlRef find_tagged_control(std::int32_t tag);
  ControlRef raising_control();
  bool forward_events(ControlRef source, std::optional<ControlRef> target);

  // --- control operations (window thread)
  Text read_tag(ControlRef c) const;
  Text caption(ControlRef label) const;
  void set_caption(ControlRef label, TextView caption);
  Text edit_text(ControlRef control);
  bool ticked(ControlRef check_box);
  void set_ticked(ControlRef check_box, std::int32_t value);
  std::int32_t selected_index(ControlRef combo);
  std::int32_t add_item(ControlRef combo, TextView item, std::int32_t item_value = 0);
  void clear_items(ControlRef combo);
  std::int32_t select_by_text(ControlRef combo, TextView prefix);
  const TextList& items(ControlRef combo) const;
  TimeValue picker_value(ControlRef picker);
  void set_picker_value(ControlRef picker, TimeValue value);
  void set_picker_format(ControlRef picker, TextView format);
  std::int32_t timer_period() const { return timer_period_; }
  void set_timer_period(std::int32_t period_ms);

  // --- countdown workers
  // Starts fn on a new short-lived thread. Workers are counted so shut_down can
  // wait them out.
  void start_worker(std::function<void()> fn);
  // From a worker: runs fn on the window thread and waits for it. False (fn not
  // run) once the window is closing.
  bool on_window_thread(const std::function<void()>& fn);
  std::int32_t active_workers();
  // Waits until no worker runs, serving their window-thread calls meanwhile through
  // `pump` (the binding's way to run posted calls). For deterministic drivers.
  void wait_workers_idle(const std::function<void()>& pump);

  // --- what the binding reports (window thread)
  HandlerResult raise(ControlIndex control, Event event, const KeyArgs& args = {});
  void on_clicked(ControlIndex control) { raise(control, Event::Clicked); }
  void on_text_changed(ControlIndex control) { raise(control, Event::TextChanged); }
  void on_item_selected(ControlIndex combo) { raise(combo, Event::ItemSelected); }
  void on_periodic() { raise(control_index_of_timer(), Event::Periodic); }
  // A picker reported a change: the gate is run from a posted message.
  void on_picker_changed(ControlIndex picker);
  // The key filter, before the focused control sees the key.
  KeyDecision on_key(ControlIndex focused, const KeyArgs& args);
  // The next (or previous) tab stop after `from`, wrapping; NO_CONTROL if none.
  ControlIndex next_tab_stop(ControlIndex from, bool backwards) const;

  // The run-time error report: shows the box, cleans up, exit code -1.
  [[noreturn]] void abort_with_report(std::int32_t code, TextView message, std::int32_t routine,
                                      std::int32_t position);

 private:
  struct Calls;
  ControlIndex control_index_of_timer() const;
  void check_kind(ControlRef c, ControlKind kind) const;
  void run_gate(ControlIndex picker);

  Binding& binding_;
  const ClockSource& clock_;
  std::int32_t suppressed_ = 1;
  std::vector<Text> captions_;
  std::vector<TextList> items_;
  std::vector<ControlIndex> forward_;
  std::vector<std::array<Handler, 7>> handlers_;
  std::vector<ControlIndex> raisers_;  // innermost last
  std::vector<std::function<void()>> exit_routines_;
  std::int32_t timer_period_ = 0;
  std::uint32_t last_change_tick_ = 0;
  bool change_busy_ = false;
  bool shut_down_ = false;
  std::shared_ptr<Calls> calls_;
};

// The model whose report the core layers' run-time errors go to, installed at
// start-up (one window per process).
void install_model_report(WindowModel* model);

}  // namespace tc
