// The result screen takes no input while the program works (a save, a
// discard, a load or reload), and the handlers that need an examinee do
// nothing between cycles: a second F12 is not a second save, a click
// during a load does not run on half-built tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_driver.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "tools/frm_chk_input.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kNew = "0000000004";  // today booked, nothing entered
constexpr long long kHeight = 1001;

class BusyScreenTest : public ScreenTest {
 protected:
  void LoadAndEnter() {
    ASSERT_TRUE(StartAndChoose(kNew, kToday));
    const int i = ItemIndex(kHeight);
    ASSERT_GT(i, 0);
    frmResultIn.ResultMatrix(i, 0).Knsach = "168.5 ";
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(i));
    if (line != 0) form().sprResult.SetText(basPublic.ResultCol, Fnc_ItemToRow(line), "168.5 ");
  }
  std::vector<std::string> StoredValues() const {
    std::vector<std::string> valued;
    for (const std::string& r : StoredResults(kNew, kToday)) {
      if (r.back() != '=') valued.push_back(r);
    }
    return valued;
  }
  // Every record of the history file: a save under no examinee would add
  // one.
  int HistoryRows() const { return CountRecords(data::QzjrklfLayout()); }
};

TEST_F(BusyScreenTest, F12TwiceInARowSavesOnce) {
  BuildDemo();
  LoadAndEnter();
  const int history = HistoryRows();
  shell_.Key(ui::kKeyF12).Key(ui::kKeyF12);
  ASSERT_TRUE(shell_.Play());
  EXPECT_EQ(StoredValues(), std::vector<std::string>{"1001=168.5"});
  EXPECT_EQ(HistoryRows(), history);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// Input that comes while the save yields (a second F12, a click on the
// button, typing) is not taken: one save, nothing written twice.
TEST_F(BusyScreenTest, InputAtTheSavesYieldIsNotTaken) {
  BuildDemo();
  LoadAndEnter();
  bool at_yield = false, key = true, click = true, typed = true;
  shell_.Key(ui::kKeyF12).Do([&] {
    at_yield = true;
    key = shell_.UserKey(ui::kKeyF12);
    click = shell_.UserClick(form().cmdEnd);
    typed = shell_.UserType("9");
  }).AtYield();
  ASSERT_TRUE(shell_.Play());
  ASSERT_TRUE(at_yield);
  EXPECT_FALSE(key);
  EXPECT_FALSE(click);
  EXPECT_FALSE(typed);
  EXPECT_EQ(StoredValues(), std::vector<std::string>{"1001=168.5"});
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(BusyScreenTest, F12AfterADiscardDoesNothing) {
  BuildDemo();
  LoadAndEnter();
  const int history = HistoryRows();
  shell_.Key(ui::kKeyF9).AnswerBox(MsgResult::kOk, "保存せずに終了します。").Key(ui::kKeyF12);
  ASSERT_TRUE(shell_.Play());
  EXPECT_TRUE(StoredValues().empty());
  EXPECT_EQ(HistoryRows(), history);
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_TRUE(basPublic.ExamineeNo.empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// "選択終了" of the group selection and a click on the group-jump list wait
// for a load or a reload of the screen: they are not taken meanwhile, and
// taken again after it.
TEST_F(BusyScreenTest, TheGroupWindowsTakeNoClickDuringALoadOrReload) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  struct Case {
    const char* what;
    std::function<void()> work;
  };
  const std::vector<Case> cases = {
      {"load", [] { Sub_LoadExaminee(false); }},
      {"reload", [this] {
         int key = ui::kKeyF9, shift = ui::kCtrlMask;
         form().Form_KeyDown(key, shift);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(shell_.UserClick(form().cmdGrpSel));  // the selection window on view
    ASSERT_TRUE(frmGrpSel->visible());
    bool at_yield = false, select_end = true, jump = true;
    shell_.Do([&] {
      at_yield = true;
      select_end = shell_.UserClick(frmGrpSel->cmdSelectEnd);
      jump = shell_.UserClick(frmGrpJmp->flxGroop);
    }).AtYield();
    ASSERT_TRUE(Drive(c.work));
    ASSERT_TRUE(at_yield);
    EXPECT_FALSE(select_end);
    EXPECT_FALSE(jump);
    EXPECT_TRUE(form().sprResult.visible);
    EXPECT_TRUE(shell_.TakesUserInput(*frmGrpJmp));
  }
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A double click on the buttons of the item lists: the second click finds
// the screen behind the list, one list is shown, and the keyboard is back
// in the grid when it closes.
TEST_F(BusyScreenTest, ADoubleClickOnAListButtonShowsOneList) {
  suite_.SetIni("SysInfo", "OpChkDisp", "1");
  BuildDemo();
  LoadAndEnter();
  for (const char* button : {"cmdChkInput", "cmdOpchk"}) {
    SCOPED_TRACE(button);
    const std::string dialog = std::string(button) == "cmdOpchk" ? "frmOpchk" : "frmChkInput";
    shell_.ClearRecords();
    bool second = true;
    shell_.Click("frmResultIn", button).Do([&] {
      second = shell_.UserClick(form().Get<ui::CommandButton>(button));
    }).CloseBox(dialog);
    ASSERT_TRUE(shell_.Play());
    EXPECT_FALSE(second);
    int shown = 0;
    for (const ui::ShownForm& f : shell_.shown_forms()) shown += f.name == dialog ? 1 : 0;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(shell_.active_form(), &form());
    EXPECT_EQ(form().active_control(), &form().sprResult);
    EXPECT_TRUE(testkit::ScriptOk(shell_));
  }
  EXPECT_EQ(basPublic.ExamineeNo, kNew);
  EXPECT_EQ(frmResultIn.ResultMatrix(ItemIndex(kHeight), 0).Knsach, "168.5 ");
}

// The close boxes of the result screen and of the search screen while the
// load of an examinee yields, and of the result screen while a dialog of
// its own stands: none is taken, and the examinee is on the screen
// afterwards with nothing written.
TEST_F(BusyScreenTest, NoCloseBoxIsTakenMidLoadOrUnderADialog) {
  BuildDemo();
  ASSERT_TRUE(Start());
  const int history = HistoryRows();
  bool at_yield = false, result_closed = true, search_closed = true;
  shell_.Do([&] {
    at_yield = true;
    result_closed = shell_.UserCloseBox(form());
    if (ui::Form* search = shell_.FindForm("frmSearch")) search_closed = shell_.UserCloseBox(*search);
  }).AtYield();
  ASSERT_TRUE(Choose(kNew, kToday));
  ASSERT_TRUE(at_yield);
  EXPECT_FALSE(result_closed);
  EXPECT_FALSE(search_closed);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(basPublic.ExamineeNo, kNew);

  bool dialog_closed = true;
  shell_.Click("frmResultIn", "cmdChkInput").Do([&] {
    dialog_closed = shell_.UserCloseBox(form());
    shell_.UserKey(ui::kKeyF4, ui::kAltMask);  // closes the dialog, the active window
  });
  ASSERT_TRUE(shell_.Play());
  EXPECT_FALSE(dialog_closed);
  EXPECT_FALSE(frmChkInput.loaded());
  EXPECT_EQ(shell_.active_form(), &form());
  EXPECT_TRUE(form().loaded());
  EXPECT_EQ(basPublic.ExamineeNo, kNew);
  EXPECT_TRUE(StoredValues().empty());
  EXPECT_EQ(HistoryRows(), history);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

// A run-time error in the load leaves no disabled screen behind: the
// progress window closes, the form takes input again and the examinee can
// be discarded with F9.
TEST_F(BusyScreenTest, ALoadThatFailsShowsTheScreenAgainForADiscard) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  // The load sets the past-display box itself; its click fails this once.
  form().chkPastDisp.on_click = [] { throw RunTimeError(kErrInvalidCall, "injected"); };
  basPublic.PastDisp = form().chkPastDisp.value() == 1 ? 0 : 1;
  shell_.AnswerBox(MsgResult::kOk, "結果入力画面の初期化処理でエラーが発生しました。");
  ASSERT_TRUE(Drive([] { Sub_LoadExaminee(false); }));
  EXPECT_FALSE(frmGuide.loaded());
  EXPECT_TRUE(form().visible());
  EXPECT_TRUE(shell_.TakesUserInput(form()));
  EXPECT_FALSE(form().sprResult.visible);
  shell_.Key(ui::kKeyF12).Key(ui::kKeyF9).AnswerBox(MsgResult::kOk, "保存せずに終了します。");
  ASSERT_TRUE(shell_.Play());
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_TRUE(SearchShown());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
