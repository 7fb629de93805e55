// The function-key tools on the result screen over the demo data: clearing
// the results (Ctrl+F3), resetting and setting the done-checks (Ctrl+F4,
// Ctrl+F5), re-judging every group (Ctrl+F6) and the deletion question
// (Alt+F3), each through the main form's keyboard map.
#include "tools/function_key_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "examinee/frm_guide.h"
#include "examinee/screen_fixture.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz::test {
namespace {

constexpr const char* kExaminee = "0000000001";
constexpr long long kBloodPressureGroup = 9999999002LL;
constexpr long long kSystolic = 2001;

class FunctionKeyToolsTest : public ScreenTest {
 protected:
  void SetUp() override {
    BuildDemo();
    ASSERT_TRUE(Start(kExaminee));
  }
  // Presses `key` with `shift`; gives the key code the map left.
  int Press(int key, int shift) {
    int k = key;
    int s = shift;
    EXPECT_TRUE(Drive([&] { form().Form_KeyDown(k, s); }));
    return k;
  }
  static KekkaData& Current(long long code) { return frmResultIn.ResultMatrix(ItemIndex(code), 0); }
};

TEST_F(FunctionKeyToolsTest, ClearingAskedWithCancelChangesNothing) {
  const KekkaData before = Current(kSystolic);
  shell_.AnswerBox(ui::MsgResult::kCancel, "検査結果をクリアします。よろしいですか？");
  EXPECT_EQ(Press(ui::kKeyF3, ui::kCtrlMask), ui::kKeyF3);  // the key goes on
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(Current(kSystolic), before);
}

TEST_F(FunctionKeyToolsTest, ClearingEmptiesEveryResultButItsMeasurementClass) {
  Current(kSystolic).Sokutei = kSokuteiNone + 3;
  shell_.AnswerBox(ui::MsgResult::kOk, "検査結果をクリアします。よろしいですか？");
  EXPECT_EQ(Press(ui::kKeyF3, ui::kCtrlMask), 0);
  ASSERT_SCRIPT_OK(shell_);
  KekkaData cleared;
  cleared.Sokutei = kSokuteiNone + 3;
  EXPECT_EQ(Current(kSystolic), cleared);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Knsach, "") << i;
    EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Han, 0) << i;
  }
  for (int row = 0; row < frmGrpJmp->flxGroop.rows(); ++row) EXPECT_EQ(frmGrpJmp->flxGroop.TextMatrix(row, 2), "");
  EXPECT_TRUE(form().visible());
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(FunctionKeyToolsTest, ASaveAfterClearingWritesNoOverallMark) {
  const int date = std::stoi(frmResultIn.HistoryDates.at(0).Jdate);
  // The groups judged as the re-judge tool does.
  shell_.AnswerBox(ui::MsgResult::kYes, "チェック済みでも更新しますか？");
  Press(ui::kKeyF6, ui::kCtrlMask);
  ASSERT_TRUE(std::any_of(frmResultIn.GroupItems.begin(), frmResultIn.GroupItems.end(),
                          [](const GroupItemInfo& g) { return g.Han != 0; }));
  shell_.AnswerBox(ui::MsgResult::kOk, "検査結果をクリアします。よろしいですか？");
  Press(ui::kKeyF3, ui::kCtrlMask);
  shell_.auto_answer = true;
  Drive([&] { form().cmdEnd_Click(); });  // started for one examinee: the save ends the program
  EXPECT_EQ(vb::Trim(StoredHistoryField(kExaminee, date, "SHAT")), "");
}

TEST_F(FunctionKeyToolsTest, ResetThenSetLeavesEveryItemDoneChecked) {
  Press(ui::kKeyF4, ui::kCtrlMask);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 0) << i;
  Press(ui::kKeyF5, ui::kCtrlMask);
  ASSERT_SCRIPT_OK(shell_);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) EXPECT_EQ(frmResultIn.ResultMatrix(i, 0).Hekbn, 1) << i;
}

// The blood-pressure group item is set to a judgement its members do not
// give; the re-judgement puts the worst member judgement back, a
// done-checked group item only when asked to.
TEST_F(FunctionKeyToolsTest, RejudgingEveryGroupFollowsTheAnswer) {
  struct Case {
    ui::MsgResult answer;
    std::int16_t done_check;
    bool rejudged;
  };
  const std::int16_t worst = [] {
    std::int16_t w = 0;
    for (long long code : {2001LL, 2002LL, 2003LL}) w = std::max(w, Current(code).Han);
    return w;
  }();
  ASSERT_GT(worst, 0);
  const std::int16_t wrong = worst == 5 ? 4 : 5;
  for (const Case& c : {Case{ui::MsgResult::kCancel, 0, false}, Case{ui::MsgResult::kNo, 0, true},
                        Case{ui::MsgResult::kNo, 1, false}, Case{ui::MsgResult::kYes, 1, true}}) {
    KekkaData& group = Current(kBloodPressureGroup);
    group.Han = wrong;
    group.Hekbn = c.done_check;
    shell_.AnswerBox(c.answer, "チェック済みでも更新しますか？");
    EXPECT_EQ(Press(ui::kKeyF6, ui::kCtrlMask), 0);
    ASSERT_SCRIPT_OK(shell_);
    EXPECT_EQ(Current(kBloodPressureGroup).Han, c.rejudged ? worst : wrong)
        << static_cast<int>(c.answer) << " " << c.done_check;
  }
}

TEST_F(FunctionKeyToolsTest, DeletionAnsweredNoKeepsTheExamineeOpen) {
  const std::vector<std::string> stored = StoredResults(kExaminee, kToday);
  shell_.AnswerBox(ui::MsgResult::kNo, "結果を削除しますか？");
  Press(ui::kKeyF3, ui::kAltMask);
  ASSERT_SCRIPT_OK(shell_);
  EXPECT_EQ(StoredResults(kExaminee, kToday), stored);
  EXPECT_GT(frmResultIn.ItemCount(), 0);
  EXPECT_EQ(OnlineRows().size(), 1u);
}

}  // namespace
}  // namespace qz::test
