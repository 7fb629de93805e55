// The auxiliary tools on the result screen started on the demo data: the
// reservation read at the load, the dummy data (Alt+F4), the debug window
// (Alt+F2) and the version dialog (Ctrl+F1).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "tools/dummy_data_fill.h"
#include "tools/frm_debug.h"
#include "tools/frm_dmy_data_set.h"
#include "tools/frm_version.h"
#include "tools/reservation_lookup.h"

namespace qz::test {
namespace {

class ScreenToolsTest : public ScreenTest {
 protected:
  ~ScreenToolsTest() override {
    frmDebug.Reset();
    frmDmyDataSet.Reset();
    frmVersion.Reset();
    basRSVGET = BasRsvget{};
  }
  // Presses `key` with `shift` on the main form.
  bool Press(int key, int shift) {
    return Drive([&] {
      int k = key;
      int s = shift;
      form().Form_KeyDown(k, s);
    });
  }
};

TEST_F(ScreenToolsTest, TheLoadReadsTheExamineesReservation) {
  BuildDemo();
  ASSERT_TRUE(Start("0000000001"));
  EXPECT_EQ(basRSVGET.ReservationText, Fnc_DecodeReservationClasses("01230010"));
  EXPECT_SCRIPT_OK(shell_);
}

TEST_F(ScreenToolsTest, DummyDataFromTheKeyGivesTheHighLimits) {
  BuildDemo();
  ASSERT_TRUE(Start("0000000003"));
  shell_.Do([] { frmDmyDataSet->cboNumType.SetListIndex(kDummyNumStandard - 1); })
      .Click("frmDmyDataSet", "cmdRun");
  // Every value is judged without a warning: the findings type of each
  // judged item holds the codes the judgement library answers.
  shell_.AnswerBox(ui::MsgResult::kOk, "ダミーデータをセットしました。");
  ASSERT_TRUE(Press(ui::kKeyF4, ui::kAltMask));
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(testkit::BoxTexts(shell_), std::vector<std::string>{"ダミーデータをセットしました。"});
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& kom = frmResultIn.ItemTable[i];
    const KekkaData& cur = frmResultIn.ResultMatrix(i, 0);
    if (kom.Past != kPastBookedNow) continue;
    EXPECT_EQ(cur.User, "DEBUG") << kom.KomName;
    if (kom.Ksyub != kKsyubNumeric || kom.Jhkbn != 1 || kom.StdHigh.empty()) continue;
    // The limit laid out to the item's digits ("99999.9999", no upper
    // limit, keeps only the digits the item has).
    EXPECT_EQ(vb::Val(cur.Knsach), vb::Val(Fnc_DummyFixedLayout(kom.StdHigh, kom.Stype))) << kom.KomName;
    // At the high limit, still within the range.
    EXPECT_EQ(cur.Syoken, "基準範囲内") << kom.KomName;
    EXPECT_EQ(cur.Han, 1) << kom.KomName;
  }
}

TEST_F(ScreenToolsTest, DebugWindowAndVersionDialogOpenFromTheirKeys) {
  BuildDemo();
  ASSERT_TRUE(Start("0000000001"));
  const int items = frmResultIn.ItemCount();
  shell_.Do([items] {
          EXPECT_EQ(frmDebug->sprDebug(0).max_rows(), items);
          EXPECT_GE(frmDebug->sprDebug(1).max_rows(), 1);
          EXPECT_NE(frmDebug->sprDebug(1).TextAt(2, 1), "");  // the course's name
        })
      .CloseBox("frmDebug");
  ASSERT_TRUE(Press(ui::kKeyF2, ui::kAltMask));
  shell_.Do([] { EXPECT_EQ(frmVersion->lblInstitution.caption, "医療法人さくら会　さくら健診センター"); })
      .CloseBox("frmVersion");
  ASSERT_TRUE(Press(ui::kKeyF1, ui::kCtrlMask));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(form().sprResult.has_focus());
}

}  // namespace
}  // namespace qz::test
