// A right click on the header of an earlier consultation on the result
// screen (demo data): the question, the save it offers, and the load of the
// same examinee on that date.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz::test {
namespace {

class PastConsultationScreenTest : public ScreenTest {
 protected:
  // Loads examinee 1 today and notes its previous consultation.
  void Open() {
    BuildDemo();
    ASSERT_TRUE(StartAndChoose("0000000001", kToday));
    ASSERT_GE(frmResultIn.HistoryCount(), 1);
    earlier_ = frmResultIn.HistoryDates[1].Jdate;
    ASSERT_EQ(earlier_.size(), 8u);
    question_ = earlier_.substr(0, 4) + "/" + earlier_.substr(4, 2) + "/" + earlier_.substr(6, 2) +
                "の結果入力を開きます。\r\n現在の内容を保存しますか？";
    weight_ = ItemIndex(1002);
    ASSERT_GT(weight_, 0);
  }
  // The right click on the date row of the first earlier column.
  bool RightClickPreviousDate() {
    return Drive([] { frmResultInForm->sprResult.RightClickCell(basPublic.PastCol, 1); });
  }

  std::string earlier_;
  std::string question_;
  int weight_ = 0;
};

TEST_F(PastConsultationScreenTest, CancelKeepsTheScreenAndNoOpensTheEarlierDateUnsaved) {
  Open();
  const std::vector<std::string> stored = StoredResults("0000000001", kToday);
  frmResultIn.ResultMatrix(weight_, 0).Knsach = "99.9 ";  // a change not saved

  shell_.AnswerBox(ui::MsgResult::kCancel, question_);
  ASSERT_TRUE(RightClickPreviousDate());
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  EXPECT_EQ(frmResultIn.ResultMatrix(weight_, 0).Knsach, "99.9 ");
  // The click was the date's: no findings search follows its release.
  EXPECT_EQ(form().lblStatus.caption, "");
  EXPECT_EQ(shell_.beeps(), 0);
  EXPECT_FALSE(frmSyoComb.loaded());

  shell_.AnswerBox(ui::MsgResult::kNo, question_);
  ASSERT_TRUE(RightClickPreviousDate());
  EXPECT_EQ(std::to_string(basPublic.ConsultDate), earlier_);
  EXPECT_EQ(frmResultIn.HistoryDates[0].Jdate, earlier_);
  EXPECT_EQ(basPublic.ExamineeNo, "0000000001");
  EXPECT_NE(frmResultIn.ResultMatrix(ItemIndex(1002), 0).Knsach, "99.9 ");
  EXPECT_EQ(StoredResults("0000000001", kToday), stored);
  EXPECT_EQ(OnlineRows().size(), 1u);  // still held once, by this terminal
  EXPECT_TRUE(form().sprResult.visible);
  ASSERT_SCRIPT_OK(shell_);
}

TEST_F(PastConsultationScreenTest, NothingWhileTheFindingsSearchIsOpen) {
  Open();
  basPublic.SyoSearchOpen = true;
  frmResultIn.SyoSearchItem = static_cast<std::int16_t>(weight_);
  shell_.AnswerBox(ui::MsgResult::kOk, "所見検索画面が「体重」で開かれています。");
  ASSERT_TRUE(RightClickPreviousDate());
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  basPublic.SyoSearchOpen = false;
  ASSERT_SCRIPT_OK(shell_);
}

TEST_F(PastConsultationScreenTest, YesSavesFirstAndARefusedSaveKeepsTheScreen) {
  Open();
  frmResultIn.ResultMatrix(weight_, 0).Knsach = "99.9 ";
  // A dispatch date that is no date refuses the save.
  form().txtHassou.SetText("2026/13/45");
  shell_.auto_answer = true;
  shell_.AnswerBox(ui::MsgResult::kYes, question_);
  ASSERT_TRUE(RightClickPreviousDate());
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  EXPECT_EQ(frmResultIn.ResultMatrix(weight_, 0).Knsach, "99.9 ");
  shell_.ClearRecords();

  form().txtHassou.SetText("");
  shell_.AnswerBox(ui::MsgResult::kYes, question_);
  ASSERT_TRUE(RightClickPreviousDate());
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(std::to_string(basPublic.ConsultDate), earlier_);
  const std::vector<std::string> stored = StoredResults("0000000001", kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1002=99.9"), stored.end());
  ASSERT_SCRIPT_OK(shell_);
}

// The right click leaves the focus on the grid: a value still being typed
// is entered and saved with Yes.
TEST_F(PastConsultationScreenTest, YesSavesAValueStillBeingTyped) {
  Open();
  grid::Spread& spr = form().sprResult;
  ASSERT_TRUE(Drive([&] {
    spr.col = basPublic.ResultCol;
    spr.row = Fnc_ItemToRow(Fnc_FindItemRow(static_cast<std::int16_t>(weight_)));
    spr.SetAction(grid::kActionActiveCell);
    EXPECT_TRUE(shell_.UserType("77.7"));
  }));
  ASSERT_TRUE(spr.edit_mode());
  shell_.auto_answer = true;
  shell_.AnswerBox(ui::MsgResult::kYes, question_);
  ASSERT_TRUE(Drive([&] {
    spr.PointAt(basPublic.PastCol, 1);
    EXPECT_TRUE(shell_.UserClick(spr, 2));
  }));
  EXPECT_EQ(std::to_string(basPublic.ConsultDate), earlier_);
  const std::vector<std::string> stored = StoredResults("0000000001", kToday);
  EXPECT_NE(std::find(stored.begin(), stored.end(), "1002=77.7"), stored.end());
  ASSERT_SCRIPT_OK(shell_);
}

}  // namespace
}  // namespace qz::test
