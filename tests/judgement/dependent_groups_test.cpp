// Dependent groups: the done-check and the measurement class a group item
// hands down to its members.
#include "judgement/dependent_groups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"

namespace qz::testing {
namespace {

class DependentGroups : public ::testing::Test {
 protected:
  // Group 5 (group item g5) has the numeric member n, the findings member f,
  // the group item member g7 (group 7, also listed in group 5), a member
  // checked earlier, a past-only member, a member the operator may not edit
  // and a hidden one; x is in group 6 only.
  void SetUp() override {
    bed.Open();
    n = bed.Add(JudgementBed::Numeric(3001, 5, "ｎ"));
    KomInfo finding = JudgementBed::Findings(3002, kTypeFindings, "ｆ");
    finding.Hgrp[1] = 5;
    f = bed.Add(finding);
    KomInfo sub = JudgementBed::GroupItem(7, "グループ７");
    sub.Hgrp[2] = 5;
    g7 = bed.Add(sub);
    checked = bed.Add(JudgementBed::Numeric(3003, 5, "済"));
    KomInfo past = JudgementBed::Numeric(3004, 5, "過去");
    past.Past = kPastResultOnly;
    past_only = bed.Add(past);
    KomInfo other_slot = JudgementBed::Numeric(3005, 0, "他担当");
    other_slot.Hgrp[3] = 5;
    locked = bed.Add(other_slot, false, false);
    hidden = bed.Add(JudgementBed::Numeric(3006, 5, "隠"), true);
    x = bed.Add(JudgementBed::Numeric(3007, 6, "ｘ"));
    g5 = bed.Add(JudgementBed::GroupItem(5, "グループ５"));
    o = bed.Add(JudgementBed::OverallItem());
    bed.Finish();
    // The measurement-class lists as the result cells give them.
    grid::Spread& spr = *frmResultIn.sprResult;
    const grid::Range classes = grid::Range::Column(basPublic.SokuteiCol);
    spr.SetCellType(classes, grid::CellType::kComboBox);
    spr.SetComboList(classes, MeasureClassList(kKsyubNumeric));
    KekkaData& c = bed.Result(checked);
    c.Hekbn = 1;
    c.User = "OLD";
    c.Ymd = 20250101;
    c.Hms = 90000;
  }

  int ComboIndex(std::int16_t item) const {
    return frmResultIn.sprResult->ComboCurSelAt(basPublic.SokuteiCol, bed.RowOf(item));
  }

  JudgementBed bed;
  std::int16_t n = 0, f = 0, g7 = 0, checked = 0, past_only = 0, locked = 0, hidden = 0, x = 0, g5 = 0, o = 0;
};

TEST_F(DependentGroups, ACheckedGroupItemChecksItsEditableCurrentMembers) {
  bed.Result(g7).Han = 2;
  Sub_UpdateDependentGroupFromMember(g5);
  for (std::int16_t m : {n, f, g7, hidden}) {
    SCOPED_TRACE(frmResultIn.ItemTable[m].KomName);
    EXPECT_EQ(bed.Result(m).Hekbn, 1);
    EXPECT_EQ(bed.Result(m).User, kBedUser);
    EXPECT_EQ(bed.Result(m).Hms, 103015);
  }
  EXPECT_EQ(bed.Cell(n, basPublic.ChkCol), "V");
  EXPECT_EQ(bed.Cell(n, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(n, basPublic.UptimeCol), "2026/12/09 10:30:15");
  // Checked before: keeps its stamp. Past-only, not editable, other group: untouched.
  EXPECT_EQ(bed.Result(checked).User, "OLD");
  EXPECT_EQ(bed.Result(checked).Ymd, 20250101);
  EXPECT_EQ(bed.Cell(checked, basPublic.ChkCol), "V");
  for (std::int16_t m : {past_only, locked, x, g5}) {
    EXPECT_EQ(bed.Result(m).Hekbn, 0);
    EXPECT_TRUE(bed.Result(m).User.empty());
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(DependentGroups, AMemberGroupItemWithoutJudgementOrClassIsNotChecked) {
  Sub_UpdateDependentGroupFromMember(g5);
  EXPECT_EQ(bed.Result(g7).Hekbn, 0);
  bed.Result(g7).Sokutei = kSokuteiUnmeasurable;
  Sub_UpdateDependentGroupFromMember(g5);
  EXPECT_EQ(bed.Result(g7).Hekbn, 1);
}

TEST_F(DependentGroups, OnlyAGroupItemHandsDown) {
  Sub_UpdateDependentGroupFromMember(n);  // not of kind 4
  Sub_UpdateDependentGroupMembers(n);
  EXPECT_EQ(bed.Result(f).Hekbn, 0);
  EXPECT_TRUE(bed.Result(f).User.empty());
}

TEST_F(DependentGroups, NotPerformedGoesToEmptyMembersOnly) {
  bed.Result(n).Knsach = "12 ";
  bed.Result(f).Syoken = "  ";
  bed.Result(g7).Han = 3;  // judged: not empty
  bed.Result(g5).Sokutei = kSokuteiNotPerformed;
  Sub_UpdateDependentGroupMembers(g5);
  EXPECT_EQ(bed.Result(n).Sokutei, kSokuteiNone);
  EXPECT_TRUE(bed.Result(n).User.empty());
  EXPECT_EQ(bed.Result(g7).Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Result(f).Sokutei, kSokuteiNotPerformed);
  EXPECT_EQ(bed.Result(f).User, kBedUser);
  EXPECT_EQ(bed.Cell(f, basPublic.ResultCol), "(未実施)");
  EXPECT_EQ(ComboIndex(f), 0);
  EXPECT_EQ(bed.Cell(f, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Result(hidden).Sokutei, kSokuteiNotPerformed);
  for (std::int16_t m : {checked, past_only, locked, x}) EXPECT_EQ(bed.Result(m).Sokutei, kSokuteiNone);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(DependentGroups, ClearingTheClassClearsItOnEveryUncheckedMemberAndShowsItsContent) {
  bed.Result(n).Knsach = "12 ";
  bed.Result(n).Sokutei = kSokuteiBelow;
  bed.Result(f).Syoken = "異常なし";
  bed.Result(f).Sokutei = kSokuteiNotPerformed;
  bed.Result(g7).Han = 3;
  bed.Result(g7).Sokutei = kSokuteiUnmeasurable;
  bed.Result(checked).Sokutei = kSokuteiNotPerformed;
  Sub_UpdateDependentGroupMembers(g5);
  EXPECT_EQ(bed.Result(n).Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Cell(n, basPublic.ResultCol), "12 ");
  EXPECT_EQ(ComboIndex(n), -1);
  EXPECT_EQ(bed.Cell(f, basPublic.ResultCol), "異常なし");
  EXPECT_EQ(bed.Cell(g7, basPublic.ResultCol), "Ｃ");
  EXPECT_EQ(bed.Result(checked).Sokutei, kSokuteiNotPerformed);
}

TEST_F(DependentGroups, ASignedClassShowsTheValueItMarks) {
  bed.Result(g5).Sokutei = kSokuteiAbove;
  Sub_UpdateDependentGroupMembers(g5);
  EXPECT_EQ(bed.Result(n).Sokutei, kSokuteiAbove);
  EXPECT_EQ(bed.Cell(n, basPublic.ResultCol), "(＞)");
  EXPECT_EQ(ComboIndex(n), 5);
}

TEST_F(DependentGroups, AMemberJudgementWithoutMarkWarnsAndEndsTheWalk) {
  bed.Result(g7).Han = 7;
  Sub_UpdateDependentGroupMembers(g5);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定変換に失敗しました。\r\n判定コード : 7"});
  EXPECT_EQ(bed.Result(g7).User, kBedUser);  // stamped before the warning
  EXPECT_TRUE(bed.Result(hidden).User.empty());  // after g7 in table order
}

TEST_F(DependentGroups, TheOverallItemHandsDownNoClass) {
  bed.Result(o).Sokutei = kSokuteiNotPerformed;
  bed.Result(g5).Han = 2;
  Sub_UpdateDependentGroupMembers(o);
  EXPECT_EQ(bed.Result(g5).Sokutei, kSokuteiNone);
  EXPECT_TRUE(bed.Result(g5).User.empty());
}

}  // namespace
}  // namespace qz::testing
