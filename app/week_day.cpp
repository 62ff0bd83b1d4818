// The week and day-of-year lines: 标签4 for the start-up date, 标签3 for the picker
// the user changed last.
#include "app/app.h"
#include "text/time_text.h"
#include "text/value.h"

namespace tc {

Text week_day_line(TextView prefix, TimeValue v) {
  const Text year = value_to_text(year_of(v));
  const TimeValue january_1 = value_to_time(text_join({year, "/1/1 00:00:00"}));
  const TimeValue december_31 = value_to_time(text_join({year, "/12/31 00:00:00"}));
  const Text week = zero_pad(value_to_text(time_difference(v, january_1, UNIT_WEEK) + 1), 2);
  const Text day = zero_pad(value_to_text(truncate_with_tolerance(time_difference(v, january_1, UNIT_DAY) + 1)), 3);
  const Text length = value_to_text(time_difference(december_31, january_1, UNIT_DAY) + 1);
  return text_join({prefix, week, " 周; 第 ", day, " 天; 共 ", length, " 天"});
}

void fill_week_day_lines(App& app) {
  WindowModel& m = app.model;
  const TimeValue v = m.picker_value(app["日期框1"]);
  m.set_caption(app["标签4"], week_day_line("当前: 第 ", v));
  m.set_caption(app["标签3"], text_replace_at(m.caption(app["标签4"]), 1, 4, "1选中"));
}

void show_selected_line(App& app, ControlRef picker) {
  const TimeValue v = app.model.picker_value(picker);
  const TextView prefix = picker == app["日期框1"] ? "1选中: 第 " : "2选中: 第 ";
  app.model.set_caption(app["标签3"], week_day_line(prefix, v));
}

}  // namespace tc
