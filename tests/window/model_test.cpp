// The window model's own rules, on the scripted window.
#include <gtest/gtest.h>

#include <cstdio>

#include <unistd.h>

#include "window/model.h"
#include "window/scripted/scripted_binding.h"

namespace tc {
namespace {

class FixedClock final : public ClockSource {
 public:
  std::optional<ClockReading> read() const override { return ClockReading{2021, 1, 1, 0, 0, 0, 0}; }
};

struct ModelTest : ::testing::Test {
  ScriptedBinding binding;
  FixedClock clock;
  WindowModel model{binding, clock};
  void SetUp() override { model.build(); }
};

TEST(TagValue, ReadsSignAndLeadingDigits) {
  struct Case {
    const char* name;
    const char* tag;
    std::int32_t value;
  } cases[] = {
      {"digits then letters", "11abc", 11}, {"blank and plus", " +11", 11}, {"letters only", "abc", 0},
      {"empty", "", 0},                     {"negative", "-3", -3},        {"tab before", "\t18", 18},
  };
  for (const Case& c : cases) EXPECT_EQ(tag_value(c.tag), c.value) << c.name;
}

TEST_F(ModelTest, TagLookupsFindWindowBoxesAndEdits) {
  EXPECT_EQ(model.find_tagged_control(0), model.control(WINDOW));
  EXPECT_EQ(model.find_tagged_control(0).kind, ControlKind::Window);
  for (std::int32_t i = 1; i <= 8; ++i) {
    const std::string box = "选择框" + std::to_string(i);
    const std::string edit = "编辑框" + std::to_string(i);
    EXPECT_EQ(model.find_tagged_control(i), model.control(box));
    EXPECT_EQ(model.find_tagged_control(i + 10), model.control(edit));
    EXPECT_EQ(model.find_tagged_control(i + 10).kind, ControlKind::EditBox);
  }
}

// Runs fn on a freshly built window whose report prints "exit N" on stderr.
template <class F>
void on_fresh_window(F fn) {
  ScriptedBinding binding;
  FixedClock clock;
  WindowModel model(binding, clock);
  model.build();
  binding.on_end = [](int code) { std::fprintf(stderr, "exit %d\n", code); };
  fn(model);
}

// Lookups that cannot be answered end the program with the model's report.
TEST(ModelDeathTest, UnknownTagEndsWithReport) {
  for (std::int32_t tag : {9, 10, 19, -1}) {
    EXPECT_EXIT(on_fresh_window([tag](WindowModel& m) { m.find_tagged_control(tag); }),
                ::testing::ExitedWithCode(0), "exit -1")
        << tag;
  }
}

TEST(ModelDeathTest, RaisingControlOutsideAHandlerEndsWithReport) {
  EXPECT_EXIT(on_fresh_window([](WindowModel& m) { m.raising_control(); }), ::testing::ExitedWithCode(0), "exit -1");
}

// The report box's text, line by line as the scripted window prints it (UTF-8),
// and exit code -1 after it. The expected bytes are written out in UTF-8 so the
// check does not go through this program's own code page conversion.
TEST(ModelDeathTest, ReportTextIsExactAndExitCodeIsMinusOne) {
  const char* expected =
      "report: \xe8\xbf\x90\xe8\xa1\x8c\xe6\x97\xb6\xe5\x87\xba\xe9\x94\x99!\n"
      "report: \n"
      "report: \xe9\x94\x99\xe8\xaf\xaf\xe4\xbb\xa3\xe7\xa0\x81\xef\xbc\x9a" "5\n"
      "report: \n"
      "report: \xe9\x94\x99\xe8\xaf\xaf\xe4\xbf\xa1\xe6\x81\xaf\xef\xbc\x9a"
      "\xe6\x95\xb0\xe6\x8d\xae\xe6\x88\x96\xe6\x95\xb0\xe7\xbb\x84\xe7\xb1\xbb\xe5\x9e\x8b"
      "\xe4\xb8\x8d\xe5\x8c\xb9\xe9\x85\x8d\n"
      "report: \n"
      "report: 3, 7\n"
      "(report: \n)?exit -1\n";
  EXPECT_EXIT(
      {
        std::fflush(stdout);
        dup2(2, 1);  // the box's lines go to standard output; the check reads standard error
        on_fresh_window([](WindowModel& m) { m.abort_with_report(5, "数据或数组类型不匹配", 3, 7); });
      },
      ::testing::ExitedWithCode(0), expected);
}

TEST_F(ModelTest, ForwardingRunsTargetHandlerWithSourceAsRaiser) {
  const ControlRef edit1 = model.control("编辑框1");
  const ControlRef edit2 = model.control("编辑框2");
  const ControlRef edit3 = model.control("编辑框3");
  std::vector<ControlRef> raisers;
  model.bind(edit1.index, Event::TextChanged, [&](const KeyArgs&) -> HandlerResult {
    raisers.push_back(model.raising_control());
    return std::nullopt;
  });
  EXPECT_TRUE(model.forward_events(edit3, edit2));
  EXPECT_TRUE(model.forward_events(edit2, edit1));
  model.on_text_changed(edit3.index);  // chain 3 -> 2 -> 1
  ASSERT_EQ(raisers.size(), 1u);
  EXPECT_EQ(raisers[0], edit3);
  EXPECT_EQ(raisers[0].kind, ControlKind::EditBox);
  // Removing the forwarding of 2 breaks the chain at 2, which has no handler.
  EXPECT_TRUE(model.forward_events(edit2, std::nullopt));
  model.on_text_changed(edit3.index);
  EXPECT_EQ(raisers.size(), 1u);
}

TEST_F(ModelTest, ForwardingBetweenKindsFailsAndChangesNothing) {
  const ControlRef edit1 = model.control("编辑框1");
  const ControlRef edit2 = model.control("编辑框2");
  int runs = 0;
  model.bind(edit1.index, Event::TextChanged, [&](const KeyArgs&) -> HandlerResult {
    ++runs;
    return std::nullopt;
  });
  ASSERT_TRUE(model.forward_events(edit2, edit1));
  EXPECT_FALSE(model.forward_events(edit2, model.control("选择框1")));
  EXPECT_FALSE(model.forward_events(edit2, model.control(WINDOW)));
  model.on_text_changed(edit2.index);
  EXPECT_EQ(runs, 1);  // the earlier forwarding still holds
  // The window as source clears every forwarding.
  EXPECT_TRUE(model.forward_events(model.control(WINDOW), std::nullopt));
  model.on_text_changed(edit2.index);
  EXPECT_EQ(runs, 1);
}

TEST_F(ModelTest, ForwardingCycleDoesNotHang) {
  const ControlRef a = model.control("编辑框1");
  const ControlRef b = model.control("编辑框2");
  ASSERT_TRUE(model.forward_events(a, b));
  ASSERT_TRUE(model.forward_events(b, a));
  EXPECT_FALSE(model.raise(a.index, Event::TextChanged).has_value());
}

TEST_F(ModelTest, SetTickedOnlyOneTicks) {
  const ControlRef box = model.control("选择框1");
  int clicks = 0;
  model.bind(box.index, Event::Clicked, [&](const KeyArgs&) -> HandlerResult {
    ++clicks;
    return std::nullopt;
  });
  for (std::int32_t v : {2, -1, 0}) {
    model.set_ticked(box, 1);
    model.set_ticked(box, v);
    EXPECT_FALSE(model.ticked(box)) << v;
  }
  model.set_ticked(box, 1);
  EXPECT_TRUE(model.ticked(box));
  EXPECT_EQ(clicks, 0);  // setting raises no event
}

TEST_F(ModelTest, TimerPeriodRule) {
  model.set_timer_period(-5);
  EXPECT_EQ(model.timer_period(), 0);
  model.set_timer_period(1000);
  const std::uint32_t due = binding.timer_due();
  binding.advance(400);
  model.set_timer_period(1000);  // same period: keeps its rhythm
  EXPECT_EQ(binding.timer_due(), due);
  model.set_timer_period(0);
  EXPECT_EQ(binding.timer_period(), 0);
}

TEST_F(ModelTest, SelectByTextMatchesPrefixFirstItemAndLeavesBoxOnMiss) {
  const ControlRef combo = model.control("组合框2");
  model.clear_items(combo);
  EXPECT_EQ(binding.edit_text(combo.index), "");  // clearing empties the field
  model.add_item(combo, "考试");
  model.add_item(combo, "目标时间");
  model.add_item(combo, "目标时间");
  EXPECT_EQ(model.select_by_text(combo, "目标"), 1);
  EXPECT_EQ(binding.edit_text(combo.index), "目标时间");
  EXPECT_EQ(model.select_by_text(combo, "xyz"), -1);
  EXPECT_EQ(model.selected_index(combo), 1);
  model.add_item(combo, "Abc");
  EXPECT_EQ(model.select_by_text(combo, "aB"), 3);
}

TEST_F(ModelTest, EventsAreDroppedWhileSuppressed) {
  const ControlRef button = model.control("按钮1");
  int runs = 0;
  model.bind(button.index, Event::Clicked, [&](const KeyArgs&) -> HandlerResult {
    ++runs;
    return std::nullopt;
  });
  model.on_clicked(button.index);
  model.shut_down();
  model.on_clicked(button.index);
  EXPECT_EQ(runs, 1);
}

TEST_F(ModelTest, KeyFilterSwallowsOnlyExplicitFalse) {
  const ControlRef combo = model.control("组合框2");
  model.bind(combo.index, Event::KeyDown, [](const KeyArgs& k) -> HandlerResult {
    if (k.key == KEY_ENTER) return false;
    if (k.key == 'A') return true;
    return std::nullopt;
  });
  EXPECT_EQ(model.on_key(combo.index, {KEY_ENTER, 0}), KeyDecision::Swallow);
  EXPECT_EQ(model.on_key(combo.index, {'A', 0}), KeyDecision::PassOn);
  EXPECT_EQ(model.on_key(combo.index, {'B', 0}), KeyDecision::PassOn);
  EXPECT_EQ(model.on_key(combo.index, {KEY_TAB, MOD_SHIFT}), KeyDecision::FocusPrevious);
  EXPECT_EQ(model.on_key(combo.index, {KEY_ESCAPE, MOD_CTRL}), KeyDecision::PassOn);
  EXPECT_FALSE(binding.closed());
  EXPECT_EQ(model.on_key(combo.index, {KEY_ESCAPE, 0}), KeyDecision::Close);
  EXPECT_TRUE(binding.closed());
}

TEST_F(ModelTest, WorkersAreRefusedAfterShutdown) {
  std::atomic<int> ran{0}, refused{0};
  for (int i = 0; i < 8; ++i) {
    model.start_worker([&] {
      if (model.on_window_thread([&] { ++ran; })) return;
      ++refused;
    });
  }
  model.shut_down();  // never pumps: every waiting call is refused, none deadlocks
  EXPECT_EQ(ran.load(), 0);
  EXPECT_EQ(refused.load(), 8);
  EXPECT_EQ(model.active_workers(), 0);
}

}  // namespace
}  // namespace tc
