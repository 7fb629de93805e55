// The item steps over variations of the item fixture: display choices,
// the examinee's sex and age, records the consultation lacks and files
// that cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "loading/group_forms.h"
#include "loading/input_groups.h"
#include "loading/item_filter.h"
#include "loading/item_fixture.h"
#include "loading/item_master.h"
#include "loading/item_rows.h"
#include "loading/load_state.h"
#include "loading/result_load.h"
#include "platform/text/vb.h"

namespace qz::testing {
namespace {

const std::string kMe(kExaminee);

std::vector<long long> ShownCodes() {
  std::vector<long long> out;
  for (std::int16_t i : frmResultIn.RowItems) out.push_back(frmResultIn.ItemTable[i].KomCode.whole());
  return out;
}

std::vector<std::int32_t> GroupCodes() {
  std::vector<std::int32_t> out;
  for (const NgrpInfo& g : frmResultIn.InputGroups) out.push_back(g.Ngrp);
  return out;
}

TEST(ItemLoadCases, DisplayChoicesDecideGroupsAndRows) {
  struct Case {
    const char* what;
    std::function<void()> change;
    std::vector<std::int32_t> groups;
    std::vector<long long> rows;
    int jump_start = 1;  // the row of group 20 in the jump list
  };
  const long long g1 = 9999999001LL, all = 9999999999LL;
  const std::vector<Case> cases = {
      {"questionnaire mode, current items", [] {}, {10, 20, 30, 40}, {1002, 1003, 1004, 1001, 2002, 2001, g1, all}},
      // The result-only item stands in group 30, which the user does not
      // enter.
      {"all items", [] { displayChoices.chkPastDisp = true; }, {10, 20, 30, 40},
       {1002, 1003, 1004, 1001, 2002, 2001, 6001, 6003, g1, all}},
      {"results mode", [] { displayChoices.optKirikae = kKirikaeResults; }, {20, 50}, {2004}, 0},
      {"both modes", [] { displayChoices.optKirikae = kKirikaeBoth; }, {10, 20, 30, 40, 50},
       {1002, 1003, 1004, 1001, 2002, 2001, 2004, g1, all}},
      {"display class 1 selects every group",
       [] {
         displayChoices.optKirikae = kKirikaeBoth;
         basPublic.UserDspKbn = 1;
       },
       {10, 20, 30, 40, 50}, {1002, 1003, 1004, 1001, 2002, 2001, 2004, 3001, 3002, g1, all, 5001}},
      {"a female examinee", [] { frmResultIn.ExamineeSex = 2; }, {10, 20, 30, 40},
       {1002, 1003, 1004, 1001, 2002, 2001, 2003, g1, all}},
      {"a user without groups", [] { basPublic.UserInputGroups[1] = 0; }, {10, 20, 30, 40}, {}, 0},
      {"a first group the user does not enter", [] { basPublic.UserFirstGroup = 30; }, {10, 20, 30, 40},
       {1002, 1003, 1004, 1001, 2002, 2001, g1, all}, 0},
      {"the last of three groups as first group", [] { basPublic.UserFirstGroup = 40; }, {10, 20, 30, 40},
       {1002, 1003, 1004, 1001, 2002, 2001, g1, all}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ItemBed bed;
    AddItemConsultation(bed.suite);
    bed.OpenWithSettings();
    ASSERT_EQ(bed.RunThrough("calc"), "");
    c.change();
    ASSERT_EQ(bed.RunItemSteps("groups", "rows"), "");
    EXPECT_EQ(GroupCodes(), c.groups);
    EXPECT_EQ(ShownCodes(), c.rows);
    EXPECT_EQ(bed.spr->max_rows(), basPublic.DataRow - 1 + static_cast<int>(c.rows.size()));
    EXPECT_EQ(frmResultIn.JumpStartRow, c.jump_start);
    if (c.rows.empty()) {
      EXPECT_EQ(frmGrpJmp->flxGroop.rows(), 0);
    }
  }
}

TEST(ItemLoadCases, StandardRangeFollowsSexAndAge) {
  struct Case {
    std::int16_t sex, age;
    const char* low;
    const char* high;
  };
  const Case cases[] = {{1, 45, "18", "24"}, {1, 46, "18.5", "25"}, {2, 46, "19", "25"}, {2, 0, "19", "25"}};
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  ASSERT_EQ(bed.RunThrough("item master"), "");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sex) + "/" + std::to_string(c.age));
    frmResultIn.ExamineeSex = c.sex;
    frmResultIn.ExamineeAge = c.age;
    ASSERT_TRUE(Sub_LoadItemMaster());
    const KomInfo& bmi = frmResultIn.ItemTable[3];
    ASSERT_EQ(bmi.KomCode, Currency(1003));
    EXPECT_EQ(bmi.StdLow, c.low);
    EXPECT_EQ(bmi.StdHigh, c.high);
    EXPECT_EQ(bmi.StdGendate, 20100101);
  }
}

// An item is editable when its group is among the user's groups before the
// first empty entry of the list.
TEST(ItemLoadCases, EditableFollowsTheUsersGroupsUpToTheFirstEmptyEntry) {
  struct Case {
    std::vector<std::int32_t> user_groups;  // entries 1.. of the list
    std::vector<std::int32_t> editable;     // the groups whose items are editable
  };
  const Case cases[] = {
      {{10, 20, 40}, {10, 20, 40}},
      {{0, 10, 20}, {}},
      {{10, 0, 20}, {10}},
      {{50}, {50}},
      {{}, {}},
  };
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  ASSERT_EQ(bed.RunThrough("item master"), "");
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.user_groups));
    basPublic.UserInputGroups.fill(0);
    for (std::size_t n = 0; n < c.user_groups.size(); ++n) basPublic.UserInputGroups[n + 1] = c.user_groups[n];
    ASSERT_TRUE(Sub_LoadItemMaster());
    for (const KomInfo& item : frmResultIn.ItemTable) {
      SCOPED_TRACE(item.KomCode.ToString());
      const bool listed =
          std::find(c.editable.begin(), c.editable.end(), item.Ngrp) != c.editable.end();
      EXPECT_EQ(item.Editable, listed);
    }
  }
}

// Item lines drawn over a group list built for another display mode: an
// item whose group is not in the list is not shown, and the items after it
// still find their groups.
TEST(ItemLoadCases, ItemLinesPassOverGroupsTheListDoesNotHold) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  basPublic.UserDspKbn = 1;
  displayChoices.optKirikae = kKirikaeResults;
  ASSERT_EQ(bed.RunThrough("jump list"), "");
  ASSERT_EQ(GroupCodes(), (std::vector<std::int32_t>{20, 50}));
  displayChoices.optKirikae = kKirikaeBoth;
  ASSERT_TRUE(Sub_JkoInfo());
  // Groups 10, 30 and 40 are not in the list; 5001 of group 50 comes after
  // them.
  EXPECT_EQ(ShownCodes(), (std::vector<long long>{2002, 2001, 2004, 5001}));
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(0, 1), "1");
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(1, 1), "4");
  EXPECT_TRUE(bed.Boxes().empty());
}

// Without the not-performed mark and the default findings, a missing
// current result stays empty.
TEST(ItemLoadCases, MissingResultsStayEmptyWhenTheSettingsAskNothing) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  basPublic.NewMijissi = 0;
  basPublic.AutoDefaultSyoken = 0;
  ASSERT_EQ(bed.RunThrough(), "");
  for (long long code : {1004LL, 3001LL, 9999999999LL}) {
    SCOPED_TRACE(code);
    int i = 0;
    for (int k = 1; k <= frmResultIn.ItemCount(); ++k) {
      if (frmResultIn.ItemTable[k].KomCode == Currency(code)) i = k;
    }
    ASSERT_NE(i, 0);
    EXPECT_TRUE(frmResultIn.ResultMatrix(i, 0) == KekkaData{});
  }
}

// The progress gauge reaches the full width of the state label at the last
// item of the set-up and at the last read of the results.
TEST(ItemLoadCases, TheGaugeEndsFullAfterTheSetUpAndTheResults) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  ASSERT_GT(frmGuide->lblState.width, 0);
  ASSERT_EQ(bed.RunThrough("item master"), "");
  EXPECT_EQ(frmGuide->lblGage.width, frmGuide->lblState.width);
  frmGuide->lblGage.width = 0;
  ASSERT_EQ(bed.RunItemSteps("sort", "results"), "");
  EXPECT_EQ(frmGuide->lblGage.width, frmGuide->lblState.width);
}

// A record the consultation lacks: the set-up either stops with the load
// going on, or unloads the screen.
TEST(ItemLoadCases, MissingMastersEndTheSetUpOrTheLoad) {
  struct Case {
    const char* what;
    std::function<void(testkit::SuiteBuilder&)> extra;
    const char* ends_at;  // "" when the load goes on
    std::string text;
  };
  const std::vector<Case> cases = {
      // Its only version starts after the consultation: the read lands on
      // item 1004.
      {"an item whose master starts later",
       [](testkit::SuiteBuilder& b) {
         b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", 50}, {"CODE", 1500}});
         b.Add("QZKOMLF", {{"CODE", 1500}, {"GENDATE", 20270101}, {"HMEI", "未来"}, {"NGRP", 10}});
       },
       "", "検査項目マスタが見つかりません。\r\n検査項目番号 : 1500"},
      {"an item without input group",
       [](testkit::SuiteBuilder& b) {
         b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", 50}, {"CODE", 1600}});
         b.Add("QZKOMLF", {{"CODE", 1600}, {"GENDATE", 20100101}, {"HMEI", "未設定  "}, {"KSYUB", 1}});
       },
       "item master", "「未設定」の\r\n入力グループが登録されていません。"},
      {"a group not in the group master",
       [](testkit::SuiteBuilder& b) {
         b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", 50}, {"CODE", 1700}});
         b.Add("QZKOMLF", {{"CODE", 1700}, {"GENDATE", 20100101}, {"HMEI", "新群"}, {"KSYUB", 1}, {"NGRP", 60}});
       },
       "group names", "入力グループマスタが登録されていません。\r\n入力グループ番号 : 60"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ItemBed bed;
    AddItemConsultation(bed.suite);
    c.extra(bed.suite);
    bed.OpenWithSettings();
    EXPECT_EQ(bed.RunThrough(), c.ends_at);
    EXPECT_EQ(frmResultIn.Unloaded, std::string(c.ends_at) != "");
    ASSERT_EQ(bed.Boxes().size(), 1u);
    EXPECT_EQ(bed.Boxes()[0], c.text);
    EXPECT_EQ(bed.shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
    EXPECT_EQ(bed.shell.boxes()[0].request.title, "結果入力");
  }
}

// After the set-up stopped early, the items it did not reach have no input
// group: they sort first, open no group and are not shown, while every
// other item still is.
TEST(ItemLoadCases, ItemsLeftWithoutGroupAreNotShown) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.suite.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20100101}, {"REN", 50}, {"CODE", 1500}});
  bed.OpenWithSettings();
  displayChoices.chkPastDisp = true;
  ASSERT_EQ(bed.RunThrough(), "");
  // 1500, 1004, 6001, 6003 and 7001 were not set up.
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(frmResultIn.ItemTable[i].Ngrp, 0);
    EXPECT_EQ(frmResultIn.ItemTable[i].NgrpIndex, -1);
  }
  EXPECT_EQ(GroupCodes(), (std::vector<std::int32_t>{10, 20, 30, 40}));
  EXPECT_EQ(ShownCodes(), (std::vector<long long>{1002, 1003, 1001, 2002, 2001, 9999999001LL, 9999999999LL}));
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(0, 1), "1");
  EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(1, 1), "4");
  EXPECT_EQ(bed.Boxes().size(), 1u);
}

// A damaged file: the step that reads it shows its warning with the status
// and ends the load; the standard ranges only warn.
TEST(ItemLoadCases, AFailedReadGivesItsWarning) {
  struct Case {
    const char* file;
    const char* before;
    const char* ends_at;
    const char* prefix;
  };
  const Case cases[] = {
      {"QZKOMLF.BTR", "item master", "item master",
       "検査項目マスタの読み込みに失敗しました。\r\n検査項目番号 : 1001\r\nステータス : "},
      {"QZSYOLF.BTR", "item master", "item master", "所見マスタの読み込みに失敗しました。\r\n検査項目番号 : 50\r\nステータス : "},
      {"QZGRPLF.BTR", "group names", "group names",
       "入力グループマスタの読み込みに失敗しました。\r\n入力グループ番号 : 10\r\nステータス : "},
      {"QZKKKLF.BTR", "results", "results",
       "検査結果マスタの読み込みに失敗しました。\r\n受診者番号   : 0000012345\r\n受診日       : 20261209\r\n"
       "検査項目番号 : 1002\r\nステータス   : "},
      {"QZHATLF.BTR", "item master", "", "基準値の取得に失敗しました。\r\n項目名 : 体重"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ItemBed bed;
    AddItemConsultation(bed.suite);
    bed.OpenWithSettings();
    EXPECT_EQ(bed.RunThrough("", c.before, [&] { bed.DamageFile(c.file); }), c.ends_at);
    EXPECT_EQ(frmResultIn.Unloaded, std::string(c.ends_at) != "");
    ASSERT_FALSE(bed.Boxes().empty());
    const std::string text = bed.Boxes()[0];
    ASSERT_EQ(text.rfind(c.prefix, 0), 0u) << text;
    if (std::string(c.ends_at).empty()) {
      // Every ranged item warns and the load reaches its end.
      EXPECT_EQ(bed.Boxes().size(), 4u);
      EXPECT_EQ(frmResultIn.ResultMatrix.Rows(), 16);
      continue;
    }
    EXPECT_EQ(bed.Boxes().size(), 1u);
    const std::string status = text.substr(std::string(c.prefix).size());
    EXPECT_TRUE(vb::IsNumeric(status)) << status;
    EXPECT_NE(status, "0");
    EXPECT_NE(status, "4");
    EXPECT_NE(status, "9");
  }
}

TEST(ItemLoadCases, AnUnknownResultFileChangesNothing) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.OpenWithSettings();
  ASSERT_EQ(bed.RunThrough(), "");
  const ResultMatrix before = frmResultIn.ResultMatrix;
  EXPECT_TRUE(Sub_LoadResults("QZKKKLF2"));
  EXPECT_EQ(bed.Boxes().back(), "ファイル名が不正です。\r\nファイル名 : QZKKKLF2");
  EXPECT_TRUE(frmResultIn.ResultMatrix == before);
}

}  // namespace
}  // namespace qz::testing

namespace qz::testing {
namespace {

// The screen reload after the external judgement reads the preview work
// file and replaces everything read before.
TEST(ItemLoadCases, AReloadFromThePreviewFileReplacesTheResults) {
  ItemBed bed;
  AddItemConsultation(bed.suite);
  bed.suite.Add("QJKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 1002}, {"KNSACH", "70"}, {"HAN", 3}});
  bed.suite.Add("QJKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 9999999001LL}, {"HAN", 4}});
  bed.OpenWithSettings();
  ASSERT_EQ(bed.RunThrough(), "");
  ASSERT_TRUE(Sub_OpenPreviewFiles());
  frmResultIn.ResultMatrix(1, 0).Knsach = "typed ";
  EXPECT_TRUE(Sub_LoadResults("QJKKKLF"));
  Sub_ClosePreviewFiles();
  // Sorted: 1002 is item 1, 1001 item 4; group item 14.
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "70 ");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 3);
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0).Knsach, "");
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0).Sokutei, kSokuteiNotPerformed);
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 1).Knsach, "");
  EXPECT_EQ(frmResultIn.GroupItems[1], (GroupItemInfo{14, 4}));
  EXPECT_EQ(frmResultIn.OverallItem, 15);
  EXPECT_TRUE(bed.Boxes().empty());
}

}  // namespace
}  // namespace qz::testing
