#include "window/model.h"

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <cmath>
#include <system_error>
#include <thread>

#include "text/runtime_error.h"

namespace tc {

// Calls that countdown workers want run on the window thread, and the count of
// workers alive. Shared with the workers' threads so it outlives the model's last
// use by any of them.
struct WindowModel::Calls {
  struct Pending {
    const std::function<void()>* fn;
    bool done = false;
    bool ran = false;
  };
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<Pending*> queue;
  bool closing = false;
  std::int32_t workers = 0;

  // Window thread: runs every queued call, waking each waiting worker.
  void serve() {
    for (;;) {
      Pending* p;
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (queue.empty() || closing) return;
        p = queue.front();
        queue.pop_front();
      }
      (*p->fn)();
      {
        std::lock_guard<std::mutex> lock(mutex);
        p->done = true;
        p->ran = true;
      }
      changed.notify_all();
    }
  }

  // Window thread, at shutdown: refuses queued and later calls.
  void close() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      closing = true;
      for (Pending* p : queue) p->done = true;
      queue.clear();
    }
    changed.notify_all();
  }
};

namespace {

std::atomic<WindowModel*> report_model{nullptr};
std::thread::id window_thread;

void report_through_model(std::int32_t code, TextView message, std::int32_t routine, std::int32_t position) {
  WindowModel* model = report_model.load();
  if (model == nullptr) return;  // falls back to the default report
  if (std::this_thread::get_id() == window_thread) model->abort_with_report(code, message, routine, position);
  // Another thread cannot show the box: hand the report to the window thread.
  const Text copy(message);
  model->on_window_thread([&] { model->abort_with_report(code, copy, routine, position); });
}

bool starts_with_ignoring_case(TextView s, TextView prefix) {
  if (prefix.size() > s.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto a = static_cast<unsigned char>(s[i]);
    const auto b = static_cast<unsigned char>(prefix[i]);
    if (a >= 0x80) {  // a two-byte character compares exactly
      if (a != b || (i + 1 < prefix.size() && s[i + 1] != prefix[i + 1])) return false;
      ++i;
      continue;
    }
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    if (fold(a) != fold(b)) return false;
  }
  return true;
}

std::size_t event_slot(Event e) { return static_cast<std::size_t>(e); }

}  // namespace

std::int32_t tag_value(TextView tag) {
  std::size_t i = 0;
  while (i < tag.size() && (tag[i] == ' ' || (tag[i] >= '\t' && tag[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < tag.size() && (tag[i] == '+' || tag[i] == '-')) negative = tag[i++] == '-';
  std::uint32_t value = 0;
  for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9'; ++i) value = value * 10u + static_cast<std::uint32_t>(tag[i] - '0');
  return static_cast<std::int32_t>(negative ? 0u - value : value);
}

WindowModel::WindowModel(Binding& binding, const ClockSource& clock)
    : binding_(binding), clock_(clock), calls_(std::make_shared<Calls>()) {
  const auto defs = window_definition();
  captions_.resize(defs.size());
  items_.resize(defs.size());
  forward_.assign(defs.size(), NO_CONTROL);
  handlers_.resize(defs.size());
  for (std::size_t i = 0; i < defs.size(); ++i) {
    captions_[i] = Text(defs[i].text);
    for (std::string_view item : defs[i].items) items_[i].emplace_back(item);
  }
  window_thread = std::this_thread::get_id();
}

WindowModel::~WindowModel() {
  shut_down();
  WindowModel* self = this;
  report_model.compare_exchange_strong(self, nullptr);
}

void install_model_report(WindowModel* model) {
  report_model.store(model);
  install_runtime_error_report(model != nullptr ? &report_through_model : nullptr);
}

// ---------------------------------------------------------------- life cycle

void WindowModel::build() {
  suppressed_ = 1;
  const TimeValue now = current_time(clock_);
  const CalendarFields f = time_to_fields(clamp_time(now)).value_or(CalendarFields{});
  if (!binding_.build(*this, PickerFields{f.year, f.month, f.day, f.hour, f.minute, f.second})) {
    abort_with_report(0, "载入启动窗口失败", 0, 0);
  }
  suppressed_ = 0;
}

void WindowModel::bind(ControlIndex control, Event event, Handler handler) {
  handlers_.at(static_cast<std::size_t>(control))[event_slot(event)] = std::move(handler);
}

void WindowModel::start() {
  raise(WINDOW, Event::Created);
  binding_.show_centred();
}

void WindowModel::add_exit_routine(std::function<void()> routine) { exit_routines_.push_back(std::move(routine)); }

void WindowModel::shut_down() {
  if (shut_down_) return;
  shut_down_ = true;
  ++suppressed_;
  calls_->close();
  {
    // Workers only compute and then find their calls refused: this cannot block long.
    std::unique_lock<std::mutex> lock(calls_->mutex);
    calls_->changed.wait(lock, [&] { return calls_->workers == 0; });
  }
  for (auto& routine : exit_routines_) routine();
  exit_routines_.clear();
}

// ---------------------------------------------------------------- lookups

ControlRef WindowModel::control(ControlIndex index) const {
  const auto defs = window_definition();
  if (index < 0 || static_cast<std::size_t>(index) >= defs.size()) return {};
  return {index, defs[static_cast<std::size_t>(index)].kind};
}

ControlRef WindowModel::control(TextView name) const { return control(control_named(name)); }

ControlRef WindowModel::find_tagged_control(std::int32_t tag) {
  const auto defs = window_definition();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (tag_value(defs[i].tag) == tag) return control(static_cast<ControlIndex>(i));
  }
  abort_with_report(0, "未找到指定标记的组件", 0, 0);
}

ControlRef WindowModel::raising_control() {
  if (raisers_.empty()) abort_with_report(0, "“取事件组件”命令只能在事件处理子程序中使用", 0, 0);
  return control(raisers_.back());
}

bool WindowModel::forward_events(ControlRef source, std::optional<ControlRef> target) {
  if (source.index == WINDOW) {
    std::fill(forward_.begin(), forward_.end(), NO_CONTROL);
    return true;
  }
  const ControlRef s = control(source.index);
  if (s.index == NO_CONTROL) return false;
  if (!target) {
    forward_[static_cast<std::size_t>(s.index)] = NO_CONTROL;
    return true;
  }
  const ControlRef t = control(target->index);
  if (t.index == NO_CONTROL || t.index == WINDOW || t.kind != s.kind) return false;
  forward_[static_cast<std::size_t>(s.index)] = t.index;
  return true;
}

// ---------------------------------------------------------------- events

HandlerResult WindowModel::raise(ControlIndex control_index, Event event, const KeyArgs& args) {
  if (suppressed_ >= 1 || control(control_index).index == NO_CONTROL) return std::nullopt;
  const ControlKind kind = control(control_index).kind;
  ControlIndex c = control_index;
  // Follow forwarding; a chain can visit each control once at most (no cycles).
  for (std::size_t steps = 0; steps < forward_.size(); ++steps) {
    const ControlIndex next = forward_[static_cast<std::size_t>(c)];
    if (next == NO_CONTROL || control(next).kind != kind) break;
    c = next;
  }
  const Handler& handler = handlers_[static_cast<std::size_t>(c)][event_slot(event)];
  if (!handler) return std::nullopt;
  raisers_.push_back(control_index);
  const HandlerResult result = handler(args);
  raisers_.pop_back();
  return result;
}

void WindowModel::on_picker_changed(ControlIndex picker) {
  binding_.post([this, picker] {
    if (!shut_down_) run_gate(picker);
  });
}

void WindowModel::run_gate(ControlIndex picker) {
  const std::uint32_t tick = binding_.tick_ms();
  if (static_cast<std::uint32_t>(tick - last_change_tick_) > 100 && !change_busy_) {
    change_busy_ = true;
    raise(picker, Event::ValueChanged);
    change_busy_ = false;
  }
  last_change_tick_ = binding_.tick_ms();
}

ControlIndex WindowModel::control_index_of_timer() const {
  static const ControlIndex timer = control_named("时钟1");
  return timer;
}

KeyDecision WindowModel::on_key(ControlIndex focused, const KeyArgs& args) {
  if (args.key == KEY_TAB && (args.modifiers & (MOD_CTRL | MOD_ALT)) == 0) {
    const bool backwards = (args.modifiers & MOD_SHIFT) != 0;
    const ControlIndex next = next_tab_stop(focused, backwards);
    if (next != NO_CONTROL) binding_.set_focus(next);
    return backwards ? KeyDecision::FocusPrevious : KeyDecision::FocusNext;
  }
  if (args.key == KEY_ESCAPE && args.modifiers == 0) {
    binding_.close_window();
    return KeyDecision::Close;
  }
  const HandlerResult result = raise(focused, Event::KeyDown, args);
  return result.has_value() && !*result ? KeyDecision::Swallow : KeyDecision::PassOn;
}

ControlIndex WindowModel::next_tab_stop(ControlIndex from, bool backwards) const {
  const std::span<const ControlIndex> order = tab_order();
  if (order.empty()) return NO_CONTROL;
  const auto at = std::find(order.begin(), order.end(), from);
  if (at == order.end()) return backwards ? order.back() : order.front();
  const auto n = static_cast<std::ptrdiff_t>(order.size());
  const std::ptrdiff_t pos = at - order.begin();
  return order[static_cast<std::size_t>((pos + (backwards ? n - 1 : 1)) % n)];
}

// ---------------------------------------------------------------- operations

void WindowModel::check_kind(ControlRef c, ControlKind kind) const {
  if (c.index == NO_CONTROL || control(c.index).kind != kind) {
    const_cast<WindowModel*>(this)->abort_with_report(5, "数据或数组类型不匹配", 0, 0);
  }
}

Text WindowModel::read_tag(ControlRef c) const {
  if (control(c.index).index == NO_CONTROL) return Text();
  return Text(window_definition()[static_cast<std::size_t>(c.index)].tag);
}

Text WindowModel::caption(ControlRef label) const {
  check_kind(label, ControlKind::Label);
  return captions_[static_cast<std::size_t>(label.index)];
}

void WindowModel::set_caption(ControlRef label, TextView text) {
  check_kind(label, ControlKind::Label);
  captions_[static_cast<std::size_t>(label.index)] = text_from_bytes(text);
  binding_.set_caption(label.index, captions_[static_cast<std::size_t>(label.index)]);
}

Text WindowModel::edit_text(ControlRef c) {
  if (c.kind != ControlKind::ComboBox) check_kind(c, ControlKind::EditBox);
  return binding_.edit_text(c.index);
}

bool WindowModel::ticked(ControlRef check_box) {
  check_kind(check_box, ControlKind::CheckBox);
  return binding_.ticked(check_box.index);
}

void WindowModel::set_ticked(ControlRef check_box, std::int32_t value) {
  check_kind(check_box, ControlKind::CheckBox);
  binding_.set_ticked(check_box.index, value == 1);
}

std::int32_t WindowModel::selected_index(ControlRef combo) {
  check_kind(combo, ControlKind::ComboBox);
  return binding_.selected_index(combo.index);
}

std::int32_t WindowModel::add_item(ControlRef combo, TextView item, std::int32_t /*item_value*/) {
  check_kind(combo, ControlKind::ComboBox);
  TextList& list = items_[static_cast<std::size_t>(combo.index)];
  const std::int32_t selected = binding_.selected_index(combo.index);
  const Text field = binding_.edit_text(combo.index);
  list.push_back(text_from_bytes(item));
  binding_.set_combo(combo.index, list, selected, field);
  return static_cast<std::int32_t>(list.size()) - 1;
}

void WindowModel::clear_items(ControlRef combo) {
  check_kind(combo, ControlKind::ComboBox);
  items_[static_cast<std::size_t>(combo.index)].clear();
  binding_.set_combo(combo.index, {}, -1, "");
}

std::int32_t WindowModel::select_by_text(ControlRef combo, TextView prefix) {
  check_kind(combo, ControlKind::ComboBox);
  const TextList& list = items_[static_cast<std::size_t>(combo.index)];
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (starts_with_ignoring_case(list[i], prefix)) {
      binding_.set_combo(combo.index, list, static_cast<std::int32_t>(i), list[i]);
      return static_cast<std::int32_t>(i);
    }
  }
  return -1;
}

const TextList& WindowModel::items(ControlRef combo) const {
  check_kind(combo, ControlKind::ComboBox);
  return items_[static_cast<std::size_t>(combo.index)];
}

TimeValue WindowModel::picker_value(ControlRef picker) {
  check_kind(picker, ControlKind::DatePicker);
  PickerFields f = binding_.picker(picker.index);
  clamp_fields(f.year, f.month, f.day, f.hour, f.minute, f.second);
  return *fields_to_time(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

void WindowModel::set_picker_value(ControlRef picker, TimeValue value) {
  check_kind(picker, ControlKind::DatePicker);
  if (value == 0 || std::isnan(value)) value = current_time(clock_);
  const std::optional<CalendarFields> f = time_to_fields(value);
  if (!f) return;  // outside the range: the picker keeps its value
  binding_.set_picker(picker.index, PickerFields{f->year, f->month, f->day, f->hour, f->minute, f->second});
}

void WindowModel::set_picker_format(ControlRef picker, TextView format) {
  check_kind(picker, ControlKind::DatePicker);
  binding_.set_picker_format(picker.index, format);
}

void WindowModel::set_timer_period(std::int32_t period_ms) {
  if (period_ms < 0) period_ms = 0;
  if (period_ms == timer_period_) return;  // a running timer keeps its rhythm
  timer_period_ = period_ms;
  binding_.set_timer(period_ms);
}

// ---------------------------------------------------------------- workers

void WindowModel::start_worker(std::function<void()> fn) {
  std::shared_ptr<Calls> calls = calls_;
  {
    std::lock_guard<std::mutex> lock(calls->mutex);
    if (calls->closing) return;
    ++calls->workers;
  }
  auto finished = [calls] {
    {
      std::lock_guard<std::mutex> lock(calls->mutex);
      --calls->workers;
    }
    calls->changed.notify_all();
  };
  try {
    std::thread([fn = std::move(fn), finished] {
      fn();
      finished();
    }).detach();
  } catch (const std::system_error&) {
    finished();  // no thread: this refresh is skipped, the next tick tries again
  }
}

bool WindowModel::on_window_thread(const std::function<void()>& fn) {
  Calls::Pending pending{&fn};
  {
    std::lock_guard<std::mutex> lock(calls_->mutex);
    if (calls_->closing) return false;
    calls_->queue.push_back(&pending);
  }
  binding_.post([calls = calls_] { calls->serve(); });
  std::unique_lock<std::mutex> lock(calls_->mutex);
  calls_->changed.wait(lock, [&] { return pending.done; });
  return pending.ran;
}

std::int32_t WindowModel::active_workers() {
  std::lock_guard<std::mutex> lock(calls_->mutex);
  return calls_->workers;
}

void WindowModel::wait_workers_idle(const std::function<void()>& pump) {
  for (;;) {
    pump();
    std::unique_lock<std::mutex> lock(calls_->mutex);
    if (calls_->workers == 0) return;
    calls_->changed.wait_for(lock, std::chrono::milliseconds(1));
  }
}

// ---------------------------------------------------------------- report

void WindowModel::abort_with_report(std::int32_t code, TextView message, std::int32_t routine,
                                    std::int32_t position) {
  ++suppressed_;
  const Text text = runtime_error_report_text(code, message, routine, position);
  binding_.show_error_box("错误", text);
  shut_down();
  binding_.end_process(-1);
  std::_Exit(-1);  // a binding's end_process never returns; this keeps the promise anyway
}

}  // namespace tc
