// The judgement of one item's value: the judgement library's area and
// answer, the findings master, the marks of the settings record.
#include "judgement/auto_judge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"
#include "suite/call_log.h"
#include "suite/qzp310.h"

namespace qz::testing {
namespace {

struct Judged {
  bool ok = false;
  std::int16_t han = -1;
  std::string mark, letter, finding;
};

Judged Judge(long long item, const std::string& value, int type = kTypeNumeric) {
  Judged j;
  j.ok = Fnc_AutoJudgeItem(Currency(item), value, Currency(type), j.han, j.mark, j.letter, j.finding);
  return j;
}

class AutoJudge : public ::testing::Test {
 protected:
  void SetUp() override { bed.Open(); }
  JudgementBed bed;
};

TEST_F(AutoJudge, JudgesAgainstTheStandardRange) {
  struct Case {
    long long item;
    const char* value;
    std::int16_t han;
    const char* mark;
    const char* letter;
    const char* finding;
  };
  const std::vector<Case> cases = {
      {1003, "22.0 ", 1, "Ａ", "A", "基準範囲内"},
      {1003, "18.5", 1, "Ａ", "A", "基準範囲内"},  // the limits belong to the range
      {1003, "24.9", 1, "Ａ", "A", "基準範囲内"},
      {1003, "18.4", 2, "Ｂ", "B", "低値"},
      {1003, "25", 4, "Ｄ", "P", "高値"},
      {2001, "129", 1, "Ａ", "A", "基準範囲内"},  // a range from 0 (the examinee is a man)
      {2001, "130", 4, "Ｄ", "P", "高値"},
      {1006, "150000", 1, "Ａ", "A", "基準範囲内"},  // 99999.9999 is no upper limit
      {1006, "0.6", 2, "Ｂ", "B", "低値"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.item) + " " + c.value);
    const Judged j = Judge(c.item, c.value);
    ASSERT_TRUE(j.ok);
    EXPECT_EQ(j.han, c.han);
    EXPECT_EQ(vb::Trim(j.mark), c.mark);
    EXPECT_EQ(j.letter, c.letter);
    EXPECT_EQ(j.finding, c.finding);
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(AutoJudge, HandsTheLibraryTheItemDateExamineeAndValue) {
  suite::ClearCalls();
  Judge(1003, "22.0 ");
  frmResultIn.ExamineeSex = 2;
  frmResultIn.ExamineeAge = 7;
  Judge(1003, "0000000022");  // ten characters: the whole value
  // A longer value is never judged cut: not judged at all.
  EXPECT_FALSE(Judge(1003, "000000000022").ok);
  ASSERT_EQ(suite::Calls().size(), 2u);
  EXPECT_EQ(suite::Calls()[0], "QZP310 0000001003" + std::string(kBedDate) + "1045" + "22.0      " + std::string(7, ' '));
  EXPECT_EQ(suite::Calls()[1], "QZP310 0000001003" + std::string(kBedDate) + "2007" + "0000000022" + std::string(7, ' '));
}

TEST_F(AutoJudge, NotJudgedGivesFalseWithoutAMessage) {
  EXPECT_FALSE(Judge(1003, "abc").ok);        // no number
  EXPECT_FALSE(Judge(1003, "").ok);
  EXPECT_FALSE(Judge(1001, "170").ok);        // no range for the item
  frmResultIn.ExamineeSex = 2;
  EXPECT_FALSE(Judge(2001, "120").ok);        // no range for a woman
  for (const char* status : {"0", "2", "9"}) {
    suite::SetQzp310AnswerForTest([&](std::string_view) { return std::string("000001") + status; });
    EXPECT_FALSE(Judge(1003, "22").ok) << status;
  }
  // Judged, but judgement 7 has no mark in the settings.
  suite::SetQzp310AnswerForTest([](std::string_view) { return "0000091"; });
  EXPECT_FALSE(Judge(1003, "22").ok);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(AutoJudge, AStatusThatIsNoNumberIsAnError) {
  suite::SetQzp310AnswerForTest([](std::string_view) { return "000001 "; });
  EXPECT_FALSE(Judge(1003, "22").ok);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("自動判定処理でエラーが発生しました。", 0), 0u) << bed.Boxes()[0];
}

TEST_F(AutoJudge, AFindingsCodeMissingFromTheMasterWarns) {
  const Judged j = Judge(1003, "22", kTypeJudgement + 1);
  EXPECT_FALSE(j.ok);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"コード「1」は所見マスタに登録されていません。"});
  EXPECT_FALSE(frmResultIn.Unloaded);
}

TEST_F(AutoJudge, AFailedReadOfTheMasterRefusesTheJudgementAndKeepsTheScreen) {
  bed.DamageFile("QZSYOLF.BTR");
  EXPECT_FALSE(Judge(1003, "22").ok);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("所見マスタ３の読み込みに失敗しました。\r\n検査項目番号 : ", 0), 0u) << bed.Boxes()[0];
  EXPECT_NE(bed.Boxes()[0].find("ステータス : "), std::string::npos) << bed.Boxes()[0];
  EXPECT_FALSE(frmResultIn.Unloaded);
}

}  // namespace
}  // namespace qz::testing
