// The one window of the program as data: every control with its kind, parent,
// place, size, tag, tab stop, texts, list items, initial state and look. Every
// binding builds its window from this table, in this order (the window first).
// This header holds no non-ASCII literal: toolkit files that include it are
// compiled with a UTF-8 execution charset (their headers need <chrono>), and every
// text they show comes from the table, as code page 936 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace tc {

// Kind codes are what a lookup hands back with a control; handlers compare them.
enum class ControlKind : std::int32_t {
  Window = 65537,
  EditBox = 65541,
  GroupBox = 65545,
  Label = 65546,
  Button = 65547,
  CheckBox = 65548,
  ComboBox = 65550,
  DatePicker = 65559,
  Timer = 65568,
};

enum class Align : std::uint8_t { Left, Centre, Right };

struct Colour {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// Index of a control in the window's order; 0 is the window itself.
using ControlIndex = std::int32_t;
inline constexpr ControlIndex WINDOW = 0;
inline constexpr ControlIndex NO_CONTROL = -1;

struct ControlDefinition {
  std::string_view name;          // cp936, unique in the window
  ControlKind kind;
  ControlIndex parent;            // WINDOW or a group box
  std::int32_t left, top;         // pixels from the parent's client corner
  std::int32_t width, height;     // pixels
  std::string_view tag;           // tag text, mostly empty
  bool tab_stop;
  std::string_view text;          // caption or initial text (cp936)
  std::span<const std::string_view> items;  // combo box list items
  std::int32_t selected = -1;     // initially selected item, -1 for none
  // Labels and group-box titles.
  Colour colour{};
  Align align = Align::Left;
  bool wraps = false;             // wraps at word breaks, top aligned; else one line centred vertically
  std::int32_t font_height = 0;   // character height in pixels; 0 = the window's font
  bool bold = false;
  std::string_view font_face{};   // empty = the default face
  bool border = false;            // thin single-line frame
};

inline constexpr std::int32_t WINDOW_OUTER_WIDTH = 473;   // frame and caption bar included
inline constexpr std::int32_t WINDOW_OUTER_HEIGHT = 358;
inline constexpr std::int32_t COMBO_DROPPED_HEIGHT = 160;  // a combo box with its list open

// The window and its 38 controls, in the window's order.
std::span<const ControlDefinition> window_definition();

// The tab stops in the order Tab visits them: the pickers with their buttons top
// left, the interval group, the countdown, then the add/subtract row left to right.
std::span<const ControlIndex> tab_order();

// Index of the control with that name, or NO_CONTROL.
ControlIndex control_named(std::string_view name);

}  // namespace tc
