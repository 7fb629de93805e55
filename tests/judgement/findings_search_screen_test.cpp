// A modeless findings search on the result screen started on the demo data:
// while it is open, nothing changes the searched row (nor a judgement
// item's summary-findings row) or rebuilds the rows, while the cursor
// leaves the row and the other rows take entries; a search closed without
// a decision leaves the stored finding as it was, and a closed search gives
// the row back the locks of its cell kinds.
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
constexpr long long kChestGroup = testkit::demo::kGroupItemBase + 9;  // 胸部Ｘ線判定
constexpr long long kSummary = 7001;  // 総合所見
constexpr long long kPressure = 2001;  // 収縮期血圧, up to 129
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

  // The demo examinee on the screen with the modeless search configured.
  void Load() {
    suite_.SetIni("SysInfo", "SearchModal", "0");
    suite_.SetIni("SougouSyoken", "KomCode", std::to_string(kSummary));
    BuildDemo();
    ASSERT_TRUE(StartAndChoose(kExaminee, kToday));
  }
  // F5 with the cursor on the result cell of `code`: the dialog opens.
  void SearchOn(long long code) {
    const int row = RowOf(code);
    ASSERT_GT(row, 0);
    // The demo's group items have no findings type of their own: the
    // chest's judgement searches the chest findings.
    if (code == kChestGroup) frmResultIn.ItemTable[ItemIndex(code)].Skomcd = Currency(201);
    ASSERT_TRUE(Drive([&] {
      Grid().MoveActiveCell(basPublic.ResultCol, row);
      cmdSearch_Click();
    }));
    ASSERT_TRUE(frmSyoComb.loaded() && frmSyoComb->visible());
    ASSERT_TRUE(basPublic.SyoSearchOpen);
    EXPECT_SCRIPT_OK(shell_);
  }
  // The locks of every cell of grid row `row`.
  std::vector<bool> RowLocks(int row) {
    std::vector<bool> locks;
    for (int col = 1; col <= Grid().max_cols(); ++col) locks.push_back(Grid().FormatAt(col, row).lock);
    return locks;
  }
  // Saves with F12's button; the search screen comes back.
  void Save() {
    shell_.auto_answer = true;
    ASSERT_TRUE(Drive([&] { form().cmdEnd_Click(); }));
    shell_.auto_answer = false;
    ASSERT_TRUE(SearchShown());
  }

  // Opens the modeless search on the result cell of the chest finding.
  void OpenSearch() {
    Load();
    if (HasFatalFailure()) return;
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
    SearchOn(kChest);
    if (HasFatalFailure()) return;
    ASSERT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "所見検索中です");
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
  const std::string mark_before = Grid().TextAt(basPublic.HanCol, row_);
  // A judgement typed into the row's judgement cell, left or entered.
  Refused("a judgement typed and left", [&] {
    Grid().TypeIntoCell(basPublic.HanCol, row_, "Ｃ");
    Grid().DeliverKeyDown(ui::kKeyDown, 0);
  });
  EXPECT_EQ(Grid().TextAt(basPublic.HanCol, row_), mark_before);
  Refused("a judgement typed and entered", [&] {
    Grid().TypeIntoCell(basPublic.HanCol, row_, "Ｃ");
    Grid().DeliverKeyDown(ui::kKeyReturn, 0);
  });
  EXPECT_EQ(Grid().TextAt(basPublic.HanCol, row_), mark_before);
  // Nor is it left shown, unstored, when the focus goes (to the dialog, say).
  Refused("a judgement typed and the focus gone", [&] {
    form().SetFocusTo(&Grid());
    Grid().TypeIntoCell(basPublic.HanCol, row_, "Ｃ");
    form().SetFocusTo(&form().txtHassou);
  });
  EXPECT_EQ(Grid().TextAt(basPublic.HanCol, row_), mark_before);
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

TEST_F(FindingsSearchScreenTest, TheCursorLeavesTheSearchedRowAndTheOtherRowsTakeEntries) {
  OpenSearch();
  if (HasFatalFailure()) return;
  const int pressure = RowOf(kPressure);
  ASSERT_GT(pressure, 0);
  struct Move {
    const char* what;
    std::function<void()> step;
    int to_row;  // 0: a row below the searched one
  };
  const Move moves[] = {
      {"Down", [&] { Grid().DeliverKeyDown(ui::kKeyDown, 0); }, row_ + 1},
      {"Enter", [&] { Grid().DeliverKeyDown(ui::kKeyReturn, 0); }, 0},
      {"click", [&] { Grid().ClickCell(basPublic.ResultCol, pressure); }, pressure},
      // The right button over a numeric item opens no second search.
      {"right click", [&] { Grid().RightClickCell(basPublic.ResultCol, pressure); }, pressure},
  };
  for (const Move& m : moves) {
    SCOPED_TRACE(m.what);
    ASSERT_TRUE(Drive([&] { Grid().MoveActiveCell(basPublic.ResultCol, row_); }));
    ASSERT_EQ(Grid().active_row(), row_);
    shell_.ClearRecords();
    ASSERT_TRUE(Drive(m.step));
    EXPECT_TRUE(shell_.boxes().empty());
    if (m.to_row != 0) EXPECT_EQ(Grid().active_row(), m.to_row);
    if (m.to_row == 0) EXPECT_GT(Grid().active_row(), row_);
    // The searched row is not processed on the way out.
    EXPECT_EQ(Result(kChest), before_);
    EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row_), "所見検索中です");
    EXPECT_EQ(Grid().TextAt(basPublic.ChkCol, row_), "");
    EXPECT_TRUE(basPublic.SyoSearchOpen);
    EXPECT_SCRIPT_OK(shell_);
  }

  // Another row takes a value as usual, judged, while the search is open.
  shell_.ClearRecords();
  ASSERT_TRUE(Drive([&] {
    Grid().TypeIntoCell(basPublic.ResultCol, pressure, "150");
    Grid().DeliverKeyDown(ui::kKeyReturn, 0);
  }));
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_EQ(Result(kPressure).Knsach, "150 ");
  EXPECT_EQ(Result(kPressure).Han, 3);
  EXPECT_EQ(Result(kPressure).User, basPublic.LogonUserId);
  EXPECT_EQ(Result(kChest), before_);

  QueueDecision("胸膜肥厚");
  shell_.Advance(1000);
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(vb::Trim(Result(kChest).Syoken), "胸膜肥厚");
  Save();
  EXPECT_EQ(vb::Trim(StoredResult(kExaminee, kToday, kPressure, {"KNSACH"}).substr(7)), "150");
  EXPECT_EQ(StoredResult(kExaminee, kToday, kPressure, {"HAN"}), "HAN=3");
  EXPECT_EQ(StoredFinding(kExaminee, kToday, kChest), "胸膜肥厚");
}

TEST_F(FindingsSearchScreenTest, AJudgementItemsSummaryRowIsHeldUntilTheDecisionLandsThere) {
  Load();
  if (HasFatalFailure()) return;
  const int summary = RowOf(kSummary);
  ASSERT_GT(summary, 0);
  const KekkaData summary_before = Result(kSummary);
  const std::string shown_before = Grid().TextAt(basPublic.ResultCol, summary);
  SearchOn(kChestGroup);
  if (HasFatalFailure()) return;
  const struct {
    const char* what;
    std::function<void()> leave;
  } leaves[] = {{"entered", [&] { Grid().DeliverKeyDown(ui::kKeyReturn, 0); }},
                {"left by a click", [&] { Grid().ClickCell(basPublic.ResultCol, summary - 1); }},
                {"the focus gone", [&] { form().SetFocusTo(&form().txtHassou); }}};
  for (const auto& leave : leaves) {
    SCOPED_TRACE(leave.what);
    shell_.ClearRecords();
    shell_.AnswerBox(ui::MsgResult::kOk, kHeld);
    ASSERT_TRUE(Drive([&] {
      form().SetFocusTo(&Grid());
      Grid().TypeIntoCell(basPublic.ResultCol, summary, "手で書いた所見");
      leave.leave();
    }));
    EXPECT_EQ(shell_.pending_actions(), 0u);
    EXPECT_SCRIPT_OK(shell_);
    EXPECT_EQ(Grid().active_row(), summary);
    EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, summary), shown_before);
    EXPECT_EQ(Result(kSummary), summary_before);
  }
  // Unchanged, the row is left without a box.
  shell_.ClearRecords();
  ASSERT_TRUE(Drive([&] { Grid().DeliverKeyDown(ui::kKeyUp, 0); }));
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_EQ(Grid().active_row(), summary - 1);

  QueueDecision("胸膜肥厚");
  shell_.Advance(1000);
  ASSERT_TRUE(shell_.Play());
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(vb::Trim(Result(kSummary).Syoken), "胸膜肥厚");
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, summary), "胸膜肥厚");
}

TEST_F(FindingsSearchScreenTest, AClosedSearchGivesTheRowBackTheLocksOfItsCellKinds) {
  Load();
  if (HasFatalFailure()) return;
  struct Close {
    const char* what;
    std::function<void()> queue;
  };
  // Decided last: the judgement item's decision fills the one summary item.
  const Close closes[] = {
      {"戻る", [&] { shell_.Click("frmSyoComb", "cmdClose"); }},
      {"the close box", [&] { shell_.CloseBox("frmSyoComb"); }},
      {"decided", [&] { QueueDecision("胸膜肥厚"); }},
  };
  bool first = true;
  for (long long code : {kChest, kChestGroup}) {
    for (const Close& c : closes) {
      SCOPED_TRACE(std::to_string(code) + " " + c.what);
      if (!first) ASSERT_TRUE(Choose(kExaminee, kToday));
      first = false;
      const int row = RowOf(code);
      ASSERT_GT(row, 0);
      const std::vector<bool> locks = RowLocks(row);
      const KekkaData before = Result(code);
      SearchOn(code);
      if (HasFatalFailure()) return;
      c.queue();
      shell_.Advance(1000);
      ASSERT_TRUE(shell_.Play());
      EXPECT_SCRIPT_OK(shell_);
      ASSERT_FALSE(basPublic.SyoSearchOpen);
      EXPECT_EQ(RowLocks(row), locks);

      // Typing into the done-check cell, and into the code cell of the
      // judgement item, changes nothing.
      ASSERT_TRUE(Drive([&] {
        Grid().MoveActiveCell(basPublic.ChkCol, row);
        Grid().TypeIntoCell(basPublic.ChkCol, row, "V");
        Grid().DeliverKeyDown(ui::kKeyReturn, 0);
      }));
      EXPECT_EQ(Grid().TextAt(basPublic.ChkCol, row), "");
      if (code == kChestGroup) {
        ASSERT_TRUE(Drive([&] {
          Grid().MoveActiveCell(basPublic.SyoCodeCol, row);
          Grid().TypeIntoCell(basPublic.SyoCodeCol, row, "A1");
          Grid().DeliverKeyDown(ui::kKeyReturn, 0);
        }));
        EXPECT_EQ(Grid().TextAt(basPublic.SyoCodeCol, row), "");
      }
      EXPECT_EQ(Result(code).Hekbn, 0);
      EXPECT_EQ(Result(code).Knsach, before.Knsach);
      Save();
      EXPECT_EQ(StoredResult(kExaminee, kToday, code, {"HEKBN"}), "HEKBN=0");
    }
  }
}

TEST_F(FindingsSearchScreenTest, TheSearchEntryUnderTheOverallLockPutsTheStoredFindingBack) {
  suite_.SetIni("SysInfo", "SougouChk", "0");
  Load();
  if (HasFatalFailure()) return;
  // The overall judgement made and locking the others (SOUCHK "1").
  frmResultIn.SouChk = "1";
  const int overall = RowOf(testkit::demo::kOverallItem);
  const int row = RowOf(kChest);
  ASSERT_GT(overall, 0);
  ASSERT_GT(row, 0);
  ASSERT_TRUE(Drive([&] {
    Grid().MoveActiveCell(basPublic.ResultCol, overall);
    Grid().PickComboEntry(0);
    Grid().ClickCell(basPublic.ChkCol, overall);
  }));
  EXPECT_SCRIPT_OK(shell_);
  ASSERT_EQ(Result(testkit::demo::kOverallItem).Hekbn, 1);
  const KekkaData before = Result(kChest);
  const std::string stored = vb::Trim(before.Syoken);

  shell_.ClearRecords();
  shell_.AnswerBox(ui::MsgResult::kOk, "総合判定済みのため変更できません。");
  ASSERT_TRUE(Drive([&] {
    Grid().MoveActiveCell(basPublic.ResultCol, row);
    Grid().col = basPublic.ResultCol;
    Grid().row = row;
    Grid().PickComboEntry(Grid().ComboCount() - 1);  // the search entry
  }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(shell_.boxes().size(), 1u);
  EXPECT_FALSE(frmSyoComb.loaded());
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row), stored);
  EXPECT_EQ(Result(kChest), before);
}

TEST_F(FindingsSearchScreenTest, ATextTypedBeforeTheSearchComesBackOnlyToTheCursorThatEntersIt) {
  Load();
  if (HasFatalFailure()) return;
  const int row = RowOf(kChest);
  ASSERT_GT(row, 0);
  ASSERT_TRUE(Drive([&] {
    Grid().MoveActiveCell(basPublic.ResultCol, row);
    Grid().PickComboEntry(1);
  }));
  const KekkaData before = Result(kChest);
  const std::string stored = vb::Trim(before.Syoken);
  // Typed onto the stored finding, F5 before Enter, 戻る in the dialog.
  const auto search_typed_then_close = [&](const std::function<void()>& meanwhile) {
    ASSERT_TRUE(Drive([&] {
      Grid().TypeIntoCell(basPublic.ResultCol, row, "胸膜");
      int key = ui::kKeyF5;
      int shift = 0;
      form().Form_KeyDown(key, shift);
    }));
    ASSERT_TRUE(basPublic.SyoSearchOpen);
    ASSERT_EQ(vb::Trim(basPublic.SyoSearchText), stored + "胸膜");
    ASSERT_TRUE(Drive(meanwhile));
    shell_.Click("frmSyoComb", "cmdClose");
    shell_.Advance(1000);
    ASSERT_TRUE(shell_.Play());
    EXPECT_SCRIPT_OK(shell_);
    ASSERT_FALSE(basPublic.SyoSearchOpen);
  };

  // The cursor went on to the next item: nothing would enter the text, so
  // the cell shows the finding that is kept and saved.
  search_typed_then_close([&] { Grid().DeliverKeyDown(ui::kKeyDown, 0); });
  if (HasFatalFailure()) return;
  EXPECT_NE(Grid().active_row(), row);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row), stored);
  EXPECT_EQ(Result(kChest), before);

  // The cursor stayed: the text comes back to go on with, and leaving the
  // cell enters it.
  ASSERT_TRUE(Drive([&] { Grid().MoveActiveCell(basPublic.ResultCol, row); }));
  search_typed_then_close([] {});
  if (HasFatalFailure()) return;
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row), stored + "胸膜");
  EXPECT_EQ(Result(kChest), before);
  ASSERT_TRUE(Drive([&] { Grid().DeliverKeyDown(ui::kKeyDown, 0); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_EQ(vb::Trim(Result(kChest).Syoken), stored + "胸膜");
  Save();
  EXPECT_EQ(StoredFinding(kExaminee, kToday, kChest), stored + "胸膜");
}

TEST_F(FindingsSearchScreenTest, TheGroupsCheckLeavesTheSearchedMemberToTheSearch) {
  OpenSearch();
  if (HasFatalFailure()) return;
  const int group_row = RowOf(kChestGroup);
  ASSERT_GT(group_row, 0);
  // A click on the group's done-check: the cursor goes there and the group
  // item takes its check.
  shell_.ClearRecords();
  ASSERT_TRUE(Drive([&] { Grid().ClickCell(basPublic.ChkCol, group_row); }));
  EXPECT_SCRIPT_OK(shell_);
  EXPECT_TRUE(shell_.boxes().empty());
  EXPECT_EQ(Grid().active_row(), group_row);
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

// A double click on "確定" and F12 pressed twice: the first decides, the
// second click finds no dialog and the second F12 saves the screen with
// the decided finding in it, stamped once like a typed one.
TEST_F(FindingsSearchScreenTest, ADoubledDecisionReachesTheResultOnce) {
  struct Case {
    const char* what;
    std::function<void()> decide_twice;
  };
  const std::vector<Case> cases = {
      {"double click", [this] {
         ASSERT_TRUE(shell_.UserClick(frmSyoComb->cmdDecision));
         EXPECT_FALSE(shell_.UserClick(frmSyoComb->cmdDecision));
       }},
      {"F12 twice", [this] {
         ASSERT_TRUE(shell_.UserKey(ui::kKeyF12));
         shell_.auto_answer = true;
         EXPECT_TRUE(shell_.UserKey(ui::kKeyF12));
         shell_.auto_answer = false;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (SearchShown()) {
      frmSyoComb.Reset();
      ASSERT_TRUE(Choose(kExaminee, kToday));
      row_ = RowOf(kChest);
      SearchOn(kChest);
    } else {
      OpenSearch();
    }
    if (HasFatalFailure()) return;
    shell_.ClearRecords();
    ASSERT_TRUE(Drive([&] {
      frmSyoComb->txtSyoken.SetText("胸膜肥厚");
      c.decide_twice();
    }));
    EXPECT_FALSE(frmSyoComb.loaded());
    ASSERT_TRUE(Drive([&] { shell_.AdvanceTime(2000); }));  // the poll's tick
    if (!SearchShown()) {
      EXPECT_EQ(vb::Trim(Result(kChest).Syoken), "胸膜肥厚");
      EXPECT_EQ(Result(kChest).User, basPublic.LogonUserId);
      EXPECT_EQ(shell_.active_form(), &form());
      EXPECT_EQ(form().active_control(), &Grid());
      Save();
    }
    EXPECT_EQ(StoredFinding(kExaminee, kToday, kChest), "胸膜肥厚");
    EXPECT_SCRIPT_OK(shell_);
  }
}

}  // namespace
}  // namespace qz::test
