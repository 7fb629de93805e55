// Optional columns switched between hidden and shown, and the width of a
// result column.
#include <gtest/gtest.h>

#include <functional>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/column_toggles.h"
#include "grid/grid_bed.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

TEST(ColumnToggles, EachToggleSwitchesItsColumnBetweenHiddenAndItsWidth) {
  GridBed bed;
  basPublic.WidthUpdate = 13;
  basPublic.WidthUptime = 17;
  basPublic.WidthHan = 6;
  basPublic.WidthHanSyo = 21;
  struct Case {
    const char* what;
    void (*toggle)();
    int col;
    int width;
  };
  const Case cases[] = {
      {"updater", Sub_ToggleUpdaterColumn, basPublic.UpdateCol, 13},
      {"update time", Sub_ToggleUpdateTimeColumn, basPublic.UptimeCol, 17},
      {"judgement", Sub_ToggleJudgeColumn, basPublic.HanCol, 6},
      {"judgement finding", Sub_ToggleJudgeFindingColumn, basPublic.HanSyoCol, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bed.spr.SetColWidth(c.col, 0);
    c.toggle();
    EXPECT_EQ(bed.spr.ColWidth(c.col), c.width);
    c.toggle();
    EXPECT_EQ(bed.spr.ColWidth(c.col), 0);
    // A column shown at another width (a hand-made width) is hidden too.
    bed.spr.SetColWidth(c.col, 2);
    c.toggle();
    EXPECT_EQ(bed.spr.ColWidth(c.col), 0);
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST(ColumnToggles, WithoutTheGridEachToggleReportsItsOwnJob) {
  GridBed bed;
  frmResultIn.sprResult = nullptr;
  Sub_ToggleUpdaterColumn();
  Sub_ToggleUpdateTimeColumn();
  Sub_ToggleJudgeColumn();
  Sub_ToggleJudgeFindingColumn();
  Sub_ToggleMeasureClassColumn();
  Sub_FitResultColumn(basPublic.ResultCol, true);
  const char* jobs[] = {
      "更新者欄の幅変更処理でエラーが発生しました。", "更新日時欄の幅変更処理でエラーが発生しました。",
      "判定欄の幅変更処理でエラーが発生しました。",   "判定所見欄の幅変更処理でエラーが発生しました。",
      "測定区分欄の幅変更処理でエラーが発生しました。", "結果欄の幅変更処理でエラーが発生しました。",
  };
  ASSERT_EQ(bed.Boxes().size(), std::size(jobs));
  for (std::size_t i = 0; i < std::size(jobs); ++i) {
    EXPECT_EQ(bed.Boxes()[i].rfind(std::string(jobs[i]) + "\r\n", 0), 0u) << bed.Boxes()[i];
  }
}

TEST(ColumnToggles, TheMeasureClassColumnFollowsItsCheckBox) {
  GridBed bed;
  basPublic.WidthSokutei = 9;
  ui::CheckBox& box = frmResultInForm->chkSokutei;
  box.SetValue(1);
  Sub_ToggleMeasureClassColumn();
  EXPECT_EQ(bed.spr.ColWidth(basPublic.SokuteiCol), 9);
  Sub_ToggleMeasureClassColumn();
  EXPECT_EQ(bed.spr.ColWidth(basPublic.SokuteiCol), 9);
  box.SetValue(0);
  Sub_ToggleMeasureClassColumn();
  EXPECT_EQ(bed.spr.ColWidth(basPublic.SokuteiCol), 0);
}

// The result column's width after Sub_FitResultColumn, from `width`, with
// the measurement-class box `ticked`.
TEST(ColumnToggles, AShortResultColumnStaysShortAndALongOneKeepsTheClassColumnBesideIt) {
  GridBed bed;
  basPublic.WidthShort = 16;
  basPublic.WidthLong = 50;
  basPublic.WidthSokutei = 10;
  struct Case {
    double width;
    bool ticked;
    bool toggle;
    double expected;
  };
  const Case cases[] = {
      // The class column comes or goes (toggle false).
      {16, true, false, 16}, {16, false, false, 16},
      {50, true, false, 40}, {40, false, false, 50}, {33, false, false, 50},
      // A click on the column's title (toggle true).
      {16, false, true, 50}, {16, true, true, 40}, {50, false, true, 16}, {40, true, true, 16},
  };
  for (const int col : {int{basPublic.ResultCol}, basPublic.PastCol + 1}) {
    bed.spr.SetMaxCols(basPublic.PastCol + 1);
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << "col " << col << " width " << c.width << " ticked " << c.ticked
                                        << " toggle " << c.toggle);
      frmResultInForm->chkSokutei.SetValue(c.ticked ? 1 : 0);
      bed.spr.SetColWidth(col, c.width);
      Sub_FitResultColumn(col, c.toggle);
      EXPECT_EQ(bed.spr.ColWidth(col), c.expected);
    }
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

}  // namespace
}  // namespace qz::testing
