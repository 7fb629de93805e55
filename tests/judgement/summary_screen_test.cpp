// The summary findings on the result screen started on the demo data: the
// summary items and rule sources the load marks from the INI file, and the
// auto-set writing the demo's findings master text into the grid.
#include <gtest/gtest.h>

#include <string>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "judgement/result_update.h"
#include "judgement/summary_auto_set.h"
#include "judgement/summary_findings.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz::test {
namespace {

class SummaryScreenTest : public ScreenTest {};

TEST_F(SummaryScreenTest, ARuleOfTheIniFileWritesTheSummaryItemOfTheLoadedExaminee) {
  suite_.SetIni("SougouSyoken", "KomCode", "7001");
  suite_.SetIni("AutoSougouSyoken", "1", "2001,H,4,3");
  BuildDemo();
  ASSERT_TRUE(Start("0000000001"));
  const auto bp = static_cast<std::int16_t>(ItemIndex(2001));
  const auto summary = static_cast<std::int16_t>(ItemIndex(7001));
  ASSERT_GT(bp, 0);
  ASSERT_GT(summary, 0);
  EXPECT_EQ(frmResultIn.ItemTable[bp].SougouDest, kSougouSourceOpen);
  EXPECT_EQ(frmResultIn.ItemTable[ItemIndex(2002)].SougouDest, kSougouNotSource);
  ASSERT_EQ(SougouItems.Count(), 1);
  EXPECT_EQ(SougouItems[1], summary);

  frmResultIn.ResultMatrix(summary, 0).Syoken.clear();
  frmResultIn.ResultMatrix(summary, 0).Hekbn = 0;
  KekkaData& pressure = frmResultIn.ResultMatrix(bp, 0);
  pressure.Knsach = "150 ";
  pressure.Han = 4;
  ASSERT_TRUE(Drive([&] { Sub_AutoSetSummaryFindings(bp); }));
  const KekkaData& written = frmResultIn.ResultMatrix(summary, 0);
  EXPECT_EQ(written.Syoken, "精密検査を受けてください。");
  EXPECT_EQ(written.Han, 4);
  EXPECT_EQ(frmResultIn.ItemTable[bp].SougouDest, summary);
  const std::int32_t row = ScreenRowOf(summary);
  ASSERT_GT(row, 0);
  EXPECT_EQ(frmResultIn.sprResult->TextAt(basPublic.ResultCol, row), "精密検査を受けてください。");
  EXPECT_NE(frmResultIn.sprResult->TextAt(basPublic.HanCol, row), "");
  // Filled now: the findings search finds no free summary item.
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), 0);
  EXPECT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::test
