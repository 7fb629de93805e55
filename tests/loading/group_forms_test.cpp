// The group selection and group jump forms: toggling the selected groups,
// the rebuild of the result screen for them, the jump to a group, and the
// refused close.
#include "loading/group_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "loading/item_fixture.h"
#include "loading/load_state.h"
#include "loading/result_cells.h"
#include "platform/grid/spread.h"
#include "platform/ui/scripted_shell.h"
#include "platform/ui/shell.h"

namespace qz::testing {
namespace {

// The result screen as far as the group forms use it: a form with the grid.
class Screen : public ui::Form {
 public:
  Screen() : Form("frmResultIn") {}
  grid::Spread& sprResult = Add<grid::Spread>("sprResult");
};

const ui::Color kSelected = 0xFFFF00;  // basPublic.ColorNgrpSelect by default
const ui::Color kPlain = 0xFFFFFF;

// Rows of `list` whose column 0 shows them selected.
std::vector<int> SelectedRows(const grid::ListGrid& list) {
  std::vector<int> rows;
  for (int r = 0; r < list.rows(); ++r) {
    if (list.CellBackColorAt(r, 0) == kSelected) rows.push_back(r);
  }
  return rows;
}

// A list of `count` rows, those of `selected` selected.
void FillList(grid::ListGrid& list, int count, const std::vector<int>& selected) {
  list.SetRows(0);
  for (int r = 0; r < count; ++r) {
    list.AddItem("group " + std::to_string(r));
    list.SetCellBackColorAt(r, 0, kPlain);
  }
  for (int r : selected) list.SetCellBackColorAt(r, 0, kSelected);
}

// The forms on their own, with a scripted shell.
class GroupForms : public ::testing::Test {
 protected:
  GroupForms() {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    shell.auto_answer = true;
  }
  ~GroupForms() override {
    frmResultIn = FrmResultInState{};
    frmGrpSel.Reset();
    frmGrpJmp.Reset();
    frmGuide.Reset();
  }
  ui::ScriptedShell shell;
};

// Each row of the selected range turns over by itself, whichever end the
// range was started from.
TEST_F(GroupForms, ClickTogglesEveryRowOfTheSelectedRange) {
  grid::ListGrid& list = frmGrpSel->flxGroop;
  FillList(list, 7, {3, 4});
  list.SetRow(2);
  list.ClickCell(5, 0, grid::kShiftMask);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{2, 5}));

  FillList(list, 7, {3, 4});
  list.DragSelect(5, 0, 2, 0);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{2, 5}));

  FillList(list, 7, {3, 4});
  list.ClickCell(3, 0);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{4}));
  list.ClickCell(6, 0);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{4, 6}));
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(GroupForms, EnterInTheSelectionListActsAsAClick) {
  grid::ListGrid& list = frmGrpSel->flxGroop;
  FillList(list, 4, {0});
  list.SetRow(2);
  list.PressKey('A');
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{0}));
  list.PressKey(grid::kKeyReturn);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{0, 2}));
}

// An empty list (a consultation without groups) takes clicks and Enter
// without an error.
TEST_F(GroupForms, EmptyListsIgnoreClicksAndEnter) {
  frmGrpSel->flxGroop.SetRows(0);
  frmGrpJmp->flxGroop.SetRows(0);
  frmGrpSel->flxGroop_Click();
  frmGrpJmp->flxGroop_Click();
  frmGrpSel->flxGroop.PressKey(grid::kKeyReturn);
  frmGrpJmp->flxGroop.PressKey(grid::kKeyReturn);
  EXPECT_TRUE(shell.boxes().empty());
  EXPECT_TRUE(frmGrpJmp->flxGroop.enabled);
}

TEST_F(GroupForms, NothingSelectedRefusesTheRebuild) {
  Screen screen;
  frmResultIn.sprResult = &screen.sprResult;
  screen.Show();
  frmGrpSel->Show();
  frmGrpJmp->Show();
  FillList(frmGrpSel->flxGroop, 3, {});
  FillList(frmGrpJmp->flxGroop, 2, {0});
  frmGrpSel->cmdSelectEnd.on_click();
  ASSERT_EQ(shell.boxes().size(), 1u);
  const ui::MessageBoxRequest& box = shell.boxes()[0].request;
  EXPECT_EQ(box.text, "グループが選択されていません。");
  EXPECT_EQ(box.icon, ui::MsgIcon::kNone);
  EXPECT_EQ(box.buttons, ui::MsgButtons::kOk);
  EXPECT_EQ(box.title, "QZP140");
  EXPECT_TRUE(screen.visible());
  EXPECT_TRUE(frmGrpSel->visible());
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_EQ(frmGrpJmp->flxGroop.rows(), 2);
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(GroupForms, BackMinimisesTheSelection) {
  frmGrpSel->Show();
  frmGrpSel->cmd.on_click();
  EXPECT_EQ(frmGrpSel->window_state(), ui::WindowState::kMinimized);
}

// The control-menu close is refused; the program's own unload goes ahead.
TEST_F(GroupForms, ControlMenuCloseIsRefused) {
  frmGrpSel->Show();
  frmGrpJmp->Show();
  FillList(frmGrpJmp->flxGroop, 2, {1});
  EXPECT_TRUE(shell.Drive([] {
    ui::Shell::Current()->UserCloseBox(*frmGrpSel);
    ui::Shell::Current()->UserCloseBox(*frmGrpJmp);
  }));
  EXPECT_TRUE(frmGrpSel.loaded());
  EXPECT_TRUE(frmGrpJmp.loaded());
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_EQ(SelectedRows(frmGrpJmp->flxGroop), (std::vector<int>{1}));
  EXPECT_TRUE(frmGrpSel->Unload());
  EXPECT_TRUE(frmGrpJmp->Unload());
  EXPECT_FALSE(frmGrpSel.loaded());
  EXPECT_FALSE(frmGrpJmp.loaded());
}

// The jump list's rows: a group's first grid line in column 1.
class GroupJump : public GroupForms {
 protected:
  GroupJump() {
    frmResultIn.sprResult = &screen.sprResult;
    screen.sprResult.SetMaxCols(12);
    screen.sprResult.SetMaxRows(40);
    screen.Show();
    grid::ListGrid& list = frmGrpJmp->flxGroop;
    FillList(list, 3, {0});
    for (int r = 0; r < 3; ++r) list.SetTextMatrix(r, 1, std::to_string(1 + 10 * r));
    frmGrpJmp->Show();
  }
  Screen screen;
};

TEST_F(GroupJump, ChosenGroupIsTheOnlySelectedRowAndTheGridGoesToItsFirstLine) {
  grid::ListGrid& list = frmGrpJmp->flxGroop;
  list.SetCellBackColorAt(2, 0, kSelected);
  list.ClickCell(1, 0);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{1}));
  EXPECT_EQ(list.row(), 1);
  const grid::Spread& spr = screen.sprResult;
  const int row = 11 + basPublic.DataRow - 1;
  EXPECT_EQ(spr.active_col(), basPublic.ResultCol);
  EXPECT_EQ(spr.active_row(), row);
  EXPECT_EQ(spr.top_row(), row);
  EXPECT_TRUE(spr.has_focus());
  EXPECT_TRUE(list.enabled);
  EXPECT_TRUE(shell.boxes().empty());

  list.SetRow(2);
  list.PressKey(grid::kKeyReturn);
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{2}));
  EXPECT_EQ(spr.active_row(), 21 + basPublic.DataRow - 1);
}

// A grid that cannot take the focus: the report under the program's title,
// and the list takes clicks again.
TEST_F(GroupJump, ErrorIsReportedAndTheListEnabledAgain) {
  screen.sprResult.enabled = false;
  frmGrpJmp->flxGroop.ClickCell(2, 0);
  ASSERT_EQ(shell.boxes().size(), 1u);
  const ui::MessageBoxRequest& box = shell.boxes()[0].request;
  EXPECT_EQ(box.text.rfind("入力グループ選択のクリック処理でエラーが発生しました\r\nエラー番号 : 5\r\n", 0), 0u);
  EXPECT_EQ(box.title, "QZP140");
  EXPECT_EQ(box.icon, ui::MsgIcon::kCritical);
  EXPECT_TRUE(frmGrpJmp->flxGroop.enabled);
}

// The selection over a loaded consultation (groups 10 身体計測, 20 血液検査,
// 30 画像・生理, 40 判定; the user's 10, 20 and 40 selected).
class GroupSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    AddItemConsultation(bed.suite);
    bed.OpenWithSettings();
    ASSERT_TRUE(Fnc_OpenUsrMaster());
    frmResultIn.sprResult = &screen.sprResult;
    screen.sprResult.SetMaxRows(3);
    screen.sprResult.SetMaxCols(12);
    ASSERT_EQ(bed.RunThrough(), "");
    ASSERT_TRUE(Sub_KekkaInfo());
    screen.Move(600, 400);
    screen.Show();
    frmGrpSel->Show();
    frmGrpJmp->Show();
    ASSERT_TRUE(bed.Boxes().empty());
  }
  void TearDown() override { frmGuide.Reset(); }
  // The names of the jump list's rows.
  static std::vector<std::string> JumpNames() {
    std::vector<std::string> names;
    const grid::ListGrid& list = frmGrpJmp->flxGroop;
    for (int r = 0; r < list.rows(); ++r) names.push_back(list.TextMatrix(r, 0));
    return names;
  }
  // The items of the grid lines, by item number.
  static std::vector<long long> LineItems() {
    std::vector<long long> items;
    for (int k = 1; k <= frmResultIn.RowCount(); ++k) {
      items.push_back(frmResultIn.ItemTable[frmResultIn.RowItems[k]].KomCode.whole());
    }
    return items;
  }

  ItemBed bed;
  Screen screen;
};

TEST_F(GroupSelection, SelectEndRebuildsTheScreenForTheSelectedGroups) {
  ASSERT_EQ(JumpNames().size(), 3u);
  const ResultMatrix results = frmResultIn.ResultMatrix;
  grid::ListGrid& list = frmGrpSel->flxGroop;
  list.ClickCell(1, 0);  // 血液検査 off
  list.ClickCell(2, 0);  // 画像・生理 on
  EXPECT_EQ(SelectedRows(list), (std::vector<int>{0, 2, 3}));

  frmGrpSel->cmdSelectEnd.on_click();
  EXPECT_TRUE(bed.Boxes().empty());
  const std::vector<std::string> names = JumpNames();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[1].rfind("画像・生理", 0), 0u);
  EXPECT_EQ(LineItems(), (std::vector<long long>{1002, 1003, 1004, 1001, 3001, 3002, 9999999001LL,
                                                  9999999999LL}));
  // Column 1 of the jump list follows the new lines.
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(1, 1), "5");
  // The cells are drawn for the new lines; the results stay as they were.
  EXPECT_EQ(screen.sprResult.TextAt(basPublic.ResultCol, basPublic.DataRow + 5), "異常なし");
  EXPECT_EQ(frmResultIn.ResultMatrix, results);
  // The screen is back at the top-left corner, the cursor on the first
  // line's result.
  EXPECT_TRUE(screen.visible());
  EXPECT_TRUE(screen.enabled());
  EXPECT_EQ(screen.left, 0);
  EXPECT_EQ(screen.top, 0);
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_FALSE(frmGrpSel->visible());
  EXPECT_FALSE(frmGuide.loaded());
  EXPECT_EQ(list.row(), 0);
  EXPECT_EQ(screen.sprResult.active_col(), basPublic.ResultCol);
  EXPECT_EQ(screen.sprResult.active_row(), basPublic.DataRow);
  EXPECT_TRUE(screen.sprResult.has_focus());
}

// A run-time error: the report under the program's title, and the screen
// and the jump list come back.
TEST_F(GroupSelection, ErrorBringsTheScreenBack) {
  screen.sprResult.enabled = false;
  frmGrpSel->cmdSelectEnd.on_click();
  ASSERT_EQ(bed.shell.boxes().size(), 1u);
  const ui::MessageBoxRequest& box = bed.shell.boxes()[0].request;
  EXPECT_EQ(box.text.rfind("入力グループ選択のキーボード処理でエラーが発生しました\r\n", 0), 0u);
  EXPECT_EQ(box.title, "QZP140");
  EXPECT_TRUE(screen.visible());
  EXPECT_TRUE(screen.enabled());
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_FALSE(frmGuide.loaded());
}

}  // namespace
}  // namespace qz::testing
