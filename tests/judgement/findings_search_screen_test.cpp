// A modeless findings search on the result screen started on the demo data:
// while it is open, nothing changes the searched row or rebuilds the rows,
// and a search closed without a decision leaves the stored finding as it
// was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/findings_search_launch.h"
#include "grid/grid_edit_events.h"
#include "grid/item_row_map.h"
#include "judgement/frm_syo_comb.h"
#include "kit/demo_catalog.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"
#include "platform/ui/shell.h"

namespace qz::test {
namespace {

constexpr const char* kExaminee = "0000000001";
constexpr int kToday = 20261209;
constexpr long long kChest = 5001;  // 胸部Ｘ線所見, findings type 201
constexpr const char* kHeld = "この項目の所見検索画面が開かれています。";

class FindingsSearchScreenTest : public ScreenTest {
 protected:
  static int RowOf(long long code) {
    const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code)));
    return line == 0 ? 0 : Fnc_ItemToRow(line);
  }
  static const KekkaData& Result(long long code) { return frmResultIn.ResultMatrix(ItemIndex(code), 0); }
  grid::Spread& Grid() { return form().sprResult; }
  // The stored SYOKEN of `item` of `examinee` on `date`, trimmed; "?" when
  // there is no such record.
  std::string StoredFinding(const std::string& examinee, int date, long long item) const {
    const data::FileLayout& layout = data::QzkkklfLayout();
    record::BtrAccess obj;
    if (!obj.OpenFile(layout.file, layout.definition, suite_.paths().data, suite_.paths().spec_file)) return "?";
    DefineLayoutFields(obj, layout);
    std::string found = "?";
    for (int s = obj.GetFirst(layout.definition); s == record::kStatusOk; s = obj.GetNext()) {
      if (vb::RTrim(obj.GetField("CODE").ToText()) == examinee && obj.GetField("JDATE").ToLong() == date &&
          obj.GetField("KKMKNO").ToText() == std::to_string(item)) {
        found = vb::Trim(obj.GetField("SYOKEN").ToText());
      }
    }
    obj.CloseFile();
    return found;
  }

  // Opens the modeless search on the result cell of the chest finding.
  void OpenSearch() {
    suite_.SetIni("SysInfo", "SearchModal", "0");
    BuildDemo();
    ASSERT_TRUE(StartAndChoose(kExaminee, 20261209));
    row_ = RowOf(kChest);
    ASSERT_GT(row_, 0);
    // The finding entered before the search: the second entry of the
    // chest findings list.
    ASSERT_TRUE(Drive([&] {
      Grid().MoveActiveCell(basPublic.ResultCol, row_);
      Grid().PickComboEntry(1);
    }));
    before_ = Result(kChest);
    ASSERT_EQ(vb::Trim(before_.Syoken), "陳旧性炎症性変化");
    ASSERT_TRUE(Drive([&] {
      Grid().MoveActiveCell(basPublic.ResultCol, row_);
      cmdSearch_Click();
    }));
    ASSERT_TRUE(frmSyoComb.loaded() && frmSyoComb->visible());
    ASSERT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "所見検索中です");
    EXPECT_SCRIPT_OK(shell_);
  }

  // Queues the operator's decision of `text` in the open dialog.
  void QueueDecision(const std::string& text) {
    shell_.Do([text] { frmSyoComb->txtSyoken.SetText(text); }).Click("frmSyoComb", "cmdDecision");
  }

  // Runs `step` expecting exactly the refusal of the searched row.
  void Refused(const std::string& what, const std::function<void()>& step) {
    SCOPED_TRACE(what);
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk, kHeld);
    ASSERT_TRUE(Drive(step));
    EXPECT_EQ(shell_.pending_actions(), 0u);
    EXPECT_EQ(Result(kChest), before_);
    EXPECT_EQ(Grid().active_row(), row_);
    EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "所見検索中です");
    EXPECT_TRUE(basPublic.SyoSearchOpen);
    EXPECT_SCRIPT_OK(shell_);
  }

  int row_ = 0;
  KekkaData before_;
};

TEST_F(FindingsSearchScreenTest, EverythingThatWouldChangeTheSearchedRowIsRefused) {
  OpenSearch();
  if (HasFatalFailure()) return;
  const int classes_before = Grid().ComboCurSelAt(basPublic.SokuteiCol, row_);
  Refused("Enter", [&] { Grid().DeliverKeyDown(ui::kKeyReturn, 0); });
  Refused("arrow", [&] { Grid().DeliverKeyDown(ui::kKeyDown, 0); });
  Refused("class pick", [&] {
    // The grid reports a pick in the class list of the searched row.
    Grid().SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row_), 1);
    sprResult_Change(basPublic.SokuteiCol, row_);
  });
  EXPECT_EQ(Grid().ComboCurSelAt(basPublic.SokuteiCol, row_), classes_before);
  Refused("Ctrl+F9", [&] {
    int key = ui::kKeyF9, shift = ui::kCtrlMask;
    form().Form_KeyDown(key, shift);
  });
  const int past_before = form().chkPastDisp.value();
  Refused("display switch", [&] { form().chkPastDisp.HandleClick(1, 0); });
  EXPECT_EQ(form().chkPastDisp.value(), past_before);
  Refused("option button", [&] { form().optKirikae[2]->HandleClick(1, 0); });
  EXPECT_FALSE(form().optKirikae[2]->value());
}

TEST_F(FindingsSearchScreenTest, ASearchClosedWithoutADecisionLeavesTheStoredFinding) {
  OpenSearch();
  if (HasFatalFailure()) return;
  // Back to the grid and away from it again: the row's text is not typed.
  ASSERT_TRUE(Drive([&] {
    form().SetFocusTo(&Grid());
    form().SetFocusTo(&form().txtHassou);
  }));
  EXPECT_EQ(Result(kChest), before_);
  shell_.Click("frmSyoComb", "cmdClose").Advance(1000);
  ASSERT_TRUE(shell_.Play());
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "陳旧性炎症性変化");
  EXPECT_EQ(Result(kChest), before_);

  shell_.auto_answer = true;
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_EQ(StoredFinding(kExaminee, kToday, kChest), "陳旧性炎症性変化");
}

TEST_F(FindingsSearchScreenTest, TheGroupsCheckLeavesTheSearchedMemberToTheSearch) {
  OpenSearch();
  if (HasFatalFailure()) return;
  constexpr long long kChestGroup = testkit::demo::kGroupItemBase + 9;
  const int group_row = RowOf(kChestGroup);
  ASSERT_GT(group_row, 0);
  // A click on the group's done-check: the cursor may not leave the
  // searched row, but the group item takes its check.
  shell_.AnswerBox(ui::MsgResult::kOk, kHeld);
  ASSERT_TRUE(Drive([&] { Grid().ClickCell(basPublic.ChkCol, group_row); }));
  EXPECT_SCRIPT_OK(shell_);
  ASSERT_EQ(Result(kChestGroup).Hekbn, 1);
  EXPECT_EQ(Result(kChest), before_);
  EXPECT_EQ(Grid().TextAt(basPublic.ChkCol, row_), "");

  QueueDecision("胸膜肥厚");
  shell_.Advance(1000);
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  EXPECT_EQ(vb::Trim(Result(kChest).Syoken), "胸膜肥厚");
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "胸膜肥厚");
}

TEST_F(FindingsSearchScreenTest, ADisplaySwitchJustAfterADecisionAppliesItFirst) {
  OpenSearch();
  if (HasFatalFailure()) return;
  // Decided, and the display switched before the poll's next tick.
  QueueDecision("胸膜肥厚");
  ASSERT_TRUE(shell_.Play());
  shell_.ClearRecords();
  const int past_before = form().chkPastDisp.value();
  ASSERT_TRUE(Drive([&] { form().chkPastDisp.HandleClick(1, 0); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NE(form().chkPastDisp.value(), past_before);
  EXPECT_EQ(vb::Trim(Result(kChest).Syoken), "胸膜肥厚");
  const int row = RowOf(kChest);
  ASSERT_GT(row, 0);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row), "胸膜肥厚");
}

TEST_F(FindingsSearchScreenTest, AFindingDecidedJustBeforeTheSaveIsSaved) {
  OpenSearch();
  if (HasFatalFailure()) return;
  // Decided, and saved before the poll's next tick.
  QueueDecision("胸膜肥厚");
  ASSERT_TRUE(shell_.Play());
  EXPECT_FALSE(frmSyoComb.loaded());
  shell_.auto_answer = true;
  ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
  EXPECT_EQ(StoredFinding(kExaminee, kToday, kChest), "胸膜肥厚");
}

}  // namespace
}  // namespace qz::test
