// The calculator on real Qt widgets (offscreen platform), driven by real Qt input
// events and read back from the widgets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/app.h"
#include "text/time_text.h"
#include "window/cp936.h"
#include "window/qt/qt_binding.h"

// Qt keeps process-wide allocations that LeakSanitizer would report at exit; the
// widgets' memory errors are still caught by the AddressSanitizer build.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace tc {
namespace {

namespace fs = std::filesystem;

struct QtWindowTest : ::testing::Test {
  fs::path dir;
  std::unique_ptr<Binding> binding;
  std::unique_ptr<WindowModel> model;
  std::unique_ptr<App> app;

  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "qt-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    dir = tmpl;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no display needed
    static int argc = 1;
    static char name[] = "qt_window_tests";
    static char* argv[] = {name, nullptr};
    binding = make_qt_binding(argc, argv);
    model = std::make_unique<WindowModel>(*binding, system_clock());
    app = std::make_unique<App>(App{*model, dir, std::nullopt});
    start_program(*app);
    QtInput::activate(*binding);
    QtInput::wait(150);  // past the change gate's first window
  }
  void TearDown() override {
    model->shut_down();
    install_model_report(nullptr);
    app.reset();
    model.reset();
    binding.reset();
    fs::remove_all(dir);
  }
  ControlIndex c(const char* name) const { return control_named(name); }
  std::string shown(const char* name) { return QtInput::shown_text(*binding, c(name)); }
  std::string store_file() const {
    std::ifstream f(dir / "djs_cfg.ini", std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
};

TEST_F(QtWindowTest, IntervalShownAfterClick) {
  QtInput::edit_picker(*binding, c("日期框1"), {2021, 1, 1, 0, 0, 0});
  QtInput::edit_picker(*binding, c("日期框2"), {2021, 1, 2, 12, 30, 5});
  QtInput::click(*binding, c("按钮3"));
  EXPECT_EQ(shown("间隔结果"), "1.52") << cp936_to_utf8(shown("间隔结果"));
  QtInput::choose(*binding, c("组合框1"), 8);
  QtInput::wait(20);
  EXPECT_EQ(shown("组合框1"), "全显");
  QtInput::click(*binding, c("按钮3"));
  EXPECT_EQ(shown("间隔结果"), "1天 12:30:05") << cp936_to_utf8(shown("间隔结果"));
}

TEST_F(QtWindowTest, TypingAnAmountTicksItsUnitAndMovesTheResult) {
  QtInput::edit_picker(*binding, c("日期框1"), {2021, 1, 30, 0, 0, 0});
  EXPECT_FALSE(QtInput::shown_ticked(*binding, c("选择框5")));
  QtInput::type(*binding, c("编辑框5"), "3");
  EXPECT_TRUE(QtInput::shown_ticked(*binding, c("选择框5")));
  EXPECT_EQ(shown("增减结果"), "2021年2月2日") << cp936_to_utf8(shown("增减结果"));
  QtInput::type(*binding, c("编辑框5"), "0");
  EXPECT_FALSE(QtInput::shown_ticked(*binding, c("选择框5")));
  EXPECT_EQ(shown("增减结果"), "2021年1月30日");
}

TEST_F(QtWindowTest, EnterInTheNameBoxWritesTheStore) {
  QtInput::edit_picker(*binding, c("日期框3"), {2031, 10, 1, 0, 0, 0});
  QtInput::wait(150);
  QtInput::type(*binding, c("组合框2"), "考试");
  QtInput::key(*binding, c("组合框2"), 0x01000004 /* Qt::Key_Return */, 0);
  QtInput::wait(50);
  EXPECT_EQ(store_file(), "[倒计时]\r\n目标时间=2031年10月1日\r\n考试=2031年10月1日\r\n") << cp936_to_utf8(store_file());
  EXPECT_EQ(model->items(model->control("组合框2")), (TextList{"目标时间", "考试"}));
  EXPECT_EQ(model->timer_period(), 1000);
  // Keypad Enter counts too; the key never reaches the box (no item of its own).
  QtInput::key(*binding, c("组合框2"), 0x01000005 /* Qt::Key_Enter */, 0x20000000 /* keypad */);
  EXPECT_EQ(model->items(model->control("组合框2")).size(), 3u);
}

TEST_F(QtWindowTest, Cp936TextsSurviveTheTripThroughAWidget) {
  // Typed as Qt key events carrying UTF-16 text, read back from the widget as
  // cp936 bytes: one-byte, two-byte and the code page's own euro sign at 0x80.
  struct Case { const char* name; std::string bytes; };
  const Case cases[] = {
      {"ascii letters and digits", "abc 123"},
      {"two-byte hanzi", "考试时间"},
      {"euro sign at 0x80", "\x80"},
      {"full-width punctuation", "（一）：。"},
      {"mixed with euro", "价\x80" "100"},
  };
  for (const Case& k : cases) {
    QtInput::type(*binding, c("组合框2"), k.bytes);
    EXPECT_EQ(shown("组合框2"), k.bytes) << k.name;
  }
}

TEST_F(QtWindowTest, EscapeClosesFromTheNameBox) {
  ASSERT_TRUE(QtInput::window_visible(*binding));
  QtInput::key(*binding, c("组合框2"), 0x01000000 /* Qt::Key_Escape */, 0);
  QtInput::wait(20);
  EXPECT_FALSE(QtInput::window_visible(*binding));
}

TEST_F(QtWindowTest, TabVisitsOnlyTabStopsInOrder) {
  const std::span<const ControlIndex> order = tab_order();
  binding->set_focus(order.front());
  QtInput::wait(10);
  for (std::size_t i = 1; i <= order.size(); ++i) {
    const ControlIndex at = QtInput::focused(*binding);
    QtInput::key(*binding, at, 0x01000001 /* Qt::Key_Tab */, 0);
    QtInput::wait(5);
    const ControlIndex now = QtInput::focused(*binding);
    EXPECT_EQ(now, order[i % order.size()]) << "step " << i;
    EXPECT_TRUE(window_definition()[static_cast<std::size_t>(now)].tab_stop);
  }
}

TEST_F(QtWindowTest, ChangeGateDropsASecondChangeWithin100ms) {
  QtInput::edit_picker(*binding, c("日期框1"), {2021, 8, 19, 13, 5, 7});
  QtInput::wait(20);
  EXPECT_EQ(shown("标签3"), "1选中: 第 34 周; 第 231 天; 共 365 天") << cp936_to_utf8(shown("标签3"));
  QtInput::edit_picker(*binding, c("日期框2"), {2020, 12, 31, 12, 0, 0});
  QtInput::wait(20);
  EXPECT_EQ(shown("标签3"), "1选中: 第 34 周; 第 231 天; 共 365 天");
  QtInput::wait(150);
  QtInput::edit_picker(*binding, c("日期框2"), {2020, 12, 30, 12, 0, 0});
  QtInput::wait(20);
  EXPECT_EQ(shown("标签3"), "2选中: 第 53 周; 第 365 天; 共 366 天") << cp936_to_utf8(shown("标签3"));
}

// The whole program as main() runs it: Esc pressed in the editable name box, once
// the loop runs, ends run_program with exit code 0.
TEST(QtProgram, EscapeEndsTheProgramWithExitCodeZero) {
  namespace fs = std::filesystem;
  std::string tmpl = (fs::temp_directory_path() / "qt-run-XXXXXX").string();
  ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "qt_window_tests";
  static char* argv[] = {name, nullptr};
  std::unique_ptr<Binding> binding = make_qt_binding(argc, argv);
  bool pressed = false;
  binding->post([&] {
    QtInput::activate(*binding);
    QtInput::key(*binding, control_named("组合框2"), 0x01000000 /* Qt::Key_Escape */, 0);
    pressed = true;
  });
  EXPECT_EQ(run_program(*binding, system_clock(), tmpl), 0);
  EXPECT_TRUE(pressed);
  install_model_report(nullptr);
  fs::remove_all(tmpl);
}

}  // namespace
}  // namespace tc
