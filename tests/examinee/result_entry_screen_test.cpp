// Results typed into the grid of the result screen on the demo data, as the
// operator types them: the value is stored, judged, carried into the
// calculated item, stamped and saved, and the cursor moves on.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/item_row_map.h"
#include "judgement/syo_search_handoff.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz::test {
namespace {

constexpr const char* kNew = "0000000004";  // no results yet today
constexpr int kToday = 20261209;
constexpr long long kHeight = 1001;
constexpr long long kWeight = 1002;
constexpr long long kBmi = 1003;  // weight / height squared, judged

class ResultEntryScreenTest : public ScreenTest {
 protected:
  static int RowOf(long long code) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return line == 0 ? 0 : Fnc_ItemToRow(line);
  }
  static const KekkaData& Result(long long code) {
    return frmResultIn.ResultMatrix(ItemIndex(code), 0);
  }
  // Types `text` into the result cell of `code` as keys, and leaves it
  // being edited.
  bool TypeOnly(long long code, const std::string& text) {
    return Drive([&] {
      grid::Spread& spr = form().sprResult;
      spr.col = basPublic.ResultCol;
      spr.row = RowOf(code);
      spr.SetAction(grid::kActionActiveCell);
      EXPECT_TRUE(shell_.UserType(text));
    });
  }
  bool StoredHas(const std::string& result) const {
    const std::vector<std::string> stored = StoredResults(kNew, kToday);
    return std::find(stored.begin(), stored.end(), result) != stored.end();
  }
  // Types `text` into the result cell of `code` and presses Enter.
  bool TypeAndEnter(long long code, const std::string& text) {
    return Drive([&] {
      form().sprResult.TypeIntoCell(basPublic.ResultCol, RowOf(code), text);
      form().sprResult.DeliverKeyDown(13, 0);
    });
  }
};

TEST_F(ResultEntryScreenTest, TypedValuesAreStoredCalculatedAndSaved) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  ASSERT_NE(RowOf(kHeight), 0);
  // The demo's judgement of the calculated item may warn of its findings;
  // what is checked here is what is stored.
  shell_.auto_answer = true;

  ASSERT_TRUE(TypeAndEnter(kHeight, "160"));
  EXPECT_EQ(Result(kHeight).Knsach, "160.0 ");
  EXPECT_EQ(form().sprResult.TextAt(basPublic.ResultCol, RowOf(kHeight)), "160.0 ");
  EXPECT_EQ(Result(kHeight).User, basPublic.LogonUserId);
  EXPECT_EQ(Result(kHeight).Ymd, kToday);
  EXPECT_EQ(form().sprResult.active_row(), RowOf(kWeight));
  EXPECT_EQ(form().sprResult.active_col(), basPublic.ResultCol);

  ASSERT_TRUE(TypeAndEnter(kWeight, "64"));
  EXPECT_EQ(Result(kWeight).Knsach, "64.0 ");
  EXPECT_EQ(Result(kBmi).Knsach, "25.0 ");
  EXPECT_EQ(form().sprResult.TextAt(basPublic.ResultCol, RowOf(kBmi)), "25.0 ");

  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  const std::vector<std::string> stored = StoredResults(kNew, kToday);
  auto has = [&](const std::string& r) { return std::find(stored.begin(), stored.end(), r) != stored.end(); };
  EXPECT_TRUE(has("1001=160.0"));
  EXPECT_TRUE(has("1002=64.0"));
  EXPECT_TRUE(has("1003=25.0"));
}

TEST_F(ResultEntryScreenTest, AValueWithTooManyDigitsIsRefusedAndTheCursorStays) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  shell_.AnswerBox(ui::MsgResult::kOk, "入力値エラー\r\n「1600」\r\n\r\n整数部03桁\r\n小数部01桁　で入力して下さい。");
  ASSERT_TRUE(TypeAndEnter(kHeight, "1600"));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(Result(kHeight).Knsach, "");
  EXPECT_EQ(form().sprResult.active_row(), RowOf(kHeight));
  EXPECT_EQ(form().sprResult.TextAt(basPublic.ResultCol, RowOf(kHeight)), "");
}

TEST_F(ResultEntryScreenTest, TheFindingsSearchMovesTheCursorThroughTheGridsEnter) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  ASSERT_TRUE(syoSearchSteps.grid_enter);
  ASSERT_TRUE(Drive([&] {
    form().sprResult.MoveActiveCell(basPublic.ResultCol, RowOf(kHeight));
    syoSearchSteps.grid_enter();
  }));
  EXPECT_EQ(form().sprResult.active_row(), RowOf(kWeight));
  EXPECT_SCRIPT_OK(shell_);
}

// F12 and F10 leave the focus on the grid: a value still being typed is
// entered first, as leaving the cell would enter it, and is saved or shown.
TEST_F(ResultEntryScreenTest, AValueStillBeingTypedIsEnteredBeforeTheSaveOrThePreview) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  shell_.auto_answer = true;

  ASSERT_TRUE(TypeOnly(kHeight, "170"));
  ASSERT_TRUE(form().sprResult.edit_mode());
  shell_.Click("frmQZPprint", "cmdCancel");
  ASSERT_TRUE(Drive([&] { EXPECT_TRUE(shell_.UserKey(ui::kKeyF10)); }));
  EXPECT_TRUE(WasShown("frmQZPprint"));
  EXPECT_EQ(vb::Trim(Result(kHeight).Knsach), "170.0");
  EXPECT_FALSE(StoredHas("1001=170.0")) << "the preview stores nothing";

  ASSERT_TRUE(TypeOnly(kWeight, "64"));
  ASSERT_TRUE(Drive([&] { EXPECT_TRUE(shell_.UserKey(ui::kKeyF12)); }));
  EXPECT_TRUE(StoredHas("1001=170.0"));
  EXPECT_TRUE(StoredHas("1002=64.0"));
  EXPECT_TRUE(basPublic.ExamineeNo.empty()) << "saved and ended";
}

// A value being typed that its entry refuses stops F12 with the refusal:
// nothing is saved and the examinee stays on screen for a correction.
TEST_F(ResultEntryScreenTest, AValueStillBeingTypedThatIsRefusedStopsTheSave) {
  BuildDemo();
  ASSERT_TRUE(StartAndChoose(kNew, kToday));
  ASSERT_TRUE(TypeOnly(kHeight, "1600"));
  shell_.AnswerBox(ui::MsgResult::kOk, "入力値エラー\r\n「1600」\r\n\r\n整数部03桁\r\n小数部01桁　で入力して下さい。");
  ASSERT_TRUE(Drive([&] { EXPECT_TRUE(shell_.UserKey(ui::kKeyF12)); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(basPublic.ExamineeNo, kNew);
  EXPECT_TRUE(form().sprResult.visible);
  EXPECT_EQ(form().sprResult.active_row(), RowOf(kHeight));
  EXPECT_EQ(Result(kHeight).Knsach, "");
  EXPECT_FALSE(StoredHas("1001=1600"));
  EXPECT_EQ(OnlineRows().size(), 1u);

  // The forced save of the right button (the focus stays on the grid) too;
  // it is not left forced for the next save.
  ASSERT_TRUE(TypeOnly(kHeight, "1600"));
  shell_.AnswerBox(ui::MsgResult::kOk, "入力チェックをせずに強制保存します。")
      .AnswerBox(ui::MsgResult::kOk, "入力値エラー");
  ASSERT_TRUE(Drive([&] { EXPECT_TRUE(shell_.UserClick(form().cmdEnd, 2)); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(frmResultIn.ForceSave);
  EXPECT_EQ(basPublic.ExamineeNo, kNew);
  EXPECT_FALSE(StoredHas("1001=1600"));
}

}  // namespace
}  // namespace qz::test
