// time-calculator-script: runs a script of user actions against the real program
// logic on the scripted window, in virtual time: "wait" moves the window's tick
// and the clock at once and fires every timer tick due on the way, so timing
// boundaries can be checked to the millisecond. The language: script_runner.h.
// Usage: time-calculator-script [--run-dir DIR] SCRIPT     (SCRIPT "-" for stdin)
// Exit code 0 when the script ran to its end, 1 on a failed expect, 2 on a script
// error. The program's own exit code is printed last as "exit: N".
#include <cstdio>
#include <memory>
#include <mutex>

#include "app/app.h"
#include "window/scripted/script_runner.h"
#include "window/scripted/scripted_binding.h"

namespace tc {
namespace {

// The script's wall clock: a fixed start plus the virtual milliseconds waited.
class ScriptClock final : public ClockSource {
 public:
  void set(std::int64_t whole_seconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    start_ = whole_seconds;
    elapsed_ms_ = 0;
  }
  void advance(std::int64_t ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    elapsed_ms_ += ms;
  }
  std::optional<ClockReading> read() const override {
    std::int64_t seconds, ms;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seconds = start_ + elapsed_ms_ / 1000;
      ms = elapsed_ms_ % 1000;
    }
    const std::optional<CalendarFields> f = time_to_fields(from_whole_seconds(seconds));
    if (!f) return std::nullopt;
    return ClockReading{f->year, f->month, f->day, f->hour, f->minute, f->second, static_cast<std::int32_t>(ms)};
  }

 private:
  mutable std::mutex mutex_;
  std::int64_t start_ = 0;
  std::int64_t elapsed_ms_ = 0;
};

class ScriptedWindow final : public ScriptWindow {
 public:
  ScriptedWindow() { clock_.set(to_whole_seconds(current_time())); }

  void set_clock(std::int64_t whole_seconds) override { clock_.set(whole_seconds); }
  void start(const std::filesystem::path& run_directory) override {
    model_ = std::make_unique<WindowModel>(binding_, clock_);
    app_ = std::make_unique<App>(App{*model_, run_directory, std::nullopt});
    binding_.on_end = [](int code) { std::printf("exit: %d\n", code); };
    start_program(*app_);
  }
  WindowModel* model() override { return model_.get(); }

  bool pick(ControlIndex i, const PickerFields& f) override {
    if (!binding_.set_picker(i, f)) return false;
    model_->on_picker_changed(i);
    return true;
  }
  void type(ControlIndex i, const Text& text) override {
    binding_.state(i).text = text;
    if (window_definition()[static_cast<std::size_t>(i)].kind == ControlKind::EditBox) model_->on_text_changed(i);
  }
  void click(ControlIndex i) override {
    if (window_definition()[static_cast<std::size_t>(i)].kind == ControlKind::CheckBox) {
      binding_.state(i).ticked = !binding_.state(i).ticked;
    }
    model_->on_clicked(i);
  }
  bool choose(ControlIndex i, int index) override {
    ScriptedBinding::Control& c = binding_.state(i);
    if (index < 0 || static_cast<std::size_t>(index) >= c.items.size()) return false;
    c.selected = index;
    c.text = c.items[static_cast<std::size_t>(index)];
    WindowModel& m = *model_;
    binding_.post([&m, i] { m.on_item_selected(i); });  // handled after the field shows the item
    return true;
  }
  void key(ControlIndex focus, const KeyArgs& k) override {
    binding_.set_focus(focus);
    model_->on_key(focus, k);
  }
  void wait(std::int64_t ms) override {
    const std::uint32_t end = binding_.tick_ms() + static_cast<std::uint32_t>(ms);
    std::uint32_t now = binding_.tick_ms();
    while (running() && binding_.timer_period() > 0 && static_cast<std::int32_t>(binding_.timer_due() - end) <= 0) {
      const std::uint32_t due = binding_.timer_due();
      binding_.advance(due - now);
      clock_.advance(due - now);
      now = due;
      binding_.timer_fired();
      model_->on_periodic();
      settle();
    }
    binding_.advance(end - now);
    clock_.advance(end - now);
    settle();
  }
  void settle() override {
    binding_.pump();
    if (running()) model_->wait_workers_idle([&] { binding_.pump(); });
  }
  void burst(int ticks) override {
    for (; ticks > 0; --ticks) model_->on_periodic();
  }
  void close() override { binding_.close_window(); }
  bool closed() override { return binding_.closed(); }

  Text text(ControlIndex i) override {
    // A label's caption is kept by the model; the binding only draws it.
    if (window_definition()[static_cast<std::size_t>(i)].kind == ControlKind::Label) {
      return model_ ? model_->caption(model_->control(i)) : binding_.state(i).text;
    }
    return binding_.state(i).text;
  }
  bool ticked(ControlIndex i) override { return binding_.state(i).ticked; }
  TextList items(ControlIndex i) override { return binding_.state(i).items; }
  PickerFields picker(ControlIndex i) override { return binding_.state(i).picker; }
  std::int32_t timer_period() override { return model_ ? model_->timer_period() : 0; }
  ControlIndex focus() override { return binding_.focus(); }

 private:
  ScriptedBinding binding_;
  ScriptClock clock_;
  std::unique_ptr<WindowModel> model_;
  std::unique_ptr<App> app_;

  bool running() const { return model_ != nullptr && !model_->is_shut_down(); }
};

}  // namespace
}  // namespace tc

int main(int argc, char** argv) {
  return tc::script_program_main(argc, argv, "time-calculator-script",
                                 [] { return std::make_unique<tc::ScriptedWindow>(); });
}
