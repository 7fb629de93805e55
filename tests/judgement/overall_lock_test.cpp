// The overall-judgement lock and the stamp of the overall judger.
#include "judgement/overall_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

class OverallLock : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.Open();
    a = bed.Add(JudgementBed::Numeric(3001, 1, "ａ"));
    o = bed.Add(JudgementBed::OverallItem());
    KomInfo judger = JudgementBed::Numeric(9000001, 0, "総合判定医");
    judger.Ksyub = kKsyubFindings;
    j = bed.Add(judger);
    hidden = bed.Add(JudgementBed::Numeric(9000002, 0, "判定医（隠）"), true);
    bed.Finish();
  }

  JudgementBed bed;
  std::int16_t a = 0, o = 0, j = 0, hidden = 0;
};

TEST_F(OverallLock, ADoneCheckedOverallItemLocksTheOthersWhenTheMasterAsks) {
  struct Case {
    const char* souchk;
    std::int16_t overall_check;
    std::int16_t item;  // 0: item a, 1: the overall item
    std::int16_t result;
  };
  const std::vector<Case> cases = {
      {"1", 1, 0, kOverallChangeRefused},
      {"1", 1, 1, kOverallChangeAllowed},  // the overall item itself stays changeable
      {"1", 0, 0, kOverallChangeAllowed},
      {"0", 1, 0, kOverallChangeAllowed},
      {"", 1, 0, kOverallChangeAllowed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("SOUCHK '") + c.souchk + "' check " + std::to_string(c.overall_check));
    bed.shell.ClearRecords();
    frmResultIn.SouChk = c.souchk;
    bed.Result(o).Hekbn = c.overall_check;
    EXPECT_EQ(Fnc_CheckOverallJudged(c.item == 0 ? a : o), c.result);
    EXPECT_EQ(bed.Boxes(), c.result == kOverallChangeRefused
                               ? std::vector<std::string>{"総合判定済みのため変更できません。"}
                               : std::vector<std::string>{});
  }
}

TEST_F(OverallLock, AConsultationWithoutOverallItemIsNeverLocked) {
  frmResultIn.SouChk = "1";
  bed.Result(o).Hekbn = 1;
  frmResultIn.OverallItem = 0;
  EXPECT_EQ(Fnc_CheckOverallJudged(a), kOverallChangeAllowed);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(OverallLock, TheJudgerItemIsStampedWithTheUserAndShowsTheName) {
  basPublic.HanteiCode = Currency(9000001);
  basPublic.UserName = "検査 花子  ";
  bed.Result(j).Knsach = "前の値 ";
  Sub_UpdateOverallJudge();
  EXPECT_EQ(bed.Result(j).User, kBedUser);
  EXPECT_EQ(bed.Result(j).Ymd, 20261209);
  EXPECT_EQ(bed.Result(j).Hms, 103015);
  EXPECT_EQ(bed.Result(j).Knsach, "前の値 ");  // the stored value is not changed
  EXPECT_EQ(bed.Cell(j, basPublic.ResultCol), "検査 花子  ");
  EXPECT_EQ(bed.Cell(j, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(j, basPublic.UptimeCol), "2026/12/09 10:30:15");
  EXPECT_TRUE(bed.Result(a).User.empty());
}

TEST_F(OverallLock, AJudgerNotShownIsStampedOnlyAndNoJudgerChangesNothing) {
  basPublic.HanteiCode = Currency(9000002);
  Sub_UpdateOverallJudge();
  EXPECT_EQ(bed.Result(hidden).User, kBedUser);
  basPublic.HanteiCode = Currency(7777777);
  Sub_UpdateOverallJudge();
  basPublic.HanteiCode = Currency(0);
  Sub_UpdateOverallJudge();
  for (std::int16_t i : {a, o, j}) EXPECT_TRUE(bed.Result(i).User.empty());
  EXPECT_TRUE(bed.Boxes().empty());
}

}  // namespace
}  // namespace qz::testing
