// Handlers that pull the ground from under the event that runs them: a
// form unloaded by one of its own key or mouse handlers, a timer slower than
// its interval.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

using Log = std::vector<std::string>;

// Which handler unloads the dialog when it sees the key or the click.
struct UnloadCase {
  const char* unloader;
  bool click;  // a click on the text box instead of the Esc key
  Log expected;
};

class UiUnloadInsideInput : public ::testing::TestWithParam<UnloadCase> {};

TEST_P(UiUnloadInsideInput, NoLaterEventOfTheSameInputReachesTheUnloadedForm) {
  const UnloadCase& u = GetParam();
  ScriptedShell shell;
  Form main("frmMain");
  Form dialog("frmDialog");
  auto& text = dialog.Add<TextBox>("txtA");
  auto& cancel = dialog.Add<CommandButton>("cmdCancel");
  cancel.is_cancel = true;
  cancel.tab_index = 1;
  dialog.key_preview = true;
  Log log;
  // Every handler logs; the one named by the case unloads the dialog too.
  auto note = [&](const std::string& what) {
    log.push_back(what);
    if (what == u.unloader) dialog.Unload();
  };
  dialog.on_key_down = [&](int&, int&) { note("form down"); };
  dialog.on_key_press = [&](int&) { note("form press"); };
  dialog.on_key_up = [&](int&, int&) { note("form up"); };
  text.on_key_down = [&](int&, int&) { note("text down"); };
  text.on_key_press = [&](int&) { note("text press"); };
  text.on_key_up = [&](int&, int&) { note("text up"); };
  text.on_mouse_down = [&](int, int, float, float) { note("text mouse down"); };
  text.on_mouse_up = [&](int, int, float, float) { note("text mouse up"); };
  text.on_click = [&] { note("text click"); };
  cancel.on_click = [&] { note("cancel click"); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));

  if (u.click) {
    shell.Click("frmDialog", "txtA");
  } else {
    shell.Key(kKeyEscape);
  }
  bool returned = false;
  ASSERT_TRUE(shell.Drive([&] {
    dialog.Show(true);
    returned = true;
  }));
  EXPECT_TRUE(returned);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(log, u.expected) << u.unloader;
  EXPECT_SCRIPT_OK(shell);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiUnloadInsideInput,
    ::testing::Values(
        UnloadCase{"form down", false, {"form down"}},
        UnloadCase{"text down", false, {"form down", "text down"}},
        UnloadCase{"form press", false, {"form down", "text down", "form press"}},
        UnloadCase{"text press", false, {"form down", "text down", "form press", "text press"}},
        UnloadCase{"cancel click", false, {"form down", "text down", "form press", "text press", "cancel click"}},
        UnloadCase{"text mouse down", true, {"text mouse down"}},
        UnloadCase{"text mouse up", true, {"text mouse down", "text mouse up"}}));

// A focus change whose leaving control unloads the form: the control that
// was to take the focus gets neither the focus nor the click.
class UnloadingOnLeave : public Control {
 public:
  UnloadingOnLeave(Form* form, std::string name, int index)
      : Control(form, std::move(name), index, ControlKind::kSpread) {}
  void OnFocusLeaving(Control*) override { form()->Unload(); }
};

TEST(UiUnloadInsideInput, AFormUnloadedWhileTheFocusLeavesAControlRaisesNothingMore) {
  ScriptedShell shell;
  Form main("frmMain");
  Form dialog("frmDialog");
  auto& grid = dialog.Add<UnloadingOnLeave>("sprList");
  auto& ok = dialog.Add<CommandButton>("cmdOk");
  ok.tab_index = 1;
  Log log;
  ok.on_got_focus = [&] { log.push_back("ok got focus"); };
  ok.on_click = [&] { log.push_back("ok click"); };
  grid.on_lost_focus = [&] { log.push_back("grid lost focus"); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  shell.Click("frmDialog", "cmdOk");
  ASSERT_TRUE(shell.Drive([&] { dialog.Show(true); }));
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(log, Log{});
  EXPECT_EQ(dialog.active_control(), nullptr);
}

// A backend whose clock the test moves, so that a handler can take time.
class ClockBackend : public Backend {
 public:
  std::int64_t now = 0;
  MsgResult ShowMessageBox(const MessageBoxRequest&) override { return MsgResult::kOk; }
  void RingBell() override {}
  ScreenMetrics QueryScreen() const override { return {}; }
  std::int64_t ClockMs() const override { return now; }
  void PollInput(Shell&) override {}
  bool WaitForInput(Shell&) override { return false; }
};

TEST(UiTimers, ATimerSlowerThanItsIntervalTicksOncePerYieldInsteadOfForever) {
  ClockBackend backend;
  Shell shell(backend);
  Shell* const previous = Shell::Current();
  Shell::Install(&shell);
  {
    Form form("frmA");
    auto& timer = form.Add<Timer>("tmrPoll");
    timer.interval = 10;
    int ticks = 0;
    timer.on_timer = [&] {
      ++ticks;
      backend.now += 25;                 // the handler takes longer than the interval
      if (ticks > 50) timer.enabled = false;  // a stop for the fault, not part of the case
    };
    ASSERT_TRUE(shell.Step([&] { form.Show(); }));
    backend.now = 10;
    shell.DoEvents();
    EXPECT_EQ(ticks, 1) << "the yield returns to the caller (and the user's input)";
    shell.DoEvents();
    EXPECT_EQ(ticks, 2);
  }
  Shell::Install(previous);
}

TEST(UiTimers, ATimerThatTickedInsideAnotherTimersYieldDoesNotTickAgainAfterIt) {
  // The progress window's blink yields in its tick; a poll timer due at the
  // same moment runs inside that yield, and only there.
  ScriptedShell shell;
  Form form("frmA");
  auto& blink = form.Add<Timer>("tmrBlink");
  auto& poll = form.Add<Timer>("tmrPoll");
  blink.interval = poll.interval = 100;
  Log log;
  blink.on_timer = [&] {
    log.push_back("blink " + std::to_string(shell.NowMs()));
    shell.DoEvents();
  };
  poll.on_timer = [&] { log.push_back("poll " + std::to_string(shell.NowMs())); };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.AdvanceTime(200);
  EXPECT_EQ(log, (Log{"blink 100", "poll 100", "blink 200", "poll 200"}));
}

}  // namespace
}  // namespace qz::ui

#include "platform/ui/work_in_progress.h"

namespace qz::ui {
namespace {

// While the program works and yields, the user's clicks, keys, typing and
// close box are not taken; a dialog the work itself shows takes them.
TEST(UiWorkInProgress, HoldsBackTheUsersInputButForTheWorksOwnDialogs) {
  ScriptedShell shell;
  Form main("frmMain");
  auto& button = main.Add<CommandButton>("cmdGo");
  auto& text = main.Add<TextBox>("txtA");
  Form dialog("frmAsk");
  auto& ok = dialog.Add<CommandButton>("cmdOk");
  int clicks = 0;
  button.on_click = [&] { ++clicks; };
  ok.on_click = [&] { dialog.Hide(); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  std::vector<bool> taken;
  ASSERT_TRUE(shell.Drive([&] {
    WorkInProgress busy;
    EXPECT_TRUE(shell.working());
    taken.push_back(shell.UserClick(button));
    taken.push_back(shell.UserKey(kKeyReturn));
    taken.push_back(shell.UserType("x"));
    {
      WorkInProgress nested;
      taken.push_back(shell.UserClick(button));
    }
    // The work's own dialog takes its click; the main form still does not.
    shell.Do([&] { taken.push_back(shell.UserClick(button)); }).Click("frmAsk", "cmdOk");
    dialog.Show(true, &main);
  }));
  EXPECT_EQ(taken, (std::vector<bool>{false, false, false, false, false}));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(text.text().empty());
  EXPECT_FALSE(shell.working());
  EXPECT_TRUE(shell.UserClick(button));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(testkit::ScriptOk(shell));
}

// Keys the program sends itself (an option's KeyCode) wait like the user's
// while the program works and yields: none reaches the form inside the
// work, and all arrive in order once the last work has ended.
TEST(UiWorkInProgress, HoldsBackSentKeysUntilTheWorkEnds) {
  ScriptedShell shell;
  Form main("frmMain");
  auto& text = main.Add<TextBox>("txtA");
  Log log;
  text.on_key_down = [&](int& key, int&) { log.push_back("key " + std::to_string(key)); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  ASSERT_TRUE(shell.Drive([&] {
    WorkInProgress busy;
    shell.SendKeys("{F5}a");
    shell.DoEvents();
    {
      WorkInProgress nested;
      shell.SendKeys("b");
    }
    shell.DoEvents();
    log.push_back("work end");
  }));
  EXPECT_EQ(log, (Log{"work end", "key 116", "key 65", "key 66"}));
  EXPECT_EQ(text.text(), "ab");
}

}  // namespace
}  // namespace qz::ui
