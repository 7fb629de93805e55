// The window-bound shared routines: command controls, text selection, the
// Close item and the input method.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/close_erase.h"
#include "data/form_routines.h"
#include "data/imm_on_off.h"
#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

TEST(SubEnableCommandControls, TouchesOnlyNamesBeginningExactlyWithCmdOrChk) {
  ui::Form form("frmResultIn");
  struct Case {
    const char* name;
    int index;
    bool switched;
  } cases[] = {
      {"cmdEnd", -1, true},      {"cmdOption", 3, true}, {"chkSokutei", -1, true}, {"cmd", -1, true},
      {"Cmdx", -1, false},       {"CHKx", -1, false},    {"cm", -1, false},        {"txtCmd", -1, false},
      {"optKirikae", 0, false},  {"sprResult", -1, false},
  };
  for (const Case& c : cases) form.Add<ui::CommandButton>(c.name, c.index);
  Sub_EnableCommandControls(form, false);
  for (const Case& c : cases) EXPECT_EQ(form.Find(c.name, c.index)->enabled, !c.switched) << c.name;
  Sub_EnableCommandControls(form, true);
  for (const Case& c : cases) EXPECT_TRUE(form.Find(c.name, c.index)->enabled) << c.name;
}

TEST(SubSelectActiveText, SelectsTheWholeTextOfATxtOrCboControlOnly) {
  ui::ScriptedShell shell;
  ui::Form form("frmDmyDataSet");
  auto& txt = form.Add<ui::TextBox>("txtValue");
  auto& cbo = form.Add<ui::ComboBox>("cboKind");
  auto& other = form.Add<ui::TextBox>("edtOther");
  for (ui::TextControl* c : std::vector<ui::TextControl*>{&txt, &cbo, &other}) c->SetText("検査12");
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  struct Case {
    ui::TextControl* focus;
    int sel_start, sel_length;
  } cases[] = {{&txt, 0, 4}, {&cbo, 0, 4}, {&other, 4, 0}};
  for (const Case& c : cases) {
    c.focus->sel_start = 4;
    c.focus->sel_length = 0;
    c.focus->SetFocus();
    Sub_SelectActiveText(form);
    EXPECT_EQ(c.focus->sel_start, c.sel_start) << c.focus->name();
    EXPECT_EQ(c.focus->sel_length, c.sel_length) << c.focus->name();
  }
  form.SetFocusTo(nullptr);
  EXPECT_NO_THROW(Sub_SelectActiveText(form)) << "no active control";
}

TEST(SubCloseErase, RemovesCloseSeparatorAndMaximizeOnceAndRefusesTheCloseBox) {
  using ui::SysMenuItem;
  ui::ScriptedShell shell;
  ui::Form form("frmResultIn");
  int queries = 0;
  form.on_query_unload = [&](int&, int) { ++queries; };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  Sub_CloseErase(form);
  const std::vector<SysMenuItem> left = {SysMenuItem::kRestore, SysMenuItem::kMove, SysMenuItem::kSize,
                                         SysMenuItem::kMinimize};
  EXPECT_EQ(form.system_menu, left);
  Sub_CloseErase(form);
  EXPECT_EQ(form.system_menu, left) << "a second call changes nothing";
  EXPECT_FALSE(shell.UserCloseBox(form));
  EXPECT_EQ(queries, 0);
  EXPECT_TRUE(form.loaded());
  EXPECT_SCRIPT_OK(shell);
}

TEST(SubImmOnOff, SetsTheOpenStatusAndConversionMode) {
  struct Case {
    const char* fep;
    bool open_before;
    int mode;
    bool alphanumeric;
    bool open_after;
    int conversion_after;  // from a conversion of 0 before
  } cases[] = {
      {"", true, 0, false, false, 0},          // close
      {"", false, 0, false, false, 0},         // close an input method that is closed
      {"", false, 1, false, true, 8 + 1},      // full-width kana
      {"K", false, 1, false, true, 8 + 1 + 16},
      {"K", true, 1, true, true, 8 + 16},      // already open: only the mode changes
      {"k", false, 1, true, true, 8},          // only "K" means romaji
      {"", true, 2, false, true, 0},           // other modes change nothing
  };
  for (const Case& c : cases) {
    basPublic = BasPublic{};
    basPublic.FepSetting = c.fep;
    ui::Form form("frmResultIn");
    form.ime.open = c.open_before;
    Sub_ImmOnOff(form, static_cast<std::int16_t>(c.mode), c.alphanumeric);
    EXPECT_EQ(form.ime.open, c.open_after) << c.fep << " mode " << c.mode;
    EXPECT_EQ(form.ime.conversion, c.conversion_after) << c.fep << " mode " << c.mode;
    EXPECT_EQ(form.ime.sentence, c.mode == 1 ? kImeSmodeAutomatic : 0);
    EXPECT_EQ(Fnc_ImmGetOpen(form), c.open_after ? 1 : 0);
  }
  basPublic = BasPublic{};
}

TEST(SubImmOnOff, AWindowWithoutInputContextIsLeftAloneAndReadsClosed) {
  ui::Form form("frmResultIn");
  auto& grid = form.Add<ui::TextBox>("txtA");
  form.ime.available = false;
  form.ime.open = true;
  Sub_ImmOnOff(grid, 1, false);
  EXPECT_EQ(form.ime.conversion, 0);
  EXPECT_EQ(Fnc_ImmGetOpen(grid), 0);
  form.ime.available = true;
  Sub_ImmOnOff(grid, 0, false);
  EXPECT_EQ(Fnc_ImmGetOpen(form), 0) << "a control's input method is its form's";
}

}  // namespace
}  // namespace qz
