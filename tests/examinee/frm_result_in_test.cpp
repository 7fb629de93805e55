#include "examinee/frm_result_in.h"

#include <gtest/gtest.h>

#include "loading/load_state.h"

namespace qz {
namespace {

TEST(FrmResultInTest, HoldsTheControlsTheScreenIsBuiltOfAndOwnsTheGrid) {
  frmResultIn = FrmResultInState{};
  {
    FrmResultIn form;
    for (const char* name : {"fraHead", "txtID", "txtKana", "txtName", "txtSex", "txtBirth", "txtAge",
                             "txtDanname", "txtHassou", "sprResult", "lblStatus", "cmdEnd", "cmdAgain",
                             "cmdPreview", "cmdSearch", "cmdSubMenu", "cmdOpchk", "cmdChkInput", "cmdGrpSel",
                             "cmdGrpJmp", "cmdAutoJudge", "chkSokutei", "chkOperation", "chkPastDisp",
                             "fraKirikae", "tmrSyoSearch"}) {
      EXPECT_NE(form.Find(name), nullptr) << name;
    }
    EXPECT_EQ(form.Elements("cmdOption").size(), 4u);
    EXPECT_EQ(form.Elements("optKirikae").size(), 3u);
    EXPECT_EQ(frmResultIn.sprResult, &form.sprResult);
  }
  EXPECT_EQ(frmResultIn.sprResult, nullptr);
}

}  // namespace
}  // namespace qz
