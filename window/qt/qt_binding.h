// The window on Qt 6 Widgets. This header holds no Qt type, so code compiled in
// code page 936 (the program's entry, the tests) can use it; Qt itself stays in
// qt_binding.cpp, which is compiled with a UTF-8 execution charset because Qt's
// headers need <chrono>. No text literal in that file is shown to the user.
#pragma once

#include <memory>
#include <string>

#include "window/binding.h"

namespace tc {

// The Windows window the layout was drawn for has outer size 473 x 358 with a
// fixed single border (3 px each side) and a caption bar (23 px): its client
// area, which is the size of the Qt window's contents, is 467 x 329.
inline constexpr int CLIENT_WIDTH = 467;
inline constexpr int CLIENT_HEIGHT = 329;

// Makes the QApplication (if none exists) and the binding.
std::unique_ptr<Binding> make_qt_binding(int& argc, char** argv);

// User input delivered to the Qt window as real Qt events, and what its widgets
// show, for tests and script runs. Names are control indexes; texts are cp936.
struct QtInput {
  static void click(Binding& b, ControlIndex control);           // mouse click in the middle
  static void type(Binding& b, ControlIndex edit, const std::string& text);  // select all, type
  static void key(Binding& b, ControlIndex focus, int qt_key, int qt_modifiers);
  static void choose(Binding& b, ControlIndex combo, int index);  // a list choice
  static void edit_picker(Binding& b, ControlIndex picker, const PickerFields& f);  // as typed by the user
  static void wait(int ms);                                       // runs the event loop
  static std::string shown_text(Binding& b, ControlIndex control);  // label, edit, combo field, button
  static bool shown_ticked(Binding& b, ControlIndex check_box);
  static ControlIndex focused(Binding& b);
  static TextList shown_items(Binding& b, ControlIndex combo);  // the combo box's list
  static int timer_period(Binding& b);                           // 0 while stopped
  static int timer_remaining(Binding& b);                        // ms to the next tick, -1 while stopped
  static bool wait_for_tick(Binding& b, int timeout_ms);         // runs the loop until the timer fires
  // A key given as a virtual-key code (see window/model.h) and MOD_* flags; false
  // for a code with no Qt key here.
  static bool press_virtual_key(Binding& b, ControlIndex focus, int vk, int modifiers);
  static void request_close(Binding& b);                         // as the close button does
  static bool window_visible(Binding& b);
  static void activate(Binding& b);  // waits until the window has the focus
};

}  // namespace tc
