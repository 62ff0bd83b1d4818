// The interval calculator: 日期框2 - 日期框1 in the unit chosen in 组合框1.
#include "app/app.h"
#include "text/value.h"

namespace tc {
namespace {

constexpr std::int32_t FULL_DISPLAY_INDEX = 8;  // "全显": days and hh:mm:ss

Text two_digits(double n) { return text_right(text_join({"0", value_to_text(n)}), 2); }

}  // namespace

void handle_interval(App& app) {
  WindowModel& m = app.model;
  const std::int32_t k = m.selected_index(app["组合框1"]);
  const TimeValue t1 = m.picker_value(app["日期框1"]);
  const TimeValue t2 = m.picker_value(app["日期框2"]);
  if (k != FULL_DISPLAY_INDEX) {
    const double r = round_to_places(time_difference(t2, t1, k + 1), 2);
    m.set_caption(app["间隔结果"], value_to_text(r));
    return;
  }
  const double d = time_difference(t2, t1, UNIT_DAY);
  // Less than one day back: the whole days are 0, so the sign must be written.
  const TextView sign = (d < -1e-7 && d - -1.0 > 1e-7) ? "-" : "";
  const std::int32_t w = truncate_with_tolerance(d);
  const TimeValue t2_moved = add_to_time(t2, UNIT_DAY, -w);
  const double s = abs_decimal(time_difference(t2_moved, t1, UNIT_SECOND));
  const double h = truncate_with_tolerance(s / 3600);
  const double mi = truncate_with_tolerance((s - h * 3600) / 60);
  const double c = s - h * 3600 - mi * 60;
  m.set_caption(app["间隔结果"], text_join({sign, value_to_text(w), "天 ", two_digits(h), ":", two_digits(mi), ":",
                                           two_digits(c)}));
}

}  // namespace tc
