// Events of the form model as the platform raises them: posted Activate,
// Click on value changes, key preview, focus changes before a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz::ui {
namespace {

using Log = std::vector<std::string>;

// A form that logs its life events under its own name.
class LoggedForm : public Form {
 public:
  LoggedForm(std::string name, Log& log) : Form(std::move(name)), log_(log) {
    on_load = [this] { Note("load"); };
    on_activate = [this] { Note("activate"); };
    on_deactivate = [this] { Note("deactivate"); };
    on_unload = [this](int&) { Note("unload"); };
  }
  void Note(const std::string& what) { log_.push_back(this->name() + " " + what); }

 private:
  Log& log_;
};

TEST(UiActivate, IsRaisedAfterTheHandlerThatShowsTheForm) {
  ScriptedShell shell;
  Log log;
  LoggedForm main("main", log);
  ASSERT_TRUE(shell.Drive([&] {
    main.Show();
    log.push_back("show returned");
  }));
  EXPECT_EQ(log, (Log{"main load", "show returned", "main activate"}));
  EXPECT_EQ(shell.active_form(), &main);
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiActivate, ComesBackAfterAModalDialogCloses) {
  ScriptedShell shell;
  Log log;
  LoggedForm main("main", log);
  LoggedForm dialog("dialog", log);
  auto& ok = dialog.Add<CommandButton>("cmdOk");
  ok.on_click = [&] { dialog.Unload(); };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  log.clear();

  shell.Click("dialog", "cmdOk");
  ASSERT_TRUE(shell.Drive([&] {
    dialog.Show(true);
    log.push_back("modal returned");
  }));
  // An unloaded form gets no Deactivate.
  EXPECT_EQ(log, (Log{"dialog load", "main deactivate", "dialog activate", "dialog unload", "modal returned",
                      "main activate"}));
  EXPECT_TRUE(main.enabled());
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiActivate, ComesBackWhenACompanionFormIsUnloadedAfterAYield) {
  // The end of a cycle: the main form is hidden, a progress window shown and
  // painted, the main form shown again and the progress window unloaded.
  ScriptedShell shell;
  Log log;
  LoggedForm main("main", log);
  LoggedForm guide("guide", log);
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  log.clear();
  ASSERT_TRUE(shell.Drive([&] {
    main.Hide();
    guide.Show(false, &main);
    shell.DoEvents();
    main.Show();
    guide.Unload();
    log.push_back("handler end");
  }));
  EXPECT_EQ(log, (Log{"guide load", "main deactivate", "guide activate", "guide unload", "handler end",
                      "main activate"}));
}

TEST(UiActivate, IsNotRaisedAgainForAFormThatStayedActive) {
  ScriptedShell shell;
  Log log;
  LoggedForm main("main", log);
  LoggedForm guide("guide", log);
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  log.clear();
  // Shown and unloaded within one handler: the activation never left main.
  ASSERT_TRUE(shell.Drive([&] {
    guide.Show(false, &main);
    guide.Unload();
  }));
  EXPECT_EQ(log, (Log{"guide load", "guide unload"}));
}

TEST(UiActivate, AFormShownByAnActivateHandlerKeepsTheKeyboard) {
  // The main form's Activate shows the examinee chooser: the chooser, not
  // the main form, is active and has its first control focused.
  ScriptedShell shell;
  Form main("frmMain");
  main.Add<CommandButton>("cmdSave");
  Form chooser("frmChooser");
  auto& list = chooser.Add<ListBox>("lstChoice");
  main.on_activate = [&] {
    if (!chooser.visible()) chooser.Show(false, &main);
  };
  ASSERT_TRUE(shell.Drive([&] { main.Show(); }));
  EXPECT_EQ(shell.active_form(), &chooser);
  EXPECT_EQ(chooser.active_control(), &list);
  EXPECT_EQ(main.active_control(), nullptr);
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiResize, IsRaisedOnFirstShowBeforeActivateAndWhenTheSizeOrStateChanges) {
  ScriptedShell shell;
  Log log;
  LoggedForm form("frm", log);
  form.on_resize = [&] { log.push_back("frm resize"); };
  form.Move(0, 0, 9000, 6000);  // not loaded: no event
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  EXPECT_EQ(log, (Log{"frm load", "frm resize", "frm activate"}));
  log.clear();
  ASSERT_TRUE(shell.Drive([&] {
    form.Move(100, 100, 9000, 6000);                  // moved only
    form.SetWindowState(WindowState::kMinimized);     // state
    form.SetWindowState(WindowState::kMinimized);     // unchanged
    form.Move(100, 100, 9000, 6500);                  // size
    form.Show();                                      // already shown
  }));
  EXPECT_EQ(log, (Log{"frm resize", "frm resize"}));
}

TEST(UiControls, ElementsOfAControlArrayComeByIndex) {
  Form form("frm");
  form.Add<OptionButton>("optKirikae", 2);
  form.Add<OptionButton>("optKirikae", 0);
  form.Add<CommandButton>("optKirikaeX");
  form.Add<OptionButton>("optKirikae", 1);
  std::vector<int> indexes;
  for (Control* c : form.Elements("optKirikae")) indexes.push_back(c->index());
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2}));
}

struct ClickCase {
  const char* what;
  std::function<void(Form&)> act;
  int clicks;
};

class UiClickOnValue : public ::testing::TestWithParam<ClickCase> {};

TEST_P(UiClickOnValue, IsRaisedOnlyWhenTheValueChanges) {
  Form form("frm");
  int clicks = 0;
  auto& check = form.Add<CheckBox>("chkA");
  auto& opt0 = form.Add<OptionButton>("optA", 0);
  auto& opt1 = form.Add<OptionButton>("optA", 1);
  auto& combo = form.Add<ComboBox>("cboA");
  combo.AddItem("一");
  combo.AddItem("二");
  check.SetValue(1);
  opt0.SetValue(true);
  combo.SetListIndex(0);
  for (Control* c : form.controls()) c->on_click = [&] { ++clicks; };
  GetParam().act(form);
  EXPECT_EQ(clicks, GetParam().clicks) << GetParam().what;
  EXPECT_TRUE(opt0.value() != opt1.value()) << "one option of the group holds the value";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiClickOnValue,
    ::testing::Values(
        ClickCase{"check box set to its value", [](Form& f) { f.Get<CheckBox>("chkA").SetValue(1); }, 0},
        ClickCase{"check box cleared", [](Form& f) { f.Get<CheckBox>("chkA").SetValue(0); }, 1},
        ClickCase{"check box grayed", [](Form& f) { f.Get<CheckBox>("chkA").SetValue(2); }, 1},
        ClickCase{"option already selected", [](Form& f) { f.Get<OptionButton>("optA", 0).SetValue(true); }, 0},
        ClickCase{"other option selected: one Click, none for the one cleared",
                  [](Form& f) { f.Get<OptionButton>("optA", 1).SetValue(true); }, 1},
        ClickCase{"list index unchanged", [](Form& f) { f.Get<ComboBox>("cboA").SetListIndex(0); }, 0},
        ClickCase{"list index changed", [](Form& f) { f.Get<ComboBox>("cboA").SetListIndex(1); }, 1}));

TEST(UiClickOnValue, UserClickOrSpaceOnACheckBoxTogglesAndClicksOnce) {
  ScriptedShell shell;
  Form form("frm");
  auto& check = form.Add<CheckBox>("chkA");
  int clicks = 0;
  check.on_click = [&] { ++clicks; };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.Click("frm", "chkA").Click("frm", "chkA").Key(kKeySpace);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(check.value(), 1) << "two clicks and Space";
  EXPECT_EQ(clicks, 3);
  EXPECT_SCRIPT_OK(shell);
}

struct KeyCase {
  const char* what;
  bool preview;
  bool form_zeroes_key_down;
  bool form_zeroes_key_press;
  Log expected;
};

class UiKeyPreview : public ::testing::TestWithParam<KeyCase> {};

TEST_P(UiKeyPreview, FormSeesKeysFirstAndAZeroedKeyNeverReachesTheControl) {
  const KeyCase& k = GetParam();
  ScriptedShell shell;
  Form form("frm");
  auto& text = form.Add<TextBox>("txtA");
  Log log;
  form.key_preview = k.preview;
  form.on_key_down = [&](int& key, int&) {
    log.push_back("form down " + std::to_string(key));
    if (k.form_zeroes_key_down) key = 0;
  };
  form.on_key_press = [&](int& ascii) {
    log.push_back("form press " + std::to_string(ascii));
    if (k.form_zeroes_key_press) ascii = 0;
  };
  text.on_key_down = [&](int& key, int&) { log.push_back("text down " + std::to_string(key)); };
  text.on_key_press = [&](int& ascii) { log.push_back("text press " + std::to_string(ascii)); };
  form.on_key_up = [&](int& key, int&) { log.push_back("form up " + std::to_string(key)); };
  text.on_key_up = [&](int& key, int&) { log.push_back("text up " + std::to_string(key)); };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &text);
  shell.Key('A');
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(log, k.expected) << k.what;
  bool typed = std::find(k.expected.begin(), k.expected.end(), "text press 97") != k.expected.end();
  EXPECT_EQ(text.text(), typed ? "a" : "") << k.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiKeyPreview,
    ::testing::Values(
        KeyCase{"no preview: only the control", false, false, false,
                {"text down 65", "text press 97", "text up 65"}},
        KeyCase{"preview passes the key on", true, false, false,
                {"form down 65", "text down 65", "form press 97", "text press 97", "form up 65", "text up 65"}},
        KeyCase{"preview swallows the key down", true, true, false, {"form down 65", "form up 65"}},
        KeyCase{"preview swallows the character", true, false, true,
                {"form down 65", "text down 65", "form press 97", "form up 65", "text up 65"}}));

// A control with a cell cursor, as the grids have: leaving it raises its
// leave-cell event.
class CellControl : public Control {
 public:
  CellControl(Form* form, std::string name, int index, Log* log)
      : Control(form, std::move(name), index, ControlKind::kSpread), log_(log) {}
  void OnFocusLeaving(Control* to) override { log_->push_back("leave cell to " + (to ? to->name() : "none")); }

 private:
  Log* log_;
};

TEST(UiFocus, AClickOnAButtonMovesTheFocusBeforeItsClick) {
  ScriptedShell shell;
  Form form("frm");
  Log log;
  auto& grid = form.Add<CellControl>("sprResult", -1, &log);
  auto& button = form.Add<CommandButton>("cmdEnd");
  grid.tab_index = 0;
  button.tab_index = 1;
  grid.on_lost_focus = [&] { log.push_back("grid lost focus"); };
  button.on_got_focus = [&] { log.push_back("button got focus"); };
  button.on_mouse_up = [&](int, int, float, float) { log.push_back("button mouse up"); };
  button.on_click = [&] { log.push_back("button click"); };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &grid);
  shell.Click("frm", "cmdEnd");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(log, (Log{"leave cell to cmdEnd", "grid lost focus", "button got focus", "button mouse up",
                      "button click"}));
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiFocus, AFocusedButtonTakesEnterAndSpaceOnlyWhileEnabled) {
  ScriptedShell shell;
  Form form("frm");
  auto& button = form.Add<CommandButton>("cmdRun");
  int clicks = 0;
  button.on_click = [&] {
    ++clicks;
    button.enabled = false;  // busy: the button rests, keeping the focus
  };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &button);
  shell.Key(kKeyReturn).Key(kKeyReturn).Key(kKeySpace);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(clicks, 1);
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiFocus, ARightClickRaisesNoClickAndLeavesTheFocus) {
  ScriptedShell shell;
  Form form("frm");
  auto& text = form.Add<TextBox>("txtA");
  auto& button = form.Add<CommandButton>("cmdEnd");
  button.tab_index = 1;
  int clicks = 0, ups = 0;
  button.on_click = [&] { ++clicks; };
  button.on_mouse_up = [&](int b, int, float, float) { ups += b == 2; };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.Click("frm", "cmdEnd", -1, 2);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(form.active_control(), &text);
}

TEST(UiFocus, FocusOnADisabledControlIsARunTimeError) {
  ScriptedShell shell;
  Form form("frm");
  auto& text = form.Add<TextBox>("txtA");
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  text.enabled = false;
  EXPECT_THROW(text.SetFocus(), RunTimeError);
}

TEST(UiFocus, OnlyReachableControlsOfFocusableKindsTakeIt) {
  Form form("frm");
  auto& frame = form.Add<Frame>("fraHead");
  auto& in_frame = form.Add<TextBox>("txtID");
  in_frame.container = &frame;
  auto& hidden = form.Add<TextBox>("txtHidden");
  hidden.visible = false;
  auto& label = form.Add<Label>("lblA");
  auto& plain = form.Add<TextBox>("txtA");
  EXPECT_TRUE(in_frame.CanFocus());
  frame.enabled = false;
  EXPECT_FALSE(in_frame.CanFocus()) << "inside a disabled frame";
  EXPECT_FALSE(hidden.CanFocus());
  EXPECT_FALSE(label.CanFocus());
  EXPECT_FALSE(frame.CanFocus());
  EXPECT_TRUE(plain.CanFocus());
}

TEST(UiFocus, FocusOnAControlOfAnotherFormActivatesThatForm) {
  ScriptedShell shell;
  Log log;
  Form main("main");
  auto& grid = main.Add<TextBox>("sprResult");
  Form jump("jump");
  jump.Add<TextBox>("flxGroop");
  main.on_activate = [&] { log.push_back("main activate"); };
  ASSERT_TRUE(shell.Drive([&] {
    main.Show();
    jump.Show();
  }));
  ASSERT_EQ(shell.active_form(), &jump);
  ASSERT_TRUE(shell.Drive([&] { grid.SetFocus(); }));
  EXPECT_EQ(shell.active_form(), &main);
  EXPECT_EQ(log, (Log{"main activate"}));
  ASSERT_TRUE(shell.Drive([&] { jump.SetFocus(); }));
  EXPECT_EQ(shell.active_form(), &jump);
  EXPECT_EQ(main.active_control(), &grid) << "the form keeps its active control";
}

TEST(UiFocus, AControlOfADisabledFormTakesTheFocusWithoutActivatingIt) {
  // The group selection puts the cursor in the grid before it enables the
  // main form and gives that the focus.
  ScriptedShell shell;
  Form main("main");
  auto& grid = main.Add<TextBox>("sprResult");
  Form group("group");
  ASSERT_TRUE(shell.Drive([&] {
    main.Show();
    group.Show();
  }));
  main.SetEnabled(false);
  ASSERT_TRUE(shell.Drive([&] { grid.SetFocus(); }));
  EXPECT_EQ(main.active_control(), &grid);
  EXPECT_EQ(shell.active_form(), &group);
  EXPECT_THROW(main.SetFocus(), RunTimeError);
  main.SetEnabled(true);
  ASSERT_TRUE(shell.Drive([&] { main.SetFocus(); }));
  EXPECT_EQ(shell.active_form(), &main);
}

TEST(UiFocus, TabFollowsTabIndexAndSkipsWhatCannotTakeTheFocus) {
  ScriptedShell shell;
  Form form("frm");
  auto& a = form.Add<TextBox>("txtA");
  auto& label = form.Add<Label>("lblB");
  auto& c = form.Add<TextBox>("txtC");
  auto& d = form.Add<CommandButton>("cmdD");
  a.tab_index = 2;
  label.tab_index = 0;
  c.tab_index = 1;
  d.tab_index = 3;
  d.enabled = false;
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  EXPECT_EQ(form.active_control(), &c);
  shell.Key(kKeyTab);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.active_control(), &a);
  shell.Key(kKeyTab);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.active_control(), &c) << "wraps round past the disabled button";
}

TEST(UiControls, TypingReplacesTheSelectionAndRespectsMaxLength) {
  ScriptedShell shell;
  Form form("frm");
  auto& text = form.Add<TextBox>("txtA");
  int changes = 0;
  text.on_change = [&] { ++changes; };
  text.max_length = 4;
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  text.SetText("あいう");
  text.sel_start = 1;
  text.sel_length = 1;
  changes = 0;
  shell.Type("frm", "txtA", "かき");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(text.text(), "あかきう");
  EXPECT_EQ(text.sel_start, 3);
  EXPECT_EQ(changes, 2);
  shell.Type("frm", "txtA", "x");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(text.text(), "あかきう") << "a fifth character passes MaxLength";
  EXPECT_SCRIPT_OK(shell);
}

// A control with input handling of its own, as the grids have: the shell
// hands it the keys, characters and clicks instead of raising the events.
class OwnInputControl : public Control {
 public:
  OwnInputControl(Form* form, std::string name, int index, Log* log)
      : Control(form, std::move(name), index, ControlKind::kSpread), log_(log) {}
  void HandleKeyDown(int& key, int&) override { log_->push_back("own key " + std::to_string(key)); }
  void HandleChar(int& ascii, std::string_view text) override {
    log_->push_back("own char " + std::to_string(ascii) + " " + std::string(text));
  }
  void HandleClick(int button, int) override { log_->push_back("own click " + std::to_string(button)); }

 private:
  Log* log_;
};

TEST(UiControls, AControlWithItsOwnInputHandlingGetsKeysCharactersAndClicks) {
  ScriptedShell shell;
  Form form("frm");
  Log log;
  auto& own = form.Add<OwnInputControl>("sprResult", -1, &log);
  form.key_preview = true;
  form.on_key_press = [](int& ascii) {
    if (ascii == 'x') ascii = 'y';  // the form may replace a character
  };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &own);
  shell.Key(kKeyF2).Type("frm", "sprResult", "あx").Click("frm", "sprResult", -1, 2);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(log, (Log{"own key 113", "own char 12354 あ", "own char 121 ", "own click 2"}));
  EXPECT_SCRIPT_OK(shell);
}

TEST(UiControls, GetOfAMissingControlIsObjectRequired) {
  Form form("frm");
  form.Add<CommandButton>("cmdOption", 1);
  EXPECT_NO_THROW(form.Get<CommandButton>("cmdOption", 1));
  try {
    form.Get<CommandButton>("cmdOption", 2);
    FAIL();
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.number(), kErrObjectRequired);
  }
  EXPECT_THROW(form.Get<CheckBox>("cmdOption", 1), RunTimeError);
}

}  // namespace
}  // namespace qz::ui
