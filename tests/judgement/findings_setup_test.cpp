// The default finding of a findings type and the summary-findings set-up of
// a load.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "judgement/default_finding.h"
#include "judgement/summary_findings.h"
#include "kit/suite_builder.h"
#include "loading/find_or_add_item.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "platform/ui/scripted_shell.h"

namespace qz {
namespace {

class DefaultFinding : public ::testing::Test {
 protected:
  void SetUp() override {
    basPublic = BasPublic{};
    basFileAccess = BasFileAccess{};
    shell.auto_answer = true;
    struct Row {
      long long code;
      const char* rcode;
      const char* sykn;
      int khantei, title, def;
    };
    const Row rows[] = {
        // Type 10: a title row with the default mark comes first.
        {10, "001", "見出し", 0, 1, 1},
        {10, "002", "所見なし", 0, 0, 0},
        {10, "003", "異常なし", 1, 0, 1},
        {10, "004", "二つ目の既定", 2, 0, 1},
        // Type 20 has no default; type 21 has one.
        {20, "001", "要観察", 3, 0, 0},
        {21, "001", "次の種別", 1, 0, 1},
        // Type 30 has only a title row with the mark.
        {30, "001", "見出しだけ", 0, 1, 1},
    };
    int scode = 0;
    for (const Row& r : rows) {
      suite.Add("QZSYO2LF", {{"CODE", r.code}, {"TCODE", 1}, {"SCODE", ++scode}, {"RCODE", r.rcode},
                             {"SYKN", r.sykn}, {"KHANTEI", r.khantei}, {"TITLE", r.title}, {"DEFAULT", r.def}});
    }
    suite.Build();
    suite.ApplyPaths();
    ASSERT_TRUE(Fnc_OpenSyo2Master());
  }
  void TearDown() override {
    basFileAccess.QZSYO2LFObj->CloseFile();
    basFileAccess = BasFileAccess{};
  }

  ui::ScriptedShell shell;
  testkit::SuiteBuilder suite;
};

TEST_F(DefaultFinding, FindsTheFirstDefaultRowOfTheType) {
  struct Case {
    long long type;
    bool found;
    const char* rcode;  // where the object stands when found
    const char* sykn;
    int khantei;
  };
  const Case cases[] = {
      {10, true, "003", "異常なし", 1},
      {20, false, "", "", 0},  // the next type's default is never taken
      {30, false, "", "", 0},  // a title row is never the default
      {5, false, "", "", 0},   // no rows of its own
      {99, false, "", "", 0},  // past the end of the file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    ASSERT_EQ(Fnc_GetDefaultFindingCode(Currency(c.type)), c.found);
    if (!c.found) continue;
    const record::BtrAccess& syo = *basFileAccess.QZSYO2LFObj;
    EXPECT_EQ(syo.GetField("CODE").ToCurrency(), Currency(c.type));
    EXPECT_EQ(vb::RTrim(syo.GetField("RCODE").ToText()), c.rcode);
    EXPECT_EQ(vb::RTrim(syo.GetField("SYKN").ToText()), c.sykn);
    EXPECT_EQ(syo.GetField("KHANTEI").ToInt(), c.khantei);
  }
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(DefaultFinding, AnUnopenedMasterGivesTheErrorReport) {
  basFileAccess.QZSYO2LFObj->CloseFile();
  basFileAccess.QZSYO2LFObj.reset();
  EXPECT_FALSE(Fnc_GetDefaultFindingCode(Currency(10)));
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.text.rfind("所見マスタのデフォルト値取得処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_EQ(shell.boxes()[0].request.title, "結果入力");
  basFileAccess.QZSYO2LFObj = std::make_unique<record::BtrAccess>();
}

class SummarySetUp : public ::testing::Test {
 protected:
  SummarySetUp() {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    SougouItems.Clear();
  }
  ~SummarySetUp() override {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    SougouItems.Clear();
  }
  // Adds items with their Past values, in table order.
  static void AddItems(const std::vector<std::pair<long long, std::int16_t>>& items) {
    for (const auto& [code, past] : items) {
      std::int16_t index = 0;
      ASSERT_TRUE(Fnc_FindOrAddItem(Currency(code), index));
      frmResultIn.ItemTable[index].Past = past;
    }
  }
  ui::ScriptedShell shell;
};

TEST_F(SummarySetUp, ARuleSourceIsMarkedZeroAndAnyOtherItemMinusOne) {
  EXPECT_EQ(Fnc_IsSummaryAutoSetSource(Currency(1003)), kSougouNotSource) << "an empty rule table";
  basPublic.AutoSougouSyoken.Count = 2;
  basPublic.AutoSougouSyoken.Items = {SougouRule{}, SougouRule{Currency(1003), "H", 2, 3},
                                      SougouRule{Currency(9999999999LL), "", 1, 4}};
  EXPECT_EQ(Fnc_IsSummaryAutoSetSource(Currency(1003)), kSougouSourceOpen);
  EXPECT_EQ(Fnc_IsSummaryAutoSetSource(Currency(9999999999LL)), kSougouSourceOpen);
  EXPECT_EQ(Fnc_IsSummaryAutoSetSource(Currency(1004)), kSougouNotSource);
  // A count beyond the rules read is a run-time error: reported, not a source.
  basPublic.AutoSougouSyoken.Count = 5;
  EXPECT_EQ(Fnc_IsSummaryAutoSetSource(Currency(1)), kSougouNotSource);
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.text.rfind("総合所見自動セット項目のチェック処理でエラーが発生しました。\r\n", 0), 0u);
}

TEST_F(SummarySetUp, SummaryItemsAreTheFirstBookedItemsOfTheirNumbers) {
  AddItems({{500, 2}, {600, 0}, {700, 1}, {800, 0}});
  basPublic.SougouSyokenKomCode.Count = 4;
  basPublic.SougouSyokenKomCode.Items = {Currency(0), Currency(800), Currency(500), Currency(700), Currency(600)};
  Sub_CheckSummaryFindingItem();
  // Items not booked now do not count.
  const std::vector<std::int16_t> want = {4, 0, 0, 2};
  EXPECT_EQ(SougouItems.Entries(), want);

  // No summary items in the settings: the list stays as it was.
  basPublic.SougouSyokenKomCode = CodeList{};
  Sub_CheckSummaryFindingItem();
  EXPECT_EQ(SougouItems.Entries(), want);
  EXPECT_TRUE(shell.boxes().empty());
}

}  // namespace
}  // namespace qz
