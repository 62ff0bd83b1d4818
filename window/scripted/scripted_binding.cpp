#include "window/scripted/scripted_binding.h"

#include <cstdio>
#include <cstdlib>

#include "window/cp936.h"

namespace tc {

ScriptedBinding::ScriptedBinding() : controls_(window_definition().size()) {}

bool ScriptedBinding::build(WindowModel&, const PickerFields& now) {
  const auto defs = window_definition();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    Control& c = controls_[i];
    c.text = Text(defs[i].text);
    for (std::string_view item : defs[i].items) c.items.emplace_back(item);
    c.selected = defs[i].selected;
    c.picker = now;
  }
  return true;
}

void ScriptedBinding::set_caption(ControlIndex label, TextView caption) { state(label).text = Text(caption); }
Text ScriptedBinding::edit_text(ControlIndex control) { return state(control).text; }
bool ScriptedBinding::ticked(ControlIndex check_box) { return state(check_box).ticked; }
void ScriptedBinding::set_ticked(ControlIndex check_box, bool ticked) { state(check_box).ticked = ticked; }
std::int32_t ScriptedBinding::selected_index(ControlIndex combo) { return state(combo).selected; }

void ScriptedBinding::set_combo(ControlIndex combo, const TextList& items, std::int32_t selected, TextView field_text) {
  Control& c = state(combo);
  c.items = items;
  c.selected = selected;
  c.text = Text(field_text);
}

PickerFields ScriptedBinding::picker(ControlIndex picker) { return state(picker).picker; }

bool ScriptedBinding::set_picker(ControlIndex picker, const PickerFields& fields) {
  // The same range as the real pickers: years 100 to 9999.
  if (fields.year < 100 || fields.year > 9999) return false;
  state(picker).picker = fields;
  return true;
}

void ScriptedBinding::set_picker_format(ControlIndex picker, TextView format) { state(picker).format = Text(format); }

void ScriptedBinding::set_timer(std::int32_t period_ms) {
  timer_period_ = period_ms;
  timer_due_ = tick_ + static_cast<std::uint32_t>(period_ms);
}

void ScriptedBinding::show_error_box(TextView, TextView text) {
  for (const Text& line : text_split(text, "\r\n")) std::printf("report: %s\n", cp936_to_utf8(line).c_str());
  std::fflush(stdout);
}

void ScriptedBinding::post(std::function<void()> call) {
  std::lock_guard<std::mutex> lock(posted_mutex_);
  posted_.push_back(std::move(call));
}

void ScriptedBinding::pump() {
  for (;;) {
    std::function<void()> call;
    {
      std::lock_guard<std::mutex> lock(posted_mutex_);
      if (posted_.empty()) return;
      call = std::move(posted_.front());
      posted_.pop_front();
    }
    call();
  }
}

void ScriptedBinding::end_process(int exit_code) {
  if (on_end) on_end(exit_code);
  std::fflush(stdout);
  // The program's exit code has been printed by on_end; the driver's own code
  // tells whether the script ran to its end.
  std::_Exit(0);
}

}  // namespace tc
