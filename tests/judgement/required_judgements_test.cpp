// The check of required judgements and results before the examinee's
// done-check.
#include "judgement/required_judgements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

CodeList Codes(std::vector<long long> codes) {
  CodeList list;
  list.Count = static_cast<std::int16_t>(codes.size());
  list.Items = {Currency(0)};
  for (long long c : codes) list.Items.push_back(Currency(c));
  return list;
}

void OneOfGroups(const std::vector<std::vector<long long>>& groups) {
  CountedArray<HissuGrpInfo>& lists = basPublic.HissuGrpKomCode;
  lists.Count = static_cast<std::int16_t>(groups.size());
  lists.Items.assign(groups.size() + 1, HissuGrpInfo{});
  for (std::size_t i = 0; i < groups.size(); ++i) {
    HissuGrpInfo& g = lists.Items[i + 1];
    g.Count = static_cast<std::int16_t>(groups[i].size());
    g.KomCodes = Codes(groups[i]).Items;
    g.Flags.assign(groups[i].size() + 1, true);  // stale flags of an earlier check
    g.FoundItem = 99;
  }
}

class RequiredJudgements : public ::testing::Test {
 protected:
  // Numeric n1, n2, findings f, group items g1 and g2, the overall item o;
  // the results start complete: judged, checked, filled.
  void SetUp() override {
    bed.Open();
    n1 = bed.Add(JudgementBed::Numeric(3001, 1, "ｎ１"));
    n2 = bed.Add(JudgementBed::Numeric(3002, 1, "ｎ２"));
    KomInfo finding = JudgementBed::Findings(3003, kTypeFindings, "ｆ");
    finding.Hgrp[1] = 1;
    f = bed.Add(finding);
    g1 = bed.Add(JudgementBed::GroupItem(1, "グループ１"));
    g2 = bed.Add(JudgementBed::GroupItem(2, "グループ２"));
    o = bed.Add(JudgementBed::OverallItem());
    bed.Finish();
    for (std::int16_t i : {n1, n2, f, g1, g2, o}) {
      bed.Result(i).Han = 1;
      bed.Result(i).Hekbn = 1;
    }
    bed.Result(n1).Knsach = "10 ";
    bed.Result(n2).Knsach = "20 ";
    bed.Result(f).Syoken = "異常なし";
  }

  // (item, column) of the check, (0, 0) when it passes.
  std::pair<std::int16_t, std::int16_t> Check() {
    std::int16_t item = -1, col = -1;
    const bool ok = Fnc_CheckRequiredJudgements(item, col);
    EXPECT_EQ(ok, item == 0 && col == 0);
    return {item, col};
  }

  JudgementBed bed;
  std::int16_t n1 = 0, n2 = 0, f = 0, g1 = 0, g2 = 0, o = 0;
  const std::int16_t R = basPublic.ResultCol, C = basPublic.ChkCol;
};

using Hit = std::pair<std::int16_t, std::int16_t>;

TEST_F(RequiredJudgements, ACompleteConsultationPasses) {
  basPublic.HissuKomCode = Codes({3001, 3003});
  OneOfGroups({{3001, 3002}});
  EXPECT_EQ(Check(), Hit(0, 0));
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(RequiredJudgements, TheOverallAndGroupItemsNeedTheirJudgement) {
  // Overall item: no judgement, or "(未実施)".
  bed.Result(o).Han = 0;
  EXPECT_EQ(Check(), Hit(o, R));
  bed.Result(o).Han = 1;
  bed.Result(o).Sokutei = kSokuteiNotPerformed;
  EXPECT_EQ(Check(), Hit(o, R));
  bed.Result(o).Sokutei = kSokuteiNone;
  bed.Result(o).Hekbn = 0;  // its done-check is not asked for here
  EXPECT_EQ(Check(), Hit(0, 0));

  // A group item without its done-check: judgement missing -> result column,
  // judged -> done-check column.
  bed.Result(g2).Hekbn = 0;
  EXPECT_EQ(Check(), Hit(g2, C));
  bed.Result(g2).Han = 0;
  EXPECT_EQ(Check(), Hit(g2, R));
  bed.Result(g2).Han = 1;
  bed.Result(g2).Sokutei = kSokuteiNotPerformed;
  EXPECT_EQ(Check(), Hit(g2, R));
}

TEST_F(RequiredJudgements, ACheckedGroupItemWithoutJudgementFailsOnlyUnderTheStrictSetting) {
  struct Case {
    std::int16_t sougou_chk;
    std::int16_t han;
    std::int16_t sokutei;
    bool fails;
  };
  const std::vector<Case> cases = {
      {2, 0, kSokuteiNone, true},
      {2, 1, kSokuteiNotPerformed, true},
      {2, 0, kSokuteiUnmeasurable, false},  // "(測定不能)" needs no judgement
      {2, 1, kSokuteiNone, false},
      {1, 0, kSokuteiNone, false},
      {0, 0, kSokuteiNotPerformed, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sougou_chk) + "/" + std::to_string(c.han) + "/" + std::to_string(c.sokutei));
    basPublic.SougouChk = c.sougou_chk;
    bed.Result(g1).Han = c.han;
    bed.Result(g1).Sokutei = c.sokutei;
    EXPECT_EQ(Check(), c.fails ? Hit(g1, R) : Hit(0, 0));
  }
}

TEST_F(RequiredJudgements, AnExemptGroupItemIsNeverReported) {
  basPublic.SougouChkOut = Codes({9999999001LL});
  bed.Result(g1).Han = 0;
  bed.Result(g1).Hekbn = 0;
  EXPECT_EQ(Check(), Hit(0, 0));
}

TEST_F(RequiredJudgements, ARequiredItemNeedsItsDoneCheckAndAResult) {
  basPublic.HissuKomCode = Codes({3003, 3001});
  struct Case {
    const char* what;
    std::int16_t check;
    std::int16_t sokutei;
    const char* value;
    bool fails;
  };
  const std::vector<Case> cases = {
      {"no done-check", 0, kSokuteiNone, "10 ", true},
      {"not performed", 1, kSokuteiNotPerformed, "10 ", true},
      {"blank value", 1, kSokuteiNone, "  ", true},
      {"unmeasurable without value", 1, kSokuteiUnmeasurable, "", false},
      {"below, without value", 1, kSokuteiBelow, "", false},
      {"complete", 1, kSokuteiNone, "10 ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bed.Result(n1).Hekbn = c.check;
    bed.Result(n1).Sokutei = c.sokutei;
    bed.Result(n1).Knsach = c.value;
    EXPECT_EQ(Check(), c.fails ? Hit(n1, R) : Hit(0, 0));
  }
  bed.Result(f).Syoken = " ";  // a findings item is judged by its finding text
  EXPECT_EQ(Check(), Hit(f, R));
}

TEST_F(RequiredJudgements, TheFirstFailingItemInTableOrderIsReportedBeforeAnyOneOfGroupList) {
  basPublic.HissuKomCode = Codes({3003});
  OneOfGroups({{3001, 3002}});
  bed.Result(n1).Knsach = "";
  bed.Result(n2).Knsach = "";
  bed.Result(f).Hekbn = 0;
  bed.Result(g2).Han = 0;
  EXPECT_EQ(Check(), Hit(f, R));
  bed.Result(f).Hekbn = 1;
  EXPECT_EQ(Check(), Hit(g2, R));
  bed.Result(g2).Han = 1;
  EXPECT_EQ(Check(), Hit(n2, R));  // the list's last item of the consultation
}

TEST_F(RequiredJudgements, AOneOfGroupListNeedsOneEnteredItemOfTheConsultation) {
  struct Case {
    const char* what;
    std::vector<std::vector<long long>> lists;
    const char* n1_value;
    std::int16_t n1_sokutei;
    const char* n2_value;
    Hit expected;
  };
  const std::vector<Case> cases = {
      {"one entered", {{3001, 3002}}, "", kSokuteiNone, "20 ", Hit(0, 0)},
      {"none entered", {{3002, 3001}}, "", kSokuteiNone, " ", Hit(n2, R)},
      {"a value marked unmeasurable counts not", {{3001}}, "10 ", kSokuteiUnmeasurable, "", Hit(n1, R)},
      {"a class without value counts not", {{3001}}, "", kSokuteiBelow, "", Hit(n1, R)},
      {"items absent from the consultation", {{7001, 7002}}, "", kSokuteiNone, "", Hit(0, 0)},
      {"the second list fails", {{3001, 7001}, {3002}}, "10 ", kSokuteiNone, "", Hit(n2, R)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OneOfGroups(c.lists);
    bed.Result(n1).Knsach = c.n1_value;
    bed.Result(n1).Sokutei = c.n1_sokutei;
    bed.Result(n2).Knsach = c.n2_value;
    EXPECT_EQ(Check(), c.expected);
  }
}

TEST_F(RequiredJudgements, ItemsNotBookedNowAreSkipped) {
  frmResultIn.ItemTable[g1].Past = kPastBookedEarlier;
  frmResultIn.ItemTable[n1].Past = kPastResultOnly;
  basPublic.HissuKomCode = Codes({3001});
  OneOfGroups({{3001}});
  bed.Result(g1).Han = 0;
  bed.Result(n1).Hekbn = 0;
  EXPECT_EQ(Check(), Hit(0, 0));
  EXPECT_EQ(basPublic.HissuGrpKomCode.Items[1].FoundItem, 0);
}

}  // namespace
}  // namespace qz::testing
