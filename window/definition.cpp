#include "window/definition.h"

namespace tc {
namespace {

constexpr std::array<std::string_view, 9> UNIT_ITEMS = {"年", "季度", "月", "周", "日", "时", "分", "秒", "全显"};
constexpr std::array<std::string_view, 1> NAME_ITEMS = {"目标时间"};

// Parents by index in the table below.
constexpr ControlIndex GROUP3 = 17;  // 分组框3 "时间间隔"
constexpr ControlIndex GROUP2 = 20;  // 分组框2 "倒计时"
constexpr ControlIndex GROUP1 = 36;  // 分组框1 "增加/减少"

using K = ControlKind;

constexpr ControlDefinition row(std::string_view name, K kind, ControlIndex parent, std::int32_t left,
                                std::int32_t top, std::int32_t width, std::int32_t height, std::string_view tag,
                                bool tab_stop, std::string_view text) {
  return ControlDefinition{name, kind, parent, left, top, width, height, tag, tab_stop, text, {}};
}

constexpr ControlDefinition label(ControlDefinition d, Colour c, Align a, bool wraps, std::int32_t font_height = 0,
                                  bool bold = false, std::string_view face = {}, bool border = false) {
  d.colour = c;
  d.align = a;
  d.wraps = wraps;
  d.font_height = font_height;
  d.bold = bold;
  d.font_face = face;
  d.border = border;
  return d;
}

constexpr ControlDefinition group(ControlDefinition d, Colour title) {
  d.colour = title;
  d.align = Align::Centre;
  return d;
}

constexpr ControlDefinition combo(ControlDefinition d, std::span<const std::string_view> items, std::int32_t selected) {
  d.items = items;
  d.selected = selected;
  return d;
}

constexpr ControlDefinition check_caption_left(ControlDefinition d) {
  d.align = Align::Left;
  return d;
}

constexpr Colour RED{255, 0, 0};

const std::array<ControlDefinition, 39> TABLE = {{
    /* 0 */ row("窗口", K::Window, NO_CONTROL, 0, 0, WINDOW_OUTER_WIDTH, WINDOW_OUTER_HEIGHT, "", false, "时间计算器"),
    /* 1 */ row("按钮4", K::Button, WINDOW, 209, 74, 40, 28, "", true, "现在"),
    /* 2 */ combo(row("组合框2", K::ComboBox, GROUP2, 7, 46, 185, 20, "", true, "目标时间"), NAME_ITEMS, -1),
    /* 3 */ row("选择框9", K::CheckBox, GROUP1, 432, 9, 14, 14, "", true, ""),
    /* 4 */ label(row("标签5", K::Label, GROUP3, 71, 60, 59, 15, "", false, "下 - 上"), RED, Align::Centre, true),
    /* 5 */ label(row("标签4", K::Label, WINDOW, 238, 9, 220, 20, "", false, ""), {255, 80, 128}, Align::Right, true),
    /* 6 */ row("时钟1", K::Timer, WINDOW, 0, 0, 0, 0, "", false, ""),
    /* 7 */ label(row("标签3", K::Label, WINDOW, 12, 9, 224, 20, "", false, ""), {144, 0, 255}, Align::Left, true),
    /* 8 */ label(row("标签2", K::Label, GROUP2, 15, 148, 170, 30, "", false, "00:00:00"), RED, Align::Centre, false, 19),
    /* 9 */ label(row("间隔结果", K::Label, GROUP3, 7, 17, 225, 29, "", false, ""), {255, 0, 255}, Align::Centre, false, 24,
                  false, {}, true),
    /* 10 */ row("按钮3", K::Button, GROUP3, 152, 50, 80, 31, "", true, "计算"),
    /* 11 */ combo(row("组合框1", K::ComboBox, GROUP3, 9, 57, 48, 20, "", true, "日"), UNIT_ITEMS, 4),
    /* 12 */ row("按钮2", K::Button, WINDOW, 209, 34, 40, 28, "", true, "现在"),
    /* 13 */ row("按钮1", K::Button, GROUP1, 357, 67, 80, 31, "", true, "计算"),
    /* 14 */ row("编辑框8", K::EditBox, GROUP1, 387, 40, 50, 20, "18", true, "0"),
    /* 15 */ check_caption_left(row("选择框8", K::CheckBox, GROUP1, 387, 21, 30, 14, "8", true, "秒")),
    /* 16 */ label(row("增减结果", K::Label, GROUP1, 12, 71, 335, 24, "", false, ""), {0, 136, 255}, Align::Left, false, 24),
    /* 17 */ group(row("分组框3", K::GroupBox, WINDOW, 10, 115, 240, 88, "", false, "时间间隔"), {0, 0, 0}),
    /* 18 */ label(row("标签1", K::Label, GROUP2, 7, 75, 184, 69, "", false, "0"), RED, Align::Centre, false, 91, true,
                   "宋体"),
    /* 19 */ row("日期框3", K::DatePicker, GROUP2, 7, 16, 185, 24, "", false, ""),
    /* 20 */ group(row("分组框2", K::GroupBox, WINDOW, 258, 29, 200, 182, "", false, "倒计时"), RED),
    /* 21 */ row("日期框2", K::DatePicker, WINDOW, 11, 76, 184, 24, "", true, ""),
    /* 22 */ row("编辑框7", K::EditBox, GROUP1, 333, 40, 50, 20, "17", true, "0"),
    /* 23 */ check_caption_left(row("选择框7", K::CheckBox, GROUP1, 333, 21, 30, 14, "7", true, "分")),
    /* 24 */ row("编辑框6", K::EditBox, GROUP1, 279, 40, 50, 20, "16", true, "0"),
    /* 25 */ check_caption_left(row("选择框6", K::CheckBox, GROUP1, 279, 21, 30, 14, "6", true, "时")),
    /* 26 */ row("编辑框5", K::EditBox, GROUP1, 225, 40, 50, 20, "15", true, "0"),
    /* 27 */ check_caption_left(row("选择框5", K::CheckBox, GROUP1, 225, 21, 30, 14, "5", true, "日")),
    /* 28 */ row("编辑框4", K::EditBox, GROUP1, 171, 40, 50, 20, "14", true, "0"),
    /* 29 */ check_caption_left(row("选择框4", K::CheckBox, GROUP1, 171, 21, 30, 14, "4", true, "周")),
    /* 30 */ row("编辑框3", K::EditBox, GROUP1, 117, 40, 50, 20, "13", true, "0"),
    /* 31 */ check_caption_left(row("选择框3", K::CheckBox, GROUP1, 117, 21, 30, 14, "3", true, "月")),
    /* 32 */ row("编辑框2", K::EditBox, GROUP1, 63, 40, 50, 20, "12", true, "0"),
    /* 33 */ check_caption_left(row("选择框2", K::CheckBox, GROUP1, 63, 21, 44, 14, "2", true, "季度")),
    /* 34 */ row("编辑框1", K::EditBox, GROUP1, 9, 40, 50, 20, "11", true, "0"),
    /* 35 */ check_caption_left(row("选择框1", K::CheckBox, GROUP1, 9, 21, 30, 14, "1", true, "年")),
    /* 36 */ group(row("分组框1", K::GroupBox, WINDOW, 10, 211, 448, 110, "", false, "增加/减少"), {0, 0, 255}),
    /* 37 */ row("日期框1", K::DatePicker, WINDOW, 11, 36, 184, 24, "", true, ""),
    /* 38 */ row("连动", K::CheckBox, WINDOW, 195, 61, 14, 14, "", true, ""),
}};

constexpr std::array<ControlIndex, 26> TAB_ORDER = {
    37, 12, 38, 21, 1,                       // 日期框1 按钮2 连动 日期框2 按钮4
    11, 10,                                  // 组合框1 按钮3
    2,                                       // 组合框2
    35, 34, 33, 32, 31, 30, 29, 28,          // 选择框1 编辑框1 .. 选择框4 编辑框4
    27, 26, 25, 24, 23, 22, 15, 14,          // 选择框5 编辑框5 .. 选择框8 编辑框8
    3, 13,                                   // 选择框9 按钮1
};

}  // namespace

std::span<const ControlDefinition> window_definition() { return TABLE; }

std::span<const ControlIndex> tab_order() { return TAB_ORDER; }

ControlIndex control_named(std::string_view name) {
  for (std::size_t i = 0; i < TABLE.size(); ++i) {
    if (TABLE[i].name == name) return static_cast<ControlIndex>(i);
  }
  return NO_CONTROL;
}

}  // namespace tc
