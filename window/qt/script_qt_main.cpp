// time-calculator-script-qt: runs the same scripts as time-calculator-script on
// the real Qt window (offscreen unless QT_QPA_PLATFORM says otherwise). Every user
// action is real Qt input (mouse clicks, key presses, typed text, list choices,
// picker edits) and every show/expect reads the widgets back.
// Usage: time-calculator-script-qt [--run-dir DIR] SCRIPT
//
// Real time passes here, so two rules keep the timer's ticks away from the moments
// a script looks at:
// - The clock reads the script's time plus the real time since it was set (or
//   since the window started), rounded to the nearest second. A countdown tick
//   comes about a whole period after that base, so it reads whole seconds with
//   half a second of margin either side.
// - "wait" that would end within 150 ms before a tick waits for that tick too,
//   and "clock" while the timer runs first lets the next tick pass, so that the
//   new time counts from a tick, as it does on the scripted window.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "app/app.h"
#include "window/qt/qt_binding.h"
#include "window/scripted/script_runner.h"

// Qt and fontconfig keep process-wide allocations that LeakSanitizer would report
// at exit; memory errors are still caught by the AddressSanitizer build.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace tc {
namespace {

std::int64_t monotonic_ms() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}

// The script's time plus the real time since the base, rounded to whole seconds.
class RealTimeScriptClock final : public ClockSource {
 public:
  void set(std::int64_t whole_seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    start_ = whole_seconds;
    base_ms_ = monotonic_ms();
  }
  void rebase() {
    std::lock_guard<std::mutex> lock(mutex_);
    base_ms_ = monotonic_ms();
  }
  std::optional<ClockReading> read() const override {
    std::int64_t seconds;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seconds = start_ + (monotonic_ms() - base_ms_ + 500) / 1000;
    }
    const std::optional<CalendarFields> f = time_to_fields(from_whole_seconds(seconds));
    if (!f) return std::nullopt;
    return ClockReading{f->year, f->month, f->day, f->hour, f->minute, f->second, 0};
  }

 private:
  mutable std::mutex mutex_;
  std::int64_t start_ = 0;
  std::int64_t base_ms_ = 0;
};

constexpr int TICK_MARGIN_MS = 150;
constexpr int TICK_TIMEOUT_MS = 3000;

class QtScriptWindow final : public ScriptWindow {
 public:
  QtScriptWindow() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "time-calculator-script-qt";
    static char* argv[] = {name, nullptr};
    binding_ = make_qt_binding(argc, argv);
    clock_.set(to_whole_seconds(current_time()));
  }
  ~QtScriptWindow() override {
    if (model_) model_->shut_down();
    install_model_report(nullptr);
    app_.reset();
    model_.reset();
    binding_.reset();
  }

  void set_clock(std::int64_t whole_seconds) override {
    if (running() && QtInput::timer_period(*binding_) > 0) {
      QtInput::wait_for_tick(*binding_, TICK_TIMEOUT_MS);
      settle();
    }
    clock_.set(whole_seconds);
  }
  void start(const std::filesystem::path& run_directory) override {
    model_ = std::make_unique<WindowModel>(*binding_, clock_);
    app_ = std::make_unique<App>(App{*model_, run_directory, std::nullopt});
    start_program(*app_);
    QtInput::activate(*binding_);
    clock_.rebase();
  }
  WindowModel* model() override { return model_.get(); }

  bool pick(ControlIndex i, const PickerFields& f) override {
    QtInput::edit_picker(*binding_, i, f);
    const PickerFields shown = binding_->picker(i);
    return shown.year == f.year && shown.month == f.month && shown.day == f.day && shown.hour == f.hour &&
           shown.minute == f.minute && shown.second == f.second;
  }
  void type(ControlIndex i, const Text& text) override { QtInput::type(*binding_, i, text); }
  void click(ControlIndex i) override { QtInput::click(*binding_, i); }
  bool choose(ControlIndex i, int index) override {
    if (index < 0 || static_cast<std::size_t>(index) >= QtInput::shown_items(*binding_, i).size()) return false;
    QtInput::choose(*binding_, i, index);
    return true;
  }
  void key(ControlIndex focus, const KeyArgs& k) override {
    if (!QtInput::press_virtual_key(*binding_, focus, k.key, k.modifiers)) {
      std::printf("note: key %d has no Qt key here; not sent\n", k.key);
    }
  }
  void wait(std::int64_t ms) override {
    QtInput::wait(static_cast<int>(ms));
    if (running()) {
      const int remaining = QtInput::timer_remaining(*binding_);
      if (remaining >= 0 && remaining < TICK_MARGIN_MS) QtInput::wait_for_tick(*binding_, TICK_TIMEOUT_MS);
    }
    settle();
  }
  void settle() override {
    QtInput::wait(0);
    if (running()) model_->wait_workers_idle([] { QtInput::wait(0); });
  }
  void burst(int ticks) override {
    for (; ticks > 0; --ticks) model_->on_periodic();
  }
  void close() override { QtInput::request_close(*binding_); }
  bool closed() override { return model_ != nullptr && !QtInput::window_visible(*binding_); }

  Text text(ControlIndex i) override { return QtInput::shown_text(*binding_, i); }
  bool ticked(ControlIndex i) override { return QtInput::shown_ticked(*binding_, i); }
  TextList items(ControlIndex i) override { return QtInput::shown_items(*binding_, i); }
  PickerFields picker(ControlIndex i) override { return binding_->picker(i); }
  std::int32_t timer_period() override { return QtInput::timer_period(*binding_); }
  ControlIndex focus() override { return QtInput::focused(*binding_); }

 private:
  std::unique_ptr<Binding> binding_;
  RealTimeScriptClock clock_;
  std::unique_ptr<WindowModel> model_;
  std::unique_ptr<App> app_;

  bool running() const { return model_ != nullptr && !model_->is_shut_down(); }
};

}  // namespace
}  // namespace tc

int main(int argc, char** argv) {
  return tc::script_program_main(argc, argv, "time-calculator-script-qt",
                                 [] { return std::make_unique<tc::QtScriptWindow>(); });
}
