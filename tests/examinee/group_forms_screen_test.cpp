// The group selection and the group jump on the result screen as the
// operator meets it (demo data): groups chosen off and on, the screen
// rebuilt for them, and a jump to a group.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz::test {
namespace {

class GroupFormsScreenTest : public ScreenTest {
 protected:
  // The input groups of the grid lines, in line order, one entry a group.
  static std::vector<std::int32_t> LineGroups() {
    std::vector<std::int32_t> groups;
    for (int k = 1; k <= frmResultIn.RowCount(); ++k) {
      const std::int32_t g = frmResultIn.ItemTable[frmResultIn.RowItems[k]].Ngrp;
      if (groups.empty() || groups.back() != g) groups.push_back(g);
    }
    return groups;
  }
};

TEST_F(GroupFormsScreenTest, ChosenGroupsAreShownAndTheJumpListFollows) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  const std::vector<std::int32_t> before = LineGroups();
  ASSERT_GE(before.size(), 2u);
  const int rows_before = frmResultIn.RowCount();
  const ResultMatrix results = frmResultIn.ResultMatrix;

  ASSERT_TRUE(Drive([&] { form().cmdGrpSel_Click(); }));
  ASSERT_TRUE(frmGrpSel->visible());
  // The first shown group off: the screen shows the others.
  grid::ListGrid& sel = frmGrpSel->flxGroop;
  int first_selected = -1;
  for (int r = 0; r < sel.rows() && first_selected < 0; ++r) {
    if (sel.CellBackColorAt(r, 0) == static_cast<ui::Color>(basPublic.ColorNgrpSelect)) first_selected = r;
  }
  ASSERT_GE(first_selected, 0);
  ASSERT_TRUE(Drive([&] { sel.ClickCell(first_selected, 0); }));
  shell_.Click("frmGrpSel", "cmdSelectEnd");
  ASSERT_TRUE(shell_.Play());
  ASSERT_SCRIPT_OK(shell_);

  EXPECT_EQ(LineGroups(), std::vector<std::int32_t>(before.begin() + 1, before.end()));
  EXPECT_LT(frmResultIn.RowCount(), rows_before);
  EXPECT_EQ(frmGrpJmp->flxGroop.rows(), static_cast<int>(before.size()) - 1);
  EXPECT_EQ(frmResultIn.ResultMatrix, results);
  EXPECT_TRUE(form().visible());
  EXPECT_TRUE(form().enabled());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(frmGrpJmp->visible());
  EXPECT_FALSE(frmGrpSel->visible());
  EXPECT_EQ(form().sprResult.active_row(), basPublic.DataRow);

  // A jump to the last group of the list.
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  const int last = jump.rows() - 1;
  ASSERT_TRUE(Drive([&] { jump.ClickCell(last, 0); }));
  const int line = std::stoi(jump.TextMatrix(last, 1));
  EXPECT_EQ(form().sprResult.active_row(), line + basPublic.DataRow - 1);
  EXPECT_EQ(frmResultIn.ItemTable[frmResultIn.RowItems[line]].Ngrp, before.back());
  EXPECT_TRUE(form().sprResult.has_focus());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_SCRIPT_OK(shell_);
}

// "戻る" minimises the group selection; the keyboard goes back to the
// result screen, as the window system gives it to the next window when the
// one with the keyboard is minimised: a key reaches the grid, not the
// selection list out of sight.
TEST_F(GroupFormsScreenTest, BackMinimisesTheSelectionAndTheKeyboardGoesBackToTheScreen) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose("0000000001", kToday));
  // Opened while the grid has the main form's focus.
  ASSERT_TRUE(Drive([&] { form().cmdGrpSel_Click(); }));
  ASSERT_EQ(shell_.active_form(), &*frmGrpSel);
  ASSERT_TRUE(form().sprResult.has_focus());
  grid::ListGrid& sel = frmGrpSel->flxGroop;
  std::vector<ui::Color> colours;
  for (int r = 0; r < sel.rows(); ++r) colours.push_back(sel.CellBackColorAt(r, 0));

  shell_.Click("frmGrpSel", "cmd");
  ASSERT_TRUE(shell_.Play());
  EXPECT_EQ(frmGrpSel->window_state(), ui::WindowState::kMinimized);
  EXPECT_EQ(shell_.active_form(), &form());
  const int row = form().sprResult.active_row();
  shell_.Key(ui::kKeyDown).Key(ui::kKeyReturn);
  ASSERT_TRUE(shell_.Play());
  EXPECT_NE(form().sprResult.active_row(), row) << "the keys reach the grid";
  EXPECT_EQ(frmGrpSel->window_state(), ui::WindowState::kMinimized);
  for (int r = 0; r < sel.rows(); ++r) EXPECT_EQ(sel.CellBackColorAt(r, 0), colours[static_cast<std::size_t>(r)]);
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::test
