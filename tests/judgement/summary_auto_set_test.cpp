// The summary-findings auto-set: the free summary item, the rules and
// their limits, what is written and drawn, the destination a source keeps,
// and the findings-master failures.
#include "judgement/summary_auto_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "judgement/summary_findings.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

SougouRule Rule(long long source, const char* hl, std::int16_t han, std::int32_t code) {
  SougouRule r;
  r.KomCode = Currency(source);
  r.HL = hl;
  r.Han = han;
  r.SyoCode = code;
  return r;
}

class SummaryAutoSet : public ::testing::Test {
 protected:
  // Source s (numeric, 2001, standard 0 to 129), a second source t (3001),
  // summary items m1 (8001) and m2 (8002) of the judgement findings type.
  void SetUp() override {
    bed.Open();
    KomInfo bp = JudgementBed::Numeric(2001, 1, "収縮期血圧");
    bp.StdLow = "90";
    bp.StdHigh = "129";
    s = bed.Add(bp);
    t = bed.Add(JudgementBed::Numeric(3001, 1, "ｔ"));
    m1 = bed.Add(JudgementBed::Findings(8001, kTypeJudgement, "総合所見１"));
    m2 = bed.Add(JudgementBed::Findings(8002, kTypeJudgement, "総合所見２"));
    basPublic.SougouSyokenKomCode.Count = 2;
    basPublic.SougouSyokenKomCode.Items = {Currency(0), Currency(8001), Currency(8002)};
  }

  void Rules(const std::vector<SougouRule>& rules) {
    basPublic.AutoSougouSyoken.Count = static_cast<std::int16_t>(rules.size());
    basPublic.AutoSougouSyoken.Items = {SougouRule{}};
    basPublic.AutoSougouSyoken.Items.insert(basPublic.AutoSougouSyoken.Items.end(), rules.begin(), rules.end());
  }

  // Finishes the table and runs the load's summary set-up.
  void Finish() {
    bed.Finish();
    Sub_CheckSummaryFindingItem();
    Sub_MarkSummaryAutoSetSources();
  }

  void Judge(std::int16_t item, const char* value, std::int16_t han) {
    bed.Result(item).Knsach = value;
    bed.Result(item).Han = han;
    Sub_AutoSetSummaryFindings(item);
  }

  JudgementBed bed;
  std::int16_t s = 0, t = 0, m1 = 0, m2 = 0;
};

TEST_F(SummaryAutoSet, TheFreeSummaryItemIsTheFirstWithoutTextOrDoneCheck) {
  Finish();
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m1);
  bed.Result(m1).Syoken = "   ";  // blank counts as empty
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m1);
  bed.Result(m1).Hekbn = 1;
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m2);
  bed.Result(m1).Hekbn = 0;
  bed.Result(m1).Syoken = "既往";
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m2);
  bed.Result(m2).Syoken = "既往";
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), 0);
  basPublic.SougouSyokenKomCode.Count = 0;
  bed.Result(m1).Syoken.clear();
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), 0);
}

TEST_F(SummaryAutoSet, ASummaryItemNotBookedNowIsNeverChosen) {
  frmResultIn.ItemTable[m1].Past = kPastResultOnly;
  Finish();
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m2);
}

TEST_F(SummaryAutoSet, TheFirstApplyingRuleWritesItsFindingWithStampAndColour) {
  Rules({Rule(2001, "H", 3, 3), Rule(2001, "H", 3, 6)});
  Finish();
  bed.Result(m1).Syoken = "";
  bed.Result(m1).Sokutei = kSokuteiNotPerformed;
  Judge(s, "150 ", 3);
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, m1);
  const KekkaData& r = bed.Result(m1);
  EXPECT_EQ(r.Syoken, "要観察（一）");
  EXPECT_EQ(r.Han, 3);
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_EQ(r.Ymd, 20261209);
  EXPECT_EQ(r.Hms, 103015);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Cell(m1, basPublic.ResultCol), "要観察（一）");
  EXPECT_EQ(bed.Cell(m1, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(bed.Cell(m1, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(m1, basPublic.UptimeCol), "2026/12/09 10:30:15");
  EXPECT_EQ(bed.Fore(m1, basPublic.ResultCol), LetterColor('E'));
  EXPECT_EQ(bed.Fore(m1, basPublic.HanCol), LetterColor('E'));
  EXPECT_TRUE(bed.Result(m2).Syoken.empty());
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(SummaryAutoSet, RulesCompareTheValueWithTheLimitsAndTheJudgement) {
  struct Case {
    const char* hl;
    const char* low;
    const char* high;
    const char* value;
    std::int16_t han;
    bool applies;
  };
  const std::vector<Case> cases = {
      {"H", "90", "129", "130 ", 3, true},
      {"H", "90", "129", "129 ", 3, false},         // equal to the limit
      {"H", "90", "129", "130 ", 2, false},         // another judgement
      {"H", "90", "", "99999.9999 ", 3, false},     // no high limit
      {"H", "90", "", "100000 ", 3, true},
      {"L", "90", "129", "89.9 ", 3, true},
      {"L", "90", "129", "90 ", 3, false},
      {"L", "", "129", "0 ", 3, false},             // no low limit: only below 0
      {"L", "", "129", "-1 ", 3, true},
      {"L", "90", "129", "", 3, true},              // an empty value reads as 0
      {"", "90", "129", "100 ", 3, true},           // no comparison
      {"X", "90", "129", "100 ", 3, true},
  };
  Finish();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.hl) + " " + c.low + ".." + c.high + " value " + c.value);
    frmResultIn.ItemTable[s].StdLow = c.low;
    frmResultIn.ItemTable[s].StdHigh = c.high;
    Rules({Rule(2001, c.hl, 3, 3)});
    Sub_MarkSummaryAutoSetSources();
    bed.Result(m1) = KekkaData{};
    Judge(s, c.value, c.han);
    EXPECT_EQ(bed.Result(m1).Syoken, c.applies ? "要観察（一）" : "");
    // Taken only for a finding written.
    EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, c.applies ? m1 : kSougouSourceOpen);
  }
}

TEST_F(SummaryAutoSet, AFindingsSourceIsJudgedByItsJudgementAlone) {
  const std::int16_t x = bed.Add(JudgementBed::Findings(4001, kTypeFindings, "胸部所見"));
  Rules({Rule(4001, "H", 5, 6)});
  Finish();
  Judge(x, "", 5);
  EXPECT_EQ(bed.Result(m1).Syoken, "要医療");
  EXPECT_EQ(bed.Cell(m1, basPublic.HanCol), "Ｅ");
}

TEST_F(SummaryAutoSet, ASourceKeepsItsSummaryItemAndTheNextSourceTakesAnother) {
  Rules({Rule(2001, "", 3, 3), Rule(2001, "", 2, 2), Rule(3001, "", 5, 6)});
  Finish();
  Judge(s, "150 ", 3);
  Judge(t, "1 ", 5);
  EXPECT_EQ(bed.Result(m1).Syoken, "要観察（一）");
  EXPECT_EQ(bed.Result(m2).Syoken, "要医療");
  Judge(s, "140 ", 2);  // the text of its own item is replaced
  EXPECT_EQ(bed.Result(m1).Syoken, "軽度異常");
  EXPECT_EQ(bed.Result(m2).Syoken, "要医療");
  // A reload forgets the destinations: the filled items are no longer free.
  Sub_MarkSummaryAutoSetSources();
  bed.shell.ClearRecords();
  Judge(s, "150 ", 3);
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, 0);
  EXPECT_EQ(bed.Result(m1).Syoken, "軽度異常");
  // Asked again at its next change, once an item is free.
  bed.Result(m2).Syoken.clear();
  Judge(s, "150 ", 3);
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, m2);
  EXPECT_EQ(bed.Result(m2).Syoken, "要観察（一）");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(SummaryAutoSet, ASummaryItemIsTakenOnlyByTheFindingWrittenThere) {
  Rules({Rule(2001, "H", 3, 3), Rule(3001, "", 5, 6), Rule(3001, "", 4, 4)});
  Finish();
  Judge(s, "100 ", 3);  // within the limits: nothing written, nothing taken
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, kSougouSourceOpen);
  EXPECT_EQ(Fnc_FindSummaryFindingItem(), m1);
  Judge(t, "1 ", 5);
  EXPECT_EQ(frmResultIn.ItemTable[t].SougouDest, m1);
  EXPECT_EQ(bed.Result(m1).Syoken, "要医療");

  // Emptied (as a Delete of t's value does), t's item is free again: s
  // takes it, and t, writing again, goes elsewhere rather than over s's
  // finding.
  bed.Result(m1).Syoken.clear();
  Judge(s, "150 ", 3);
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, m1);
  EXPECT_EQ(frmResultIn.ItemTable[t].SougouDest, kSougouSourceOpen);
  Judge(t, "1 ", 4);
  EXPECT_EQ(frmResultIn.ItemTable[t].SougouDest, m2);
  EXPECT_EQ(bed.Result(m1).Syoken, "要観察（一）");
  EXPECT_EQ(bed.Result(m2).Syoken, "要観察（二）");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(SummaryAutoSet, ADoneCheckedSummaryItemKeepsItsText) {
  Rules({Rule(2001, "", 3, 3), Rule(2001, "", 2, 2)});
  Finish();
  Judge(s, "150 ", 3);
  ASSERT_EQ(bed.Result(m1).Syoken, "要観察（一）");
  bed.Result(m1).Hekbn = 1;
  const KekkaData confirmed = bed.Result(m1);
  const std::string shown = bed.Cell(m1, basPublic.ResultCol);
  Judge(s, "140 ", 2);
  EXPECT_EQ(bed.Result(m1), confirmed);
  EXPECT_EQ(bed.Cell(m1, basPublic.ResultCol), shown);
  EXPECT_TRUE(bed.Result(m2).Syoken.empty());
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(SummaryAutoSet, NothingWithoutSummaryItemsOrForAnItemThatIsNoSource) {
  Rules({Rule(2001, "", 3, 3)});
  basPublic.SougouSyokenKomCode.Count = 0;
  Finish();
  frmResultIn.ItemTable[s].SougouDest = 0;
  Judge(s, "150 ", 3);
  EXPECT_EQ(frmResultIn.ItemTable[s].SougouDest, 0);
  basPublic.SougouSyokenKomCode.Count = 2;
  Sub_CheckSummaryFindingItem();
  Judge(t, "1 ", 3);  // no rule has t as source
  EXPECT_EQ(frmResultIn.ItemTable[t].SougouDest, kSougouNotSource);
  EXPECT_TRUE(bed.Result(m1).Syoken.empty());
  EXPECT_TRUE(bed.Result(m1).User.empty());
}

TEST_F(SummaryAutoSet, AFindingTheMasterCannotGiveChangesNothing) {
  struct Case {
    int type;
    std::int32_t code;
    const char* box;
  };
  const std::vector<Case> cases = {
      {kTypeJudgement, 5, "コード「5」は所見マスタに登録されていません。"},
      {kTypeFindings, 1, "タイトル用所見は選択できません。"},
  };
  Finish();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    frmResultIn.ItemTable[m1].Skomcd = Currency(c.type);  // the destination's type is read
    Rules({Rule(2001, "", 3, c.code)});
    Sub_MarkSummaryAutoSetSources();
    bed.shell.ClearRecords();
    bed.Result(m1).Syoken = " ";
    Judge(s, "150 ", 3);
    EXPECT_EQ(bed.Boxes(), std::vector<std::string>{c.box});
    EXPECT_EQ(bed.Result(m1).Syoken, " ");
    EXPECT_TRUE(bed.Result(m1).User.empty());
    EXPECT_FALSE(frmResultIn.Unloaded);
  }
}

TEST_F(SummaryAutoSet, AFailedReadOfTheFindingsMasterSetsNothingAndKeepsTheScreen) {
  Rules({Rule(2001, "", 3, 3)});
  Finish();
  bed.DamageFile("QZSYOLF.BTR");
  Judge(s, "150 ", 3);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("所見マスタ３の読み込みに失敗しました。\r\n所見種別番号 : 600\r\nステータス : ", 0), 0u)
      << bed.Boxes()[0];
  EXPECT_FALSE(frmResultIn.Unloaded);
  EXPECT_TRUE(bed.Result(m1).Syoken.empty());
}

TEST_F(SummaryAutoSet, AJudgementWithoutAMarkIsStoredButNotDrawn) {
  frmResultIn.ItemTable[m1].Skomcd = Currency(kTypeNumeric);  // code 9 carries judgement 7
  Rules({Rule(2001, "", 3, 9)});
  Finish();
  Judge(s, "150 ", 3);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定変換に失敗しました。\r\n判定コード : 7\r\n項目名 : 収縮期血圧"});
  EXPECT_EQ(bed.Result(m1).Syoken, "判定なし");
  EXPECT_EQ(bed.Result(m1).Han, 7);
  EXPECT_EQ(bed.Cell(m1, basPublic.ResultCol), "");
}

TEST_F(SummaryAutoSet, ASourceWithoutJudgementShowsTheMarkOfTheFindingItWrote) {
  Rules({Rule(2001, "", 0, 6)});
  Finish();
  Judge(s, "150 ", 0);
  EXPECT_EQ(bed.Result(m1).Han, 5);
  EXPECT_EQ(bed.Cell(m1, basPublic.HanCol), "Ｅ");
  EXPECT_EQ(bed.Fore(m1, basPublic.HanCol), LetterColor('R'));
}

}  // namespace
}  // namespace qz::testing
