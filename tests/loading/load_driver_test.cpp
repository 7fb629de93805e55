// The load driver on the started program with the demo data: the display
// switches and column widths it sets from the settings, the cursor and the
// per-examinee flags, and what it starts at its end.
#include "loading/load_driver.h"

#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "examinee/save_screen.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kFirst = "0000000001";

class LoadDriverTest : public ScreenTest {};

struct DisplayModeCase {
  const char* kirikae;
  int option;  // the option button selected
};

class DisplayModeTest : public ScreenTest, public ::testing::WithParamInterface<DisplayModeCase> {};

TEST_P(DisplayModeTest, TheDisplayModeFollowsTheSetting) {
  suite_.SetIni("SysInfo", "Kirikae", GetParam().kirikae);
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kFirst, kToday));
  for (int i = 0; i <= 2; ++i) EXPECT_EQ(form().optKirikae[i]->value(), i == GetParam().option) << i;
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

INSTANTIATE_TEST_SUITE_P(Settings, DisplayModeTest,
                         ::testing::Values(DisplayModeCase{"1", 1}, DisplayModeCase{"2", 2},
                                           DisplayModeCase{"0", 0}, DisplayModeCase{"7", 0}));

struct WidthCase {
  const char* konkai;   // 1 a long current-result column, 0 a short one
  double result_width;  // with the default widths: long 50, short 16, class 10
};

class MeasureClassWidthTest : public ScreenTest, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(MeasureClassWidthTest, TheMeasurementClassColumnNarrowsALongResultColumnOnly) {
  suite_.SetIni("SysInfo", "SokuteiStart", "1");
  suite_.SetIni("SysInfo", "KonkaiStart", GetParam().konkai);
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kFirst, kToday));
  EXPECT_EQ(form().chkSokutei.value(), 1);
  EXPECT_EQ(form().sprResult.ColWidth(basPublic.SokuteiCol), basPublic.WidthSokutei);
  EXPECT_EQ(form().sprResult.ColWidth(basPublic.ResultCol), GetParam().result_width);
  EXPECT_EQ(form().sprResult.ColWidth(basPublic.HanCol), 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, MeasureClassWidthTest,
                         ::testing::Values(WidthCase{"1", 50 - 10}, WidthCase{"0", 16}));

TEST_F(LoadDriverTest, TheLoadEndsOnTheFirstInputCellWithTheFlagsOfANewExaminee) {
  BuildDemo();
  ASSERT_TRUE(Start());
  basPublic.DelListAnswer = 2;
  frmResultInSave.ResultsDeleted = true;
  frmResultIn.ForceSave = true;
  ASSERT_TRUE(Choose(kFirst, kToday));
  EXPECT_FALSE(frmResultIn.Loading);
  EXPECT_FALSE(frmResultIn.ReturnToSearch);
  EXPECT_FALSE(frmResultIn.ForceSave);
  EXPECT_FALSE(frmResultInSave.ResultsDeleted);
  EXPECT_EQ(basPublic.DelListAnswer, 0);
  EXPECT_EQ(form().chkOperation.value(), 0);
  EXPECT_EQ(form().chkOperation.tool_tip_text, "チェックをつけると未実施検査項目のチェックを行います");
  const grid::Spread& spr = form().sprResult;
  EXPECT_EQ(frmResultIn.CellKinds(spr.active_col(), spr.active_row()), kCellInput);
  EXPECT_GE(spr.active_col(), basPublic.StartCol);
  EXPECT_EQ(spr.text_tip, 1);
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  EXPECT_EQ(jump.CellBackColorAt(frmResultIn.JumpStartRow, 0), static_cast<ui::Color>(basPublic.ColorNgrpSelect));
  EXPECT_FALSE(frmGrpSel->visible() && frmGrpSel->window_state() == ui::WindowState::kNormal);
  EXPECT_EQ(&*frmResultInForm, shell_.active_form());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(LoadDriverTest, TheUnperformedListAtTheEndTakesPrecedenceOverThePreviousResultCopy) {
  suite_.SetIni("SysInfo", "OpChkStart", "1");
  ini_set_auto_copy_ = true;  // AutoPastCopy keeps its default 1
  BuildDemo();
  shell_.Click("frmOpchk", "cmdClose");
  ASSERT_TRUE(StartAndChoose(kFirst, kToday));
  EXPECT_TRUE(WasShown("frmOpchk"));
  EXPECT_FALSE(WasShown("frmCopy"));
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(LoadDriverTest, ThePreviousResultCopyEndsTheLoadWhenTheSettingsAskForIt) {
  ini_set_auto_copy_ = true;
  BuildDemo();
  shell_.Click("frmCopy", "cmdClose");
  ASSERT_TRUE(StartAndChoose("0000000004", kToday));
  EXPECT_TRUE(WasShown("frmCopy"));
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test

