// The countdown: targets saved by name in the store, 日期框3 as the target, and a
// refresh of 标签1 (days) and 标签2 (hh:mm:ss) on a worker thread of its own, once
// a second and after every change.
#include <cmath>

#include "app/app.h"
#include "text/time_text.h"
#include "text/value.h"

namespace tc {

void countdown_load(App& app) {
  WindowModel& m = app.model;
  app.store_path = store_path(app.run_directory);
  if (!store_exists(*app.store_path)) return;
  const Text target = store_read_value(*app.store_path, STORE_SECTION, DEFAULT_TARGET_NAME);
  m.set_picker_value(app["日期框3"], value_to_time(target));
  m.set_timer_period(COUNTDOWN_PERIOD_MS);
  const TextList names = store_list_names(store_read_file(*app.store_path));
  const ControlRef combo = app["组合框2"];
  m.clear_items(combo);
  for (const Text& name : names) m.add_item(combo, name);
  m.select_by_text(combo, DEFAULT_TARGET_NAME);
}

void release_store_path(App& app) { app.store_path.reset(); }

CountdownText countdown_text(double total) {
  // A passed target shows "-" and the time since it, like the interval's "-0天".
  const bool passed = total < 0;
  const double size = std::fabs(total);
  const double days = divide_to_whole(size, {86400});
  const double hours = divide_to_whole(size - days * 86400, {3600});
  const double minutes = divide_to_whole(size - days * 86400 - hours * 3600, {60});
  const double seconds = size - days * 86400 - hours * 3600 - minutes * 60;
  CountdownText t;
  t.days = text_join({passed ? "-" : "", value_to_text(days)});
  t.clock = text_join({zero_pad(value_to_text(hours), 2), ":", zero_pad(value_to_text(minutes), 2), ":",
                       zero_pad(value_to_text(seconds), 2)});
  return t;
}

void countdown_refresh(App& app) {
  WindowModel& m = app.model;
  const TimeValue now = current_time(m.clock());
  TimeValue target = 0;
  if (!m.on_window_thread([&] { target = m.picker_value(app["日期框3"]); })) return;
  const CountdownText text = countdown_text(time_difference(target, now, UNIT_SECOND));
  if (!m.on_window_thread([&] { m.set_caption(app["标签1"], text.days); })) return;
  m.on_window_thread([&] { m.set_caption(app["标签2"], text.clock); });
}

void start_countdown_refresh(App& app) {
  app.model.start_worker([&app] { countdown_refresh(app); });
}

void ensure_countdown_timer(App& app) {
  if (app.model.timer_period() == 0) app.model.set_timer_period(COUNTDOWN_PERIOD_MS);
}

void handle_countdown_tick(App& app) { start_countdown_refresh(app); }

HandlerResult handle_name_key(App& app, std::int32_t key) {
  if (key != KEY_ENTER) return std::nullopt;
  WindowModel& m = app.model;
  start_countdown_refresh(app);
  ensure_countdown_timer(app);
  const ControlRef combo = app["组合框2"];
  const Text name = m.edit_text(combo);
  m.add_item(combo, name);
  if (app.store_path) {
    store_write_value(*app.store_path, STORE_SECTION, name, format_time_text(m.picker_value(app["日期框3"])));
  }
  return false;
}

void handle_name_selected(App& app) {
  WindowModel& m = app.model;
  const Text name = m.edit_text(app["组合框2"]);
  const Text value = app.store_path ? store_read_value(*app.store_path, STORE_SECTION, name) : Text();
  m.set_picker_value(app["日期框3"], value_to_time(value));
  start_countdown_refresh(app);
  ensure_countdown_timer(app);
}

void handle_target_changed(App& app) {
  WindowModel& m = app.model;
  start_countdown_refresh(app);
  ensure_countdown_timer(app);
  if (app.store_path) {
    store_write_value(*app.store_path, STORE_SECTION, DEFAULT_TARGET_NAME,
                      format_time_text(m.picker_value(app["日期框3"])));
  }
}

}  // namespace tc
