// Calculated items: recomputed from their operands, edited, stamped, shown,
// judged, and the group judgement that follows.
#include "judgement/calc_items.h"
#include "judgement/calc_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "suite/call_log.h"
#include "suite/qzp310.h"
#include "suite/qzp315.h"

namespace qz::testing {
namespace {

class CalcItems : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.Open();
    height = bed.Add(JudgementBed::Numeric(1001, 1, "身長"));
    weight = bed.Add(JudgementBed::Numeric(1002, 1, "体重"));
    KomInfo k = JudgementBed::Numeric(1003, 1, "ＢＭＩ");
    k.Ksyub = kKsyubCalculated;
    k.Calpt = 1;
    k.Ktaino[1] = Currency(1001);
    k.Ktaino[2] = Currency(1002);
    k.Stype = "21";
    k.Jhkbn = 1;
    k.Skomcd = Currency(kTypeNumeric);
    bmi_code = k;
  }

  // Adds the BMI item (as configured in bmi_code), the group item of group 1
  // and the overall item, and finishes the tables.
  void Finish(bool bmi_hidden = false) {
    bmi = bed.Add(bmi_code, bmi_hidden);
    group = bed.Add(JudgementBed::GroupItem(1, "身体計測判定"));
    overall = bed.Add(JudgementBed::OverallItem());
    bed.Finish();
    bed.Result(height).Knsach = "170.0 ";
    bed.Result(weight).Knsach = "65.0 ";
    KekkaData& r = bed.Result(bmi);
    r.Knsach = "21.0 ";
    r.Han = 1;
    r.User = "OLD";
    r.Ymd = 20250101;
    r.Hms = 90000;
    r.Sokutei = kSokuteiAbove;
  }

  JudgementBed bed;
  KomInfo bmi_code;
  std::int16_t height = 0, weight = 0, bmi = 0, group = 0, overall = 0;
};

TEST_F(CalcItems, ComputesEditsStampsShowsAndJudges) {
  Finish();
  Sub_CheckCalcItems(weight);
  const KekkaData& r = bed.Result(bmi);
  EXPECT_EQ(r.Knsach, "22.5 ");
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_EQ(r.Ymd, 20261209);
  EXPECT_EQ(r.Hms, 103015);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(r.Han, 1);
  EXPECT_EQ(r.Syoken, "基準範囲内");
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "22.5 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ａ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanSyoCol), "基準範囲内");
  EXPECT_EQ(bed.Cell(bmi, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(bmi, basPublic.UptimeCol), "2026/12/09 10:30:15");
  for (int col : {basPublic.ResultCol, basPublic.HanCol, basPublic.HanSyoCol}) {
    EXPECT_EQ(bed.Fore(bmi, col), LetterColor('A')) << col;
  }
  // The group judgement followed: group 1 takes the BMI's judgement.
  EXPECT_EQ(bed.Result(group).Han, 1);
  EXPECT_EQ(bed.Cell(group, basPublic.HanCol), "Ａ");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(CalcItems, OperandsLeaveItUnchangedWhenNotUsable) {
  struct Case {
    const char* name;
    const char* height;
    std::int16_t sokutei;
  };
  const std::vector<Case> cases = {
      {"empty", "  ", kSokuteiNone},
      {"not performed", "170.0 ", kSokuteiNotPerformed},
      {"unmeasurable", "170.0 ", kSokuteiUnmeasurable},
  };
  Finish();
  const KekkaData before = bed.Result(bmi);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bed.Result(height).Knsach = c.height;
    bed.Result(height).Sokutei = c.sokutei;
    Sub_CheckCalcItems(height);
    EXPECT_EQ(bed.Result(bmi), before);
    EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "");
  }
  // A comparison sign is a usable value.
  bed.Result(height).Knsach = "170.0 ";
  bed.Result(height).Sokutei = kSokuteiBelow;
  Sub_CheckCalcItems(height);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
}

TEST_F(CalcItems, SkipsDoneCheckedNotEditableAndPastOnlyItems) {
  Finish();
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant);
    frmResultIn.ItemTable[bmi].Editable = variant != 1;
    frmResultIn.ItemTable[bmi].Past = variant == 2 ? kPastResultOnly : kPastBookedNow;
    bed.Result(bmi).Hekbn = variant == 0 ? 1 : 0;
    const KekkaData before = bed.Result(bmi);
    Sub_CheckCalcItems(weight);
    Sub_RecalcAllItems();
    EXPECT_EQ(bed.Result(bmi), before);
  }
  EXPECT_TRUE(suite::Calls().empty());
}

TEST_F(CalcItems, AnOperandThatIsNoOperandChangesNothing) {
  Finish();
  Sub_CheckCalcItems(group);
  EXPECT_EQ(bed.Result(bmi).Knsach, "21.0 ");
  EXPECT_TRUE(suite::Calls().empty());
}

TEST_F(CalcItems, TheSameValueKeepsTheStampsAndMeasurementClass) {
  Finish();
  bed.Result(bmi).Knsach = "22.5";
  Sub_CheckCalcItems(height);
  const KekkaData& r = bed.Result(bmi);
  EXPECT_EQ(r.Knsach, "22.5 ");
  EXPECT_EQ(r.User, "OLD");
  EXPECT_EQ(r.Ymd, 20250101);
  EXPECT_EQ(r.Sokutei, kSokuteiAbove);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "22.5 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.UpdateCol), "OLD");  // not a registered user: the ID
}

TEST_F(CalcItems, AnItemOffTheScreenChangesOnlyTheTables) {
  Finish(/*bmi_hidden=*/true);
  Sub_CheckCalcItems(height);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Result(bmi).Han, 1);
  EXPECT_EQ(bed.Result(bmi).Syoken, "基準範囲内");
  for (int row = 1; row <= frmResultIn.sprResult->max_rows(); ++row) {
    EXPECT_NE(frmResultIn.sprResult->TextAt(basPublic.ResultCol, row), "22.5 ");
  }
}

TEST_F(CalcItems, AFailedJudgementWarnsAndStillJudgesTheGroup) {
  Finish();
  suite::SetQzp310AnswerForTest([](std::string_view) { return "      0"; });
  bed.Result(group).Han = 3;  // stale: the group becomes the members' worst again
  Sub_CheckCalcItems(height);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"自動判定に失敗しました。\r\n項目名 : ＢＭＩ\r\n検査値 : 22.5 "});
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Result(bmi).Han, 1);  // kept from before
  EXPECT_EQ(bed.Result(group).Han, 1);
}

TEST_F(CalcItems, AnItemNotJudgedByTheLibraryTakesTheDefaultColour) {
  bmi_code.Jhkbn = 0;
  Finish();
  frmResultIn.sprResult->SetForeColor(grid::Range::Cell(basPublic.ResultCol, bed.RowOf(bmi)),
                                      LetterColor('R'));
  Sub_CheckCalcItems(height);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Fore(bmi, basPublic.ResultCol), LetterColor('A'));
  EXPECT_EQ(bed.Result(bmi).Han, 1);
  for (const std::string& call : suite::Calls()) EXPECT_NE(call.rfind("QZP310", 0), 0u) << call;
}

TEST_F(CalcItems, AValueThatCannotBeComputedOrDoesNotFitKeepsTheOldOne) {
  Finish();
  bed.Result(height).Knsach = "50 ";
  bed.Result(weight).Knsach = "200 ";  // 800: three integer digits for a "21" item
  Sub_CheckCalcItems(height);
  suite::SetQzp315AnswerForTest([](std::string_view) { return ""; });
  Sub_CheckCalcItems(height);
  EXPECT_EQ(bed.Result(bmi).Knsach, "21.0 ");
  EXPECT_EQ(bed.Result(bmi).User, "OLD");
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{"計算項目の計算に失敗しました。\r\n項目名 : ＢＭＩ\r\n計算値 : 800.0",
                                                   "計算項目の計算に失敗しました。\r\n項目名 : ＢＭＩ\r\n計算値 : "}));
}

TEST_F(CalcItems, HandsTheLibraryThePatternOperandsExamineeAndDigits) {
  bmi_code.Krkbn = 2;
  Finish();
  suite::ClearCalls();
  Sub_CheckCalcItems(height);
  ASSERT_FALSE(suite::Calls().empty());
  EXPECT_EQ(suite::Calls()[0], "QZP315 001     170.0      65.0" + std::string(10, ' ') + "1045221" + std::string(10, ' '));
}

TEST_F(CalcItems, RecalculationRunsOverEveryItemUnderTheProgressWindow) {
  Finish();
  Sub_RecalcAllItems();
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  // Once per operand: height and weight each recompute it.
  int calls = 0;
  for (const std::string& call : suite::Calls()) calls += call.rfind("QZP315", 0) == 0 ? 1 : 0;
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(frmGuide.loaded());
  bool shown = false;
  for (const ui::ShownForm& f : bed.shell.shown_forms()) shown = shown || f.name == "frmGuide";
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace qz::testing

namespace qz::testing {
namespace {

// A calculated item numbered `code` that sums the items numbered `a` and
// `b` (0: no second operand), not judged.
KomInfo SumItem(long long code, const char* name, long long a, long long b = 0) {
  KomInfo k = JudgementBed::Numeric(code, 0, name);
  k.Ksyub = kKsyubCalculated;
  k.Calpt = 2;
  k.Ktaino[1] = Currency(a);
  k.Ktaino[2] = Currency(b);
  k.Stype = "41";
  return k;
}

TEST(CalcChains, AChangeFollowsChainedItemsInEitherTableOrder) {
  for (bool dependent_first : {false, true}) {
    SCOPED_TRACE(dependent_first);
    JudgementBed bed;
    bed.Open();
    const std::int16_t c = bed.Add(JudgementBed::Numeric(1, 0, "C"));
    std::int16_t a = 0, b = 0;
    if (dependent_first) {
      a = bed.Add(SumItem(3, "A", 2));
      b = bed.Add(SumItem(2, "B", 1));
    } else {
      b = bed.Add(SumItem(2, "B", 1));
      a = bed.Add(SumItem(3, "A", 2));
    }
    bed.Finish();
    bed.Result(c).Knsach = "10.0 ";
    Sub_CheckCalcItems(c);
    EXPECT_EQ(bed.Result(b).Knsach, "10.0 ");
    EXPECT_EQ(bed.Result(a).Knsach, "10.0 ");  // from B's new value
    EXPECT_EQ(bed.Cell(a, basPublic.ResultCol), "10.0 ");
    EXPECT_EQ(bed.Result(a).User, kBedUser);
    EXPECT_TRUE(bed.Boxes().empty());
  }
}

TEST(CalcChains, ACycleIsReportedAndNeverFollowedRound) {
  JudgementBed bed;
  bed.Open();
  const std::int16_t c = bed.Add(JudgementBed::Numeric(1, 0, "C"));
  const std::int16_t a = bed.Add(SumItem(3, "A", 2, 1));
  const std::int16_t b = bed.Add(SumItem(2, "B", 3));
  bed.Finish();
  Sub_ReportCalcCycles();
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"計算項目の定義が循環しています。\r\n項目名 : A、B"});

  bed.Result(b).Knsach = "5.0 ";
  bed.Result(c).Knsach = "10.0 ";
  Sub_CheckCalcItems(c);  // A from B and C, then B from A, once
  EXPECT_EQ(bed.Result(a).Knsach, "15.0 ");
  EXPECT_EQ(bed.Result(b).Knsach, "15.0 ");
}

TEST(CalcChains, AChainFromACycleFollowsItsOperandWhereverItStandsInTheTable) {
  JudgementBed bed;
  bed.Open();
  const std::int16_t c = bed.Add(JudgementBed::Numeric(1, 0, "C"));
  const std::int16_t f = bed.Add(SumItem(5, "F", 3));   // from A, before the cycle
  const std::int16_t a = bed.Add(SumItem(3, "A", 2, 1));  // A from B and C
  const std::int16_t b = bed.Add(SumItem(2, "B", 3));     // B from A
  const std::int16_t g = bed.Add(SumItem(6, "G", 1));   // from C alone
  bed.Finish();
  bed.Result(b).Knsach = "5.0 ";
  bed.Result(c).Knsach = "10.0 ";
  Sub_CheckCalcItems(c);
  EXPECT_EQ(bed.Result(a).Knsach, "15.0 ");
  EXPECT_EQ(bed.Result(b).Knsach, "15.0 ");
  EXPECT_EQ(bed.Result(f).Knsach, "15.0 ");  // after A, not before it
  EXPECT_EQ(bed.Result(g).Knsach, "10.0 ");
}

}  // namespace
}  // namespace qz::testing
