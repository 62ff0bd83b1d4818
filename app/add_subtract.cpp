// The add/subtract calculator: eight signed amounts applied in turn to 日期框1.
// Rows are found by tag: the check box of unit i has tag i, its edit box i + 10.
#include "app/app.h"
#include "text/time_text.h"
#include "text/value.h"

namespace tc {
namespace {

constexpr std::int32_t MISMATCH_CODE = 5;
constexpr char MISMATCH_MESSAGE[] = "数据或数组类型不匹配";

// The control with that tag, which must be of that kind; routine numbers locate
// the report: 1 refresh, 2 amount rule, 3 select-all.
ControlRef tagged(App& app, std::int32_t tag, ControlKind kind, std::int32_t routine) {
  const ControlRef c = app.model.find_tagged_control(tag);
  if (c.kind != kind) app.model.abort_with_report(MISMATCH_CODE, MISMATCH_MESSAGE, routine, tag);
  return c;
}

}  // namespace

void refresh_add_subtract(App& app) {
  WindowModel& m = app.model;
  TimeValue v = m.picker_value(app["日期框1"]);
  for (std::int32_t unit = UNIT_YEAR; unit <= UNIT_SECOND; ++unit) {
    const ControlRef edit = tagged(app, unit + 10, ControlKind::EditBox, 1);
    const ControlRef check = tagged(app, unit, ControlKind::CheckBox, 1);
    if (m.ticked(check)) v = add_to_time(v, unit, text_to_integer(m.edit_text(edit)));
  }
  m.set_caption(app["增减结果"], format_time_text(v));
}

void handle_amount_changed(App& app) {
  WindowModel& m = app.model;
  const ControlRef source = m.raising_control();
  if (source.kind != ControlKind::EditBox) m.abort_with_report(MISMATCH_CODE, MISMATCH_MESSAGE, 2, 0);
  const std::int32_t tag = text_to_integer(m.read_tag(source));
  const ControlRef check = tagged(app, tag - 10, ControlKind::CheckBox, 2);
  const Text text = m.edit_text(source);
  // Byte for byte: " 0", "00" or "-0" tick the box although they read as 0.
  m.set_ticked(check, text.empty() || text == "0" ? 0 : 1);
  refresh_add_subtract(app);
}

void handle_select_all(App& app) {
  WindowModel& m = app.model;
  const std::int32_t state = m.ticked(app["选择框9"]) ? 1 : 0;
  for (std::int32_t unit = UNIT_YEAR; unit <= UNIT_SECOND; ++unit) {
    m.set_ticked(tagged(app, unit, ControlKind::CheckBox, 3), state);
  }
}

void show_start_time(App& app) {
  app.model.set_caption(app["增减结果"], format_time_text(app.model.picker_value(app["日期框1"])));
}

void forward_amount_boxes(App& app) {
  for (const char* name : {"编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6", "编辑框7", "编辑框8"}) {
    app.model.forward_events(app[name], app["编辑框1"]);
  }
}

}  // namespace tc
