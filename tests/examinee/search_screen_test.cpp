// The search screen the result screen opens: what it lists and what a
// choice does in the on-line table.
#include "suite/search_form.h"

#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "kit/demo_data.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/ui/shell.h"

namespace qz::test {
namespace {

using ui::MsgResult;

class SearchScreenTest : public ScreenTest {
 protected:
  FrmSearch& Search() { return dynamic_cast<FrmSearch&>(*ui::Shell::Require().FindForm("frmSearch")); }
};

TEST_F(SearchScreenTest, EveryConsultationIsARowNewestFirstAndAnExamineeWithoutOneHasAnEmptyDate) {
  suite_.Add("QZJSNLF", {{"CODE", "0000000099"}, {"NAME", "受診歴なし"}, {"SEX", 1}, {"BIRTH", 19700101}});
  BuildDemo();
  ASSERT_TRUE(Start());
  std::vector<int> first_dates;
  for (const SearchListEntry& e : Search().entries()) {
    if (e.ExamineeNo == "0000000001") first_dates.push_back(e.ConsultDate);
  }
  EXPECT_EQ(first_dates, (std::vector<int>{kToday, testkit::YearsBefore(kToday, 1), testkit::YearsBefore(kToday, 2),
                                           testkit::YearsBefore(kToday, 3)}));
  const int last = static_cast<int>(Search().entries().size());
  EXPECT_EQ(Search().entries().back().ExamineeNo, "0000000099");
  EXPECT_EQ(Search().lstExaminee.TextMatrix(last, 0), "0000000099");
  EXPECT_EQ(Search().lstExaminee.TextMatrix(last, 3), "");
  EXPECT_EQ(Search().lstExaminee.TextMatrix(1, 3), "2026/12/09");
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

TEST_F(SearchScreenTest, AnExamineeHeldAtAnotherTerminalIsNotChosen) {
  BuildDemo();
  AddOnlineRow(1, "0000000003", "TERM99");
  ASSERT_TRUE(Start());
  shell_.AnswerBox(MsgResult::kOk, "[受診者番号:0000000003]の受診者は､\r\nTERM99で『受付』に使用されています。");
  ASSERT_TRUE(Choose("0000000003", kToday));
  EXPECT_TRUE(SearchShown());
  EXPECT_EQ(OnlineRows().size(), 1u);
  EXPECT_FALSE(form().sprResult.visible);
  EXPECT_TRUE(basPublic.ExamineeNo.empty());
  EXPECT_TRUE(testkit::ScriptOk(shell_));
}

}  // namespace
}  // namespace qz::test
