// Group and overall judgement: members, ranks, done-checks, missing group
// items, the overall judgement and the follow-ups on the screen.
#include "judgement/group_judgement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

class GroupJudgement : public ::testing::Test {
 protected:
  // Group 1: members a, b, c (past-only) and d (overall item excluded);
  // group 2: member e; group items g1, g2 in group 999; the overall item o.
  void SetUp() override {
    bed.Open();
    a = bed.Add(JudgementBed::Numeric(3001, 1, "ａ"));
    b = bed.Add(JudgementBed::Numeric(3002, 1, "ｂ"));
    KomInfo past = JudgementBed::Numeric(3003, 1, "ｃ");
    past.Past = kPastResultOnly;
    c = bed.Add(past);
    e = bed.Add(JudgementBed::Numeric(3005, 2, "ｅ"));
    g1 = bed.Add(JudgementBed::GroupItem(1, "グループ１"));
    g2 = bed.Add(JudgementBed::GroupItem(2, "グループ２"));
    o = bed.Add(JudgementBed::OverallItem());
  }

  void Finish() { bed.Finish(); }

  JudgementBed bed;
  std::int16_t a = 0, b = 0, c = 0, e = 0, g1 = 0, g2 = 0, o = 0;
};

TEST_F(GroupJudgement, TheGroupTakesItsMostSevereMemberAndTheOverallTheMostSevereGroup) {
  Finish();
  bed.Result(a).Han = 2;
  bed.Result(b).Han = 3;
  bed.Result(c).Han = 5;  // past-only: no member
  bed.Result(e).Han = 1;
  bed.Result(g2).Han = 1;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 3);
  EXPECT_EQ(frmResultIn.GroupItems[1].Han, 3);
  EXPECT_EQ(bed.Result(g1).User, kBedUser);
  EXPECT_EQ(bed.Cell(g1, basPublic.ResultCol), "Ｃ");
  EXPECT_EQ(bed.Cell(g1, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(bed.Fore(g1, basPublic.HanCol), LetterColor('E'));
  EXPECT_EQ(bed.Cell(g1, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(g1, basPublic.UptimeCol), "2026/12/09 10:30:15");
  EXPECT_EQ(bed.Result(o).Han, 3);
  EXPECT_EQ(bed.Result(o).User, kBedUser);
  EXPECT_EQ(bed.Cell(o, basPublic.HanCol), "Ｃ");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GroupJudgement, MembersWithoutAMeasurementDoNotCount) {
  Finish();
  bed.Result(a).Han = 2;
  for (std::int16_t s : {kSokuteiNotPerformed, kSokuteiUnmeasurable}) {
    bed.Result(b).Han = 5;
    bed.Result(b).Sokutei = s;
    Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
    EXPECT_EQ(bed.Result(g1).Han, 2) << s;
  }
}

TEST_F(GroupJudgement, OnEqualRankTheLowerItemWins) {
  Finish();
  basPublic.HanSort = {0, 1, 3, 3, 4, 5, 6, 7, 8};  // 2 and 3 equally severe
  bed.Result(a).Han = 3;
  bed.Result(b).Han = 2;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 3);
  bed.Result(a).Han = 2;
  bed.Result(b).Han = 3;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 2);
}

TEST_F(GroupJudgement, AnItemWithoutAGroupChangesNothing) {
  Finish();
  frmResultIn.ItemTable[a].Hgrp[1] = 0;
  frmResultIn.ItemTable[a].Hgrp[2] = 1;
  bed.Result(b).Han = 4;
  bed.Result(g2).Han = 2;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1), KekkaData{});
  EXPECT_EQ(bed.Result(o), KekkaData{});
}

TEST_F(GroupJudgement, DoneChecksKeepTheGroupUnlessForced) {
  Finish();
  bed.Result(a).Han = 4;
  bed.Result(g1).Han = 1;
  bed.Result(g1).Hekbn = 1;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 1);
  EXPECT_EQ(bed.Result(o).Han, 1);  // the overall takes the group as it stands
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceYes);
  EXPECT_EQ(bed.Result(g1).Han, 4);
  EXPECT_EQ(bed.Result(o).Han, 4);
  // A done-checked overall item is never recomputed.
  bed.Result(o).Hekbn = 1;
  bed.Result(a).Han = 2;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceYes);
  EXPECT_EQ(bed.Result(g1).Han, 2);
  EXPECT_EQ(bed.Result(o).Han, 4);
}

TEST_F(GroupJudgement, AnUnchangedGroupIsNeitherStampedNorRedrawnUnlessItsClassIsSetOrForced) {
  Finish();
  bed.Result(a).Han = 2;
  bed.Result(g1).Han = 2;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).User, "");
  EXPECT_EQ(bed.Cell(g1, basPublic.HanCol), "");
  bed.Result(g1).Sokutei = kSokuteiBelow;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).User, kBedUser);
  EXPECT_EQ(bed.Result(g1).Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Cell(g1, basPublic.HanCol), "Ｂ");
}

TEST_F(GroupJudgement, TheOverallLeavesOutTheExcludedCodesAndCanBecomeMilder) {
  Finish();
  bed.Result(e).Han = 5;
  bed.Result(a).Han = 2;
  Sub_JudgeGroup(e, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(o).Han, 5);
  basPublic.AutoSougouOut[5] = true;
  Sub_JudgeGroup(e, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g2).Han, 5);
  EXPECT_EQ(bed.Result(o).Han, 0);  // group 1 was never judged
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(o).Han, 2);
  EXPECT_EQ(bed.Cell(o, basPublic.HanCol), "Ｂ");
}

TEST_F(GroupJudgement, TheOperatorsOwnGroupItemKeepsItsJudgement) {
  Finish();
  bed.Result(a).Han = 2;
  bed.Result(g1).Han = 5;  // typed by the operator
  Sub_JudgeGroup(g1, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 5);
  EXPECT_EQ(bed.Result(o).Han, 5);
  // The external judgement recomputes the group the item's number names.
  Sub_JudgeGroup(g1, kJudgeModeExternal, kJudgeForceNo);
  EXPECT_EQ(bed.Result(g1).Han, 2);
  EXPECT_EQ(bed.Result(o).Han, 2);
}

TEST_F(GroupJudgement, ChangingTheOverallItemDoesNotRecomputeIt) {
  Finish();
  frmResultIn.ItemTable[o].Hgrp[1] = 999;
  bed.Result(g1).Han = 4;
  bed.Result(o).Han = 1;
  Sub_JudgeGroup(o, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(o).Han, 1);
  EXPECT_EQ(bed.Result(o).User, "");
}

TEST_F(GroupJudgement, AMissingGroupItemIsReportedInTheStatusLabel) {
  Finish();
  frmResultIn.ItemTable[a].Hgrp[2] = 7;
  frmResultIn.ItemTable[a].Hgrp[3] = 8;
  bed.Result(a).Han = 3;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Status(), "  受診項目に「 9999999008 」が登録されていません");
  EXPECT_EQ(frmResultIn.GroupItems[7].Han, 3);
  EXPECT_EQ(bed.Result(g1).Han, 3);  // the other slots go on
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GroupJudgement, AJudgementWithoutAMarkEndsTheCall) {
  Finish();
  bed.Result(a).Han = 7;  // no slot of the settings has 7
  bed.Result(e).Han = 2;
  bed.Result(g2).Han = 2;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定変換に失敗しました。\r\n判定コード : 7\r\n項目名 : グループ１"});
  EXPECT_EQ(bed.Result(g1).Han, 7);  // written before the warning
  EXPECT_EQ(bed.Result(o).Han, 0);   // never reached
}

TEST_F(GroupJudgement, TheGroupJumpListShowsTheMarkForUsersWhoSeeJudgements) {
  frmResultIn.ItemTable[g1].NgrpIndex = 1;
  Finish();
  frmGrpJmp->flxGroop.SetCols(4);
  frmGrpJmp->flxGroop.SetRows(2);
  for (int row = 0; row < 2; ++row) frmGrpJmp->flxGroop.SetTextMatrix(row, 3, std::to_string(row));
  bed.Result(a).Han = 4;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(1, 2), "");
  basPublic.UserDspKbn = 1;
  bed.Result(a).Han = 5;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(1, 2), "Ｅ");
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(0, 2), "Ｅ");  // the overall item's group, index 0
}

TEST_F(GroupJudgement, AChangedGroupSetsItsJudgementFinding) {
  KomInfo target;
  target.KomCode = Currency(6001);
  target.KomName = "判定所見";
  target.Ksyub = kKsyubFindings;
  target.Skomcd = Currency(kTypeJudgement);
  const std::int16_t t = bed.Add(target);
  frmResultIn.ItemTable[g1].Hansyo = Currency(6001);
  Finish();
  bed.Result(a).Han = 3;
  Sub_JudgeGroup(a, kJudgeModeEntry, kJudgeForceNo);
  EXPECT_EQ(bed.Result(t).Han, 3);
  EXPECT_EQ(bed.Result(t).Syoken.substr(0, std::string("要観察（一）").size()), "要観察（一）");
}

}  // namespace
}  // namespace qz::testing
