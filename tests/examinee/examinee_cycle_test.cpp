// The examinee cycle of the result screen: the start, the search screen or
// the command line, the load, and the end by discarding or saving.
#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "examinee/examinee_selection.h"
#include "examinee/screen_fixture.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/ui/shell.h"

namespace qz::test {
namespace {

using ui::MsgResult;

constexpr const char* kFirst = "0000000001";

class ExamineeCycleTest : public ScreenTest {};

TEST_F(ExamineeCycleTest, AChoiceOnTheSearchScreenLoadsTheExamineeAndTheDiscardBringsTheSearchBack) {
  BuildDemo();
  ASSERT_TRUE(Start());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().cmdEnd.enabled);
  EXPECT_FALSE(form().chkSokutei.enabled);
  EXPECT_FALSE(form().sprResult.visible);

  ASSERT_TRUE(Choose(kFirst, kToday));
  EXPECT_FALSE(SearchShown());
  EXPECT_EQ(form().txtID.text(), frmResultIn.txtID);
  EXPECT_FALSE(form().txtID.text().empty());
  EXPECT_FALSE(form().txtName.text().empty());
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_TRUE(form().enabled());
  EXPECT_TRUE(form().cmdEnd.enabled);
  EXPECT_FALSE(frmResultIn.Loading);
  EXPECT_GT(frmResultIn.RowCount(), 0);
  EXPECT_EQ(basPublic.ExamineeNo, kFirst);
  EXPECT_EQ(basPublic.ConsultDate, kToday);
  const auto held = OnlineRows();
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].examinee, kFirst);
  EXPECT_EQ(held[0].terminal, kTerminal);
  EXPECT_EQ(held[0].ren, basPublic.OnlineRen);

  shell_.AnswerBox(MsgResult::kOk, "保存せずに終了します。よろしいですか？");
  ASSERT_TRUE(Drive([&] { form().cmdAgain_Click(); }));
  EXPECT_TRUE(OnlineRows().empty());
  EXPECT_EQ(basPublic.OnlineRen, 0);
  EXPECT_TRUE(basPublic.ExamineeNo.empty());
  EXPECT_TRUE(form().txtID.text().empty());
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(form().visible());
  EXPECT_FALSE(frmGrpJmp.loaded());
  EXPECT_TRUE(SearchShown());
  EXPECT_FALSE(form().cmdEnd.enabled);
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
