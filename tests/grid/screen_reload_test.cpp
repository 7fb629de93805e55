// The screen reload over the item fixture's consultation: read again from
// the results file, other lines shown, cells only, and the reloads that
// end early.
#include "grid/screen_reload.h"

#include <gtest/gtest.h>

#include <string>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "grid/cell_kind_table.h"
#include "grid/cell_kinds.h"
#include "grid/item_row_map.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/item_filter.h"
#include "loading/item_fixture.h"
#include "loading/load_state.h"
#include "loading/result_cells.h"

namespace qz::testing {
namespace {

class ScreenReload : public ::testing::Test {
 protected:
  void SetUp() override {
    AddItemConsultation(bed.suite);
    bed.OpenWithSettings();
    ASSERT_TRUE(Fnc_OpenUsrMaster());
    // The main form without its program start and examinee cycle.
    form = &*frmResultInForm;
    form->on_load = nullptr;
    form->on_activate = nullptr;
    form->on_resize = nullptr;
    form->on_query_unload = nullptr;
    form->on_unload = nullptr;
    ASSERT_EQ(bed.RunThrough(), "");
    ASSERT_TRUE(Sub_KekkaInfo());
    form->Show();
    ASSERT_TRUE(bed.Boxes().empty()) << ::testing::PrintToString(bed.Boxes());
    bed.shell.ClearRecords();
  }
  void TearDown() override {
    frmGuide.Reset();
    frmResultInForm.Reset();
  }
  static int Row(long long code) { return Fnc_ItemToRow(Fnc_FindItemRow(ItemIndex(code))); }
  static KekkaData& Current(long long code) { return frmResultIn.ResultMatrix(ItemIndex(code), 0); }
  std::string Text(int col, long long code) { return form->sprResult.TextAt(col, Row(code)); }
  // Types `value` into item `code`'s current result without saving it.
  void TypeUnsaved(long long code, const std::string& value) {
    Current(code).Knsach = value;
    form->sprResult.SetText(basPublic.ResultCol, Row(code), value);
  }
  // True when frmGuide was shown modeless.
  bool GuideShown() const {
    for (const ui::ShownForm& f : bed.shell.shown_forms()) {
      if (f.name == "frmGuide" && !f.modal) return true;
    }
    return false;
  }
  void ExpectScreenBack() {
    EXPECT_TRUE(form->visible());
    EXPECT_EQ(form->active_control(), &form->sprResult);
    EXPECT_FALSE(frmGuide.loaded());
    EXPECT_TRUE(GuideShown());
  }

  ItemBed bed;
  FrmResultIn* form = nullptr;
};

TEST_F(ScreenReload, ReadingAgainDropsWhatWasNotSavedAndLaysTheGridOutAgain) {
  TypeUnsaved(1001, "999 ");
  frmResultIn.ItemTable[ItemIndex(1003)].SougouDest = 4;
  frmResultIn.ItemTable[ItemIndex(1001)].SougouDest = 4;

  Sub_ReloadScreen(true, "QZKKKLF", true);

  EXPECT_TRUE(bed.Boxes().empty()) << ::testing::PrintToString(bed.Boxes());
  EXPECT_EQ(Current(1001).Knsach, "170.5 ");
  EXPECT_EQ(Text(basPublic.ResultCol, 1001), "170.5 ");
  // Destinations of the summary findings forgotten, sources marked again.
  EXPECT_EQ(frmResultIn.ItemTable[ItemIndex(1003)].SougouDest, 0);
  EXPECT_EQ(frmResultIn.ItemTable[ItemIndex(1001)].SougouDest, -1);
  // Kinds and locks of the lines, the frozen lines of groups up to 10.
  EXPECT_EQ(frmResultIn.CellKinds.Rows(), frmResultIn.RowCount() + basPublic.DataRow + 1);
  EXPECT_EQ(frmResultIn.CellKinds(basPublic.ResultCol, Row(1002)), kCellInput);
  EXPECT_EQ(frmResultIn.CellKinds(basPublic.ResultCol, Row(1001)), kCellNoEntry);  // no result to enter
  EXPECT_TRUE(form->sprResult.FormatAt(basPublic.ItemCol, Row(1002)).lock);
  EXPECT_FALSE(form->sprResult.FormatAt(basPublic.ResultCol, Row(1002)).lock);
  EXPECT_EQ(form->sprResult.rows_frozen, Row(1001));  // the last line of group 10
  // The first line (1002) takes no findings code: the cursor goes on to its
  // result.
  EXPECT_EQ(form->sprResult.active_row(), basPublic.StartRow);
  EXPECT_EQ(form->sprResult.active_col(), basPublic.ResultCol);
  EXPECT_FALSE(frmGrpJmp->HasCloseItem());
  ExpectScreenBack();
}

TEST_F(ScreenReload, ShowingOtherLinesKeepsTheResultsOnScreen) {
  TypeUnsaved(1001, "999 ");
  ASSERT_EQ(Fnc_FindItemRow(ItemIndex(6001)), 0);
  // Ticking "全検査項目表示" reloads the lines.
  ASSERT_TRUE(bed.shell.Drive([&] { form->chkPastDisp.SetValue(1); }));

  EXPECT_TRUE(bed.Boxes().empty()) << ::testing::PrintToString(bed.Boxes());
  EXPECT_EQ(Current(1001).Knsach, "999 ");
  EXPECT_EQ(Text(basPublic.ResultCol, 1001), "999 ");
  // The item booked only earlier has its line now, and takes no entry.
  ASSERT_NE(Fnc_FindItemRow(ItemIndex(6001)), 0);
  EXPECT_EQ(frmResultIn.CellKinds(basPublic.ResultCol, Row(6001)), kCellNoEntry);
  EXPECT_EQ(frmResultIn.CellKinds.Rows(), frmResultIn.RowCount() + basPublic.DataRow + 1);
  EXPECT_TRUE(frmGrpJmp->visible());
  ExpectScreenBack();
}

TEST_F(ScreenReload, WithoutRebuildOnlyTheCellsAreDrawnAgain) {
  TypeUnsaved(1001, "999 ");
  const int lines = frmResultIn.RowCount();
  Sub_ReloadScreen(true, "QZKKKLF", false);
  EXPECT_TRUE(bed.Boxes().empty()) << ::testing::PrintToString(bed.Boxes());
  EXPECT_EQ(Text(basPublic.ResultCol, 1001), "170.5 ");
  EXPECT_EQ(frmResultIn.RowCount(), lines);
  EXPECT_EQ(frmResultIn.CellKinds.Rows(), 0);  // never laid out here
  ExpectScreenBack();
}

TEST_F(ScreenReload, AResultsFileThatCannotBeReadEndsTheReloadWithTheScreenUnloaded) {
  bed.DamageFile("QZKKKLF.BTR");
  Sub_ReloadScreen(true, "QZKKKLF", true);
  ASSERT_FALSE(bed.Boxes().empty());
  EXPECT_EQ(bed.Boxes().back().rfind("検査結果マスタの読み込みに失敗しました。", 0), 0u) << bed.Boxes().back();
  EXPECT_FALSE(form->loaded());
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(ScreenReload, ARunTimeErrorIsReportedAndTheScreenComesBack) {
  // A grid that is gone fails the cursor placing after the steps have
  // reported their own errors.
  frmResultIn.sprResult = nullptr;
  Sub_ReloadScreen(false, "QZKKKLF", true);
  frmResultIn.sprResult = &form->sprResult;
  ASSERT_FALSE(bed.Boxes().empty());
  EXPECT_EQ(bed.Boxes().back().rfind("結果入力画面の読み直し処理でエラーが発生しました。\r\n", 0), 0u)
      << bed.Boxes().back();
  ExpectScreenBack();
}

}  // namespace
}  // namespace qz::testing
