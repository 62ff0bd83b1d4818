// The program: start-up, the event binding table and shutdown, over any binding.
// Handlers live one module per group of controls (pickers, interval, add/subtract,
// countdown, week and day lines) and reach controls only through the WindowModel.
#pragma once

#include <filesystem>
#include <optional>

#include "store/store.h"
#include "time/clock.h"
#include "window/binding.h"
#include "window/model.h"

namespace tc {

struct App {
  WindowModel& model;
  std::filesystem::path run_directory;  // where the store file lives
  std::optional<StorePath> store_path;  // made by countdown_load, released at exit

  ControlRef operator[](TextView name) const { return model.control(name); }
};

// Builds the window, runs `created`, shows it and runs the loop; returns the exit
// code (0 after the window closed).
int run_program(Binding& binding, const ClockSource& clock, const std::filesystem::path& run_directory);

// The same without the loop, for drivers that feed events themselves: the model is
// built, started and shown. Call shut_down() on the model when done.
void start_program(App& app);

// Binding table and start-up sequence.
void bind_handlers(App& app);
void handle_created(App& app);

// Pickers, now buttons and link.
inline constexpr char PICKER_FORMAT[] = "yyyy年MM月dd日 HH:mm:ss";
void set_picker_formats(App& app);
void handle_now_first(App& app);
void handle_now_second(App& app);

// Interval calculator.
void handle_interval(App& app);

// Add/subtract calculator.
void refresh_add_subtract(App& app);
void handle_amount_changed(App& app);
void handle_select_all(App& app);
void show_start_time(App& app);
void forward_amount_boxes(App& app);

// Countdown.
inline constexpr std::int32_t COUNTDOWN_PERIOD_MS = 1000;
void countdown_load(App& app);
void release_store_path(App& app);
void countdown_refresh(App& app);
void start_countdown_refresh(App& app);
void ensure_countdown_timer(App& app);
void handle_countdown_tick(App& app);
HandlerResult handle_name_key(App& app, std::int32_t key);
void handle_name_selected(App& app);
void handle_target_changed(App& app);
// The two countdown captions for a number of seconds left (negative once passed).
struct CountdownText {
  Text days;
  Text clock;
};
CountdownText countdown_text(double total_seconds);

// Week and day-of-year lines.
Text week_day_line(TextView prefix, TimeValue v);
void fill_week_day_lines(App& app);
void show_selected_line(App& app, ControlRef picker);

}  // namespace tc
