// The three pickers' display format, the two "现在" buttons and the 连动 link.
#include "app/app.h"

namespace tc {
namespace {

// Writes now to `own`; with 连动 ticked, copies the value read back to `other`.
void set_now(App& app, ControlRef own, ControlRef other) {
  app.model.set_picker_value(own, current_time(app.model.clock()));
  if (app.model.ticked(app["连动"])) app.model.set_picker_value(other, app.model.picker_value(own));
}

}  // namespace

void set_picker_formats(App& app) {
  for (const char* name : {"日期框1", "日期框2", "日期框3"}) app.model.set_picker_format(app[name], PICKER_FORMAT);
}

void handle_now_first(App& app) { set_now(app, app["日期框1"], app["日期框2"]); }
void handle_now_second(App& app) { set_now(app, app["日期框2"], app["日期框1"]); }

}  // namespace tc
