// The shell: modal loops, timers, the end of the program, send-keys, the
// close box, screen metrics and the scripted shell's own checks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

using Log = std::vector<std::string>;

TEST(UiModal, TimersTickInsideTheNestedLoopWhileTheOwnerIsDisabled) {
  ScriptedShell shell;
  Form main("frmMain");
  auto& timer = main.Add<Timer>("tmrPoll");
  timer.interval = 100;
  Form dialog("frmDialog");
  auto& close = dialog.Add<CommandButton>("cmdClose");
  close.on_click = [&] { dialog.Unload(); };
  std::vector<bool> modal_at_tick;
  timer.on_timer = [&] { modal_at_tick.push_back(!shell.modal_forms().empty() && !main.enabled()); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));

  bool returned = false;
  shell.Advance(350).Click("frmDialog", "cmdClose");
  ASSERT_TRUE(shell.Drive([&] {
    dialog.Show(true);
    returned = true;
  }));
  EXPECT_TRUE(returned);
  EXPECT_EQ(modal_at_tick, (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(main.enabled());
  EXPECT_TRUE(shell.modal_forms().empty());
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiModal, HidingTheFormEndsTheLoopAndItStaysLoaded) {
  ScriptedShell shell;
  Form main("frmMain");
  Form dialog("frmDialog");
  dialog.Add<CommandButton>("cmdOk").on_click = [&] { dialog.Hide(); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  shell.Click("frmDialog", "cmdOk");
  ASSERT_TRUE(shell.Drive([&] { dialog.Show(true); }));
  EXPECT_TRUE(dialog.loaded());
  EXPECT_FALSE(dialog.visible());
  EXPECT_EQ(shell.active_form(), &main);
  ASSERT_EQ(shell.shown_forms().size(), 2u);
  EXPECT_TRUE(shell.shown_forms()[1].modal);
}

TEST(UiModal, AModalFormWaitingOnAnEmptyScriptIsAFailureNotAHang) {
  ScriptedShell shell;
  Form main("frmMain");
  Form dialog("frmDialog");
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  bool returned = false;
  EXPECT_TRUE(shell.Drive([&] {
    dialog.Show(true);
    returned = true;
  }));
  EXPECT_FALSE(returned);
  ASSERT_EQ(shell.failures().size(), 1u);
  EXPECT_NE(shell.failures()[0].find("frmDialog"), std::string::npos);
  EXPECT_TRUE(main.enabled()) << "the owner is enabled again when the loop unwinds";
}

TEST(UiEndProgram, UnloadingTheMainFormEndsTheProgramWithNoLaterStep) {
  ScriptedShell shell;
  Log log;
  Form main("frmMain");
  Form other("frmOther");
  main.on_unload = [&](int&) { log.push_back("main unload"); };
  other.on_unload = [&](int&) { log.push_back("other unload"); };
  auto& end = main.Add<CommandButton>("cmdEnd");
  end.on_click = [&] {
    main.Unload();
    log.push_back("after unload");  // must never run
  };
  shell.SetMainForm(&main);
  ASSERT_TRUE(shell.Drive([&] {
    main.Show();
    other.Show();
  }));
  shell.Click("frmMain", "cmdEnd").Do([&] { log.push_back("next action"); });
  EXPECT_FALSE(shell.Play());
  EXPECT_TRUE(shell.ended());
  EXPECT_EQ(log, (Log{"main unload"}));
  EXPECT_FALSE(other.loaded());
  EXPECT_FALSE(shell.Drive([&] { log.push_back("step after the end"); }));
  EXPECT_EQ(log, (Log{"main unload"}));
}

TEST(UiEndProgram, EndsFromInsideAModalLoopAndFromTheUnloadHandler) {
  ScriptedShell shell;
  Log log;
  Form main("frmMain");
  main.on_unload = [&](int&) {
    log.push_back("main unload");
    shell.End();
  };
  Form dialog("frmDialog");
  dialog.Add<CommandButton>("cmdQuit").on_click = [&] { main.Unload(); };
  shell.Do([&] {
         dialog.Show(true);
         log.push_back("after modal");
       })
      .Click("frmDialog", "cmdQuit")
      .Do([&] { log.push_back("next action"); });
  EXPECT_TRUE(shell.Run(main)) << "Run returns true when the program ended";
  EXPECT_TRUE(shell.ended());
  EXPECT_EQ(log, (Log{"main unload"}));
  EXPECT_FALSE(main.loaded());
  EXPECT_FALSE(dialog.loaded());
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiEndProgram, AMainFormUnloadedInItsLoadHandlerEndsRun) {
  ScriptedShell shell;
  Form main("frmMain");
  bool activated = false;
  main.on_load = [&] { main.Unload(); };
  main.on_activate = [&] { activated = true; };
  EXPECT_TRUE(shell.Run(main));
  EXPECT_FALSE(activated);
}

TEST(UiEndProgram, AnUntrappedRunTimeErrorEndsRunWithTheRuntimesReport) {
  ScriptedShell shell;
  Form main("frmMain");
  main.Add<CommandButton>("cmdGo").on_click = [] { throw RunTimeError(kErrTypeMismatch); };
  shell.Click("frmMain", "cmdGo").AnswerBox(MsgResult::kOk, "実行時エラー '13':\r\n\r\n型が一致しません。");
  EXPECT_TRUE(shell.Run(main));
  EXPECT_TRUE(shell.ended());
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiEndProgram, AnyOtherUntrappedExceptionIsReportedAsAnInvalidCallAndEndsRun) {
  ScriptedShell shell;
  Form main("frmMain");
  main.Add<CommandButton>("cmdGo").on_click = [] { (void)std::string("abc").substr(9); };
  shell.Click("frmMain", "cmdGo").AnswerBox(MsgResult::kOk, "実行時エラー '5':\r\n\r\n");
  EXPECT_TRUE(shell.Run(main));
  EXPECT_TRUE(shell.ended());
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiEndProgram, TheMessageObserverIsToldOfTheUntrappedErrorsReport) {
  ScriptedShell shell;
  Form main("frmMain");
  main.Add<CommandButton>("cmdGo").on_click = [] { throw RunTimeError(kErrTypeMismatch); };
  std::vector<MessageBoxRequest> observed;
  SetMessageObserver([&](const MessageBoxRequest& box) { observed.push_back(box); });
  shell.Click("frmMain", "cmdGo").AnswerBox(MsgResult::kOk, "実行時エラー '13'");
  EXPECT_TRUE(shell.Run(main));
  SetMessageObserver(nullptr);
  ASSERT_EQ(observed.size(), 1u);
  EXPECT_EQ(observed[0].text, "実行時エラー '13':\r\n\r\n型が一致しません。");
  EXPECT_EQ(observed[0].icon, MsgIcon::kCritical);
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiCloseBox, RaisesQueryUnloadWithModeZeroAndTheHandlerMayRefuse) {
  ScriptedShell shell;
  Form form("frmA");
  Log log;
  bool refuse = true;
  form.on_query_unload = [&](int& cancel, int mode) {
    log.push_back("query " + std::to_string(mode));
    if (refuse) cancel = 1;
  };
  form.on_unload = [&](int&) { log.push_back("unload"); };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.CloseBox("frmA");
  ASSERT_TRUE(shell.Play());
  EXPECT_TRUE(form.loaded());
  refuse = false;
  shell.CloseBox("frmA");
  ASSERT_TRUE(shell.Play());
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(log, (Log{"query 0", "query 0", "unload"}));
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(log.back(), "unload");
  EXPECT_EQ(log[log.size() - 2], "query 1") << "unloading from code is mode 1";
}

TEST(UiCloseBox, AltF4ReachesTheKeyHandlersBeforeItActsAsTheCloseBox) {
  // The main form maps Alt+F4 to a tool and has no Close item; a dialog
  // with one closes on it unless its handler swallows the key.
  struct Case {
    const char* what;
    bool close_item;
    bool form_zeroes;
    Log expected;
    bool loaded_after;
  } cases[] = {
      {"close item: closes after the key down", true, false, {"key 115/4", "query 0", "unload"}, false},
      {"close item removed: the key only", false, false, {"key 115/4"}, true},
      {"a swallowed key does not close", true, true, {"key 115/4"}, true},
  };
  for (const Case& c : cases) {
    ScriptedShell shell;
    Form form("frmA");
    form.Add<TextBox>("txtA");
    Log log;
    form.key_preview = true;
    if (!c.close_item) form.system_menu.pop_back();
    form.on_key_down = [&](int& key, int& shift) {
      log.push_back("key " + std::to_string(key) + "/" + std::to_string(shift));
      if (c.form_zeroes) key = 0;
    };
    form.on_query_unload = [&](int&, int mode) { log.push_back("query " + std::to_string(mode)); };
    form.on_unload = [&](int&) { log.push_back("unload"); };
    ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
    shell.Key(kKeyF4, kAltMask);
    ASSERT_TRUE(shell.Play());
    EXPECT_EQ(log, c.expected) << c.what;
    EXPECT_EQ(form.loaded(), c.loaded_after) << c.what;
    EXPECT_SCRIPT_OK(shell);
  }
}

TEST(UiSendKeys, AreDeliveredAfterTheRunningHandlerNeverInsideIt) {
  ScriptedShell shell;
  Form form("frmA");
  auto& text = form.Add<TextBox>("txtA");
  auto& button = form.Add<CommandButton>("cmdGo");
  button.tab_index = 1;
  Log log;
  text.on_key_down = [&](int& key, int& shift) {
    log.push_back("key " + std::to_string(key) + "/" + std::to_string(shift));
  };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_TRUE(shell.Drive([&] {
    shell.SendKeys("^{F5}a");
    log.push_back("handler end");
  }));
  EXPECT_EQ(log, (Log{"handler end", "key 116/2", "key 65/0"}));
  EXPECT_EQ(text.text(), "a");
}

TEST(UiTimers, AreRaisedInOrderOfDueTimeAndRestartWhenChanged) {
  ScriptedShell shell;
  Form form("frmA");
  auto& fast = form.Add<Timer>("tmrFast");
  auto& slow = form.Add<Timer>("tmrSlow");
  fast.interval = 100;
  slow.interval = 250;
  Log log;
  fast.on_timer = [&] { log.push_back("fast " + std::to_string(shell.NowMs())); };
  slow.on_timer = [&] {
    log.push_back("slow " + std::to_string(shell.NowMs()));
    fast.enabled = false;
  };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.AdvanceTime(600);
  EXPECT_EQ(log, (Log{"fast 100", "fast 200", "slow 250", "slow 500"}));
  log.clear();
  fast.enabled = true;
  shell.AdvanceTime(100);
  EXPECT_EQ(log, (Log{"fast 700"})) << "re-enabled at 600: counts from there";
}

TEST(UiTimers, DoNotTickOnAnUnloadedForm) {
  ScriptedShell shell;
  Form form("frmA");
  auto& timer = form.Add<Timer>("tmrA");
  timer.interval = 10;
  int ticks = 0;
  timer.on_timer = [&] {
    ++ticks;
    form.Unload();
  };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.AdvanceTime(100);
  EXPECT_EQ(ticks, 1);
}

TEST(UiScripted, RecordsBoxesAndFailsOnAnUnexpectedOne) {
  App().title = "QZP140";
  ScriptedShell shell;
  shell.AnswerBox(MsgResult::kCancel, "よろしいですか");
  MsgResult first = MsgResult::kOk, second = MsgResult::kOk;
  ASSERT_TRUE(shell.Drive([&] {
    first = MsgBox("検査結果をクリアします。よろしいですか？", MsgButtons::kOkCancel, MsgIcon::kNone, "結果入力");
    second = MsgBox("予期しない", MsgButtons::kYesNoCancel, MsgIcon::kExclamation, "", 1);
    Beep();
  }));
  EXPECT_EQ(first, MsgResult::kCancel);
  EXPECT_EQ(second, MsgResult::kCancel) << "an unanswered box is closed";
  ASSERT_EQ(shell.boxes().size(), 2u);
  EXPECT_EQ(shell.boxes()[1].request.title, "QZP140") << "a box without a title has the program's";
  EXPECT_EQ(shell.boxes()[1].request.default_button, 1);
  EXPECT_EQ(shell.boxes()[1].request.icon, MsgIcon::kExclamation);
  EXPECT_EQ(shell.beeps(), 1);
  ASSERT_EQ(shell.failures().size(), 1u);
  EXPECT_NE(shell.failures()[0].find("予期しない"), std::string::npos);
}

TEST(UiScripted, FailsOnAWrongTextAnAnswerWithoutButtonAndAnAnswerNeverUsed) {
  ScriptedShell shell;
  shell.AnswerBox(MsgResult::kOk, "別の文").AnswerBox(MsgResult::kYes).AnswerBox(MsgResult::kOk);
  ASSERT_TRUE(shell.Drive([&] {
    MsgBox("本文", MsgButtons::kOk, MsgIcon::kNone, "t");
    MsgBox("本文", MsgButtons::kOk, MsgIcon::kNone, "t");
  }));
  EXPECT_EQ(shell.failures().size(), 2u);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(shell.failures().size(), 3u) << "an answer left over when idle";
}

TEST(UiScripted, ActionsMarkedAtYieldAreTakenInsideALongStep) {
  ScriptedShell shell;
  Form form("frmA");
  int clicks = 0;
  form.Add<CommandButton>("cmdStop").on_click = [&] { ++clicks; };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.Click("frmA", "cmdStop").AtYield();
  int seen_inside = -1;
  ASSERT_TRUE(shell.Drive([&] {
    DoEvents();
    seen_inside = clicks;
  }));
  EXPECT_EQ(seen_inside, 1);
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiScreen, WorkAreaIsInTwips) {
  ScriptedShell shell;
  shell.screen.work_area_px = {0, 0, 1024, 728};
  shell.screen.twips_per_pixel_x = 15;
  shell.screen.twips_per_pixel_y = 12;
  bool ok = false;
  TwipsRect w = shell.WorkAreaTwips(&ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(w.right, 15360);
  EXPECT_EQ(w.bottom, 8736);
  EXPECT_EQ(w.width(), 15360);
  shell.screen.work_area_ok = false;
  shell.WorkAreaTwips(&ok);
  EXPECT_FALSE(ok);
}

class SlotForm : public Form {
 public:
  SlotForm() : Form("frmSlot") { label.caption = "設計値"; }
  Label& label = Add<Label>("lblA");
};

TEST(UiFormSlot, AFormUsedAfterItsUnloadIsAFreshInstance) {
  ScriptedShell shell;
  FormSlot<SlotForm> slot;
  ASSERT_TRUE(shell.Drive([&] {
    slot->Show();
    slot->label.caption = "変更";
    slot->Unload();
  }));
  EXPECT_EQ(slot->label.caption, "設計値");
  EXPECT_FALSE(slot.loaded());
}

}  // namespace
}  // namespace qz::ui
