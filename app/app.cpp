// Start-up, the binding table and shutdown.
#include "app/app.h"

namespace tc {

void handle_created(App& app) {
  countdown_load(app);
  set_picker_formats(app);
  show_start_time(app);
  fill_week_day_lines(app);
  forward_amount_boxes(app);
}

void bind_handlers(App& app) {
  WindowModel& m = app.model;
  const auto on = [&](TextView name, Event event, auto action) {
    m.bind(name.empty() ? WINDOW : m.control(name).index, event, [&app, action](const KeyArgs& args) -> HandlerResult {
      return action(app, args);
    });
  };
  const auto plain = [](void (*f)(App&)) {
    return [f](App& a, const KeyArgs&) -> HandlerResult {
      f(a);
      return std::nullopt;
    };
  };
  on("", Event::Created, plain(&handle_created));
  on("按钮2", Event::Clicked, plain(&handle_now_first));
  on("按钮4", Event::Clicked, plain(&handle_now_second));
  on("日期框1", Event::ValueChanged, [](App& a, const KeyArgs&) -> HandlerResult {
    show_selected_line(a, a["日期框1"]);
    return std::nullopt;
  });
  on("日期框2", Event::ValueChanged, [](App& a, const KeyArgs&) -> HandlerResult {
    show_selected_line(a, a["日期框2"]);
    return std::nullopt;
  });
  on("按钮3", Event::Clicked, plain(&handle_interval));
  on("按钮1", Event::Clicked, plain(&refresh_add_subtract));
  on("编辑框1", Event::TextChanged, plain(&handle_amount_changed));
  on("选择框9", Event::Clicked, plain(&handle_select_all));
  on("日期框3", Event::ValueChanged, plain(&handle_target_changed));
  on("组合框2", Event::KeyDown, [](App& a, const KeyArgs& args) { return handle_name_key(a, args.key); });
  on("组合框2", Event::ItemSelected, plain(&handle_name_selected));
  on("时钟1", Event::Periodic, plain(&handle_countdown_tick));
}

void start_program(App& app) {
  install_model_report(&app.model);
  app.model.add_exit_routine([&app] { release_store_path(app); });
  app.model.build();
  bind_handlers(app);
  app.model.start();
}

int run_program(Binding& binding, const ClockSource& clock, const std::filesystem::path& run_directory) {
  WindowModel model(binding, clock);
  App app{model, run_directory, std::nullopt};
  start_program(app);
  binding.run_loop();
  model.shut_down();
  install_model_report(nullptr);
  return 0;
}

}  // namespace tc
