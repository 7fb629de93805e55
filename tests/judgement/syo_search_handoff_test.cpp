// The findings-search hand-off: applying what the dialog decided to the
// searched item or its summary-findings item, and the poll that notices the
// dialog has closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/cell_kinds.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/syo_search_fixture.h"
#include "judgement/syo_search_handoff.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {
namespace {

// Items: 1 a findings item of the group judgement (grid row 4), 2 a
// judgement-coded item (row 5), 3 the summary-findings item (row 6), 4 a
// summary-findings item that has no grid line.
class SyoSearchHandoffTest : public testkit::SyoSearchTest {
 protected:
  void SetUp() override {
    testkit::SyoSearchTest::SetUp();
    frmResultIn = FrmResultInState{};
    frmResultInForm.Reset();
    frmResultInForm.get();
    syoSearchSteps = SyoSearchSteps{};
    basPublic.LogonUserId = "U01";
    frmResultIn.DefaultColorLetter = "B";

    struct Item {
      long long code;
      const char* name;
      std::int16_t ksyub, jhkbn;
    } items[] = {{100, "胸部所見", kKsyubFindings, 1},
                 {200102, "胸部判定", kKsyubGroupJudgement, 0},
                 {900, "総合所見", kKsyubFindings, 0},
                 {901, "総合所見２", kKsyubFindings, 0}};
    for (const Item& it : items) {
      KomInfo kom;
      kom.KomCode = Currency(it.code);
      kom.KomName = it.name;
      kom.Ksyub = it.ksyub;
      kom.Jhkbn = it.jhkbn;
      frmResultIn.ItemTable.Append(kom);
    }
    for (std::int16_t i : {1, 2, 3}) frmResultIn.RowItems.Append(i);
    frmResultIn.ResultMatrix.Create(4, 0);

    grid::Spread& spr = Grid();
    spr.SetMaxCols(12);
    spr.SetMaxRows(6);
    spr.SetCellType(grid::Range::Cell(basPublic.SokuteiCol, 4), grid::CellType::kComboBox);
    spr.SetComboList(grid::Range::Column(basPublic.SokuteiCol), "未実施\t測定不能\t以下(≦)");
    Sub_SprSet();
    Sub_LockSet();
    for (int col : {basPublic.SyoCodeCol, basPublic.ResultCol, basPublic.ChkCol}) {
      spr.SetLock(grid::Range::Cell(col, 4), true);
    }
    // Every step of the other parts is recorded.
    syoSearchSteps.auto_set_summary = [this](std::int16_t item) { calls.push_back("auto " + std::to_string(item)); };
    syoSearchSteps.judge_group = [this](std::int16_t item) { calls.push_back("group " + std::to_string(item)); };
    syoSearchSteps.grid_enter = [this] { calls.push_back("enter"); };
  }
  void TearDown() override {
    syoSearchSteps = SyoSearchSteps{};
    frmResultInForm.Reset();
    frmGrpSel.Reset();
    frmResultIn = FrmResultInState{};
    testkit::SyoSearchTest::TearDown();
  }

  grid::Spread& Grid() { return *frmResultIn.sprResult; }
  // The launch's side: item `item` on grid row `row` was searched, and the
  // dialog has closed (its unload clears the open flag before the apply).
  void Searched(std::int16_t item, std::int32_t row, bool decided, std::string text, std::int16_t han) {
    frmResultIn.SyoSearchItem = item;
    frmResultIn.SyoSearchRow = row;
    basPublic.SyoSearchOpen = false;
    basPublic.SyoSearchDecided = decided;
    basPublic.SyoSearchText = std::move(text);
    basPublic.SyoSearchHan = han;
  }
  void Apply() { ASSERT_TRUE(shell.Drive([] { Sub_ApplyFindingSearchResult(); })); }

  std::vector<std::string> calls;
};

TEST_F(SyoSearchHandoffTest, NotDecidedPutsTheEntryTextBackAndChangesNothing) {
  KekkaData& stored = frmResultIn.ResultMatrix(1, 0);
  stored.Syoken = "前の所見";
  stored.Han = 2;
  const KekkaData before = stored;
  Grid().SetText(basPublic.ResultCol, 4, "所見検索中です");
  Searched(1, 4, false, "前の所見 ", 2);
  Apply();
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "前の所見");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0), before);
  EXPECT_TRUE(calls.empty());
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, ADecidedFindingIsStoredStampedDrawnAndJudged) {
  Grid().MoveActiveCell(basPublic.ResultCol, 4);
  Searched(1, 4, true, " 胆石  軽度肥大 ", 3);
  Apply();
  const KekkaData& r = frmResultIn.ResultMatrix(1, 0);
  EXPECT_EQ(r.Han, 3);
  EXPECT_EQ(r.Syoken, "胆石  軽度肥大");
  EXPECT_EQ(r.User, "U01");
  EXPECT_EQ(r.Ymd, 20261210);
  EXPECT_EQ(r.Hms, 90507);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  grid::Spread& spr = Grid();
  EXPECT_EQ(spr.TextAt(basPublic.HanCol, 4), "Ｃ");
  EXPECT_EQ(spr.TextAt(basPublic.ResultCol, 4), "胆石  軽度肥大");
  EXPECT_EQ(spr.TextAt(basPublic.UpdateCol, 4), "検査 太郎");
  EXPECT_EQ(spr.TextAt(basPublic.UptimeCol, 4), "2026/12/10 09:05:07");
  EXPECT_EQ(spr.ForeColorAt(basPublic.ResultCol, 4), 0x300u);  // letter P
  EXPECT_EQ(spr.ForeColorAt(basPublic.HanCol, 4), 0x300u);
  // Summary auto-set of the item, its group judgement, then the cursor
  // moves on (twice: a grid whose Enter leaves it on the row).
  EXPECT_EQ(calls, (std::vector<std::string>{"auto 1", "group 1", "enter", "enter"}));
  EXPECT_EQ(frmResultInForm->lblStatus.caption, "");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, MeasurementTextsSetTheMeasurementClass) {
  struct Case {
    const char* text;
    std::int16_t want;
    int want_entry;
  } cases[] = {{"(未実施)", kSokuteiNotPerformed, 0}, {"(測定不能)", kSokuteiUnmeasurable, 1}, {"胆石", kSokuteiNone, -1}};
  for (const Case& c : cases) {
    frmResultIn.ResultMatrix(1, 0).Sokutei = kSokuteiBelow;
    Grid().SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, 4), 2);
    Searched(1, 4, true, c.text, 1);
    Apply();
    EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Sokutei, c.want) << c.text;
    EXPECT_EQ(Grid().ComboCurSelAt(basPublic.SokuteiCol, 4), c.want_entry) << c.text;
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AnEmptyDecisionClearsTheFindingAndItsJudgementInTheDefaultColour) {
  KekkaData& r = frmResultIn.ResultMatrix(1, 0);
  r.Syoken = "胆石";
  r.Sokutei = kSokuteiBelow;
  Grid().SetText(basPublic.HanCol, 4, "Ｃ");
  Searched(1, 4, true, "  ", 3);
  Apply();
  EXPECT_EQ(r.Syoken, "");
  EXPECT_EQ(r.Han, 0);  // no judgement hides behind the empty mark
  EXPECT_EQ(r.Sokutei, kSokuteiBelow);
  EXPECT_EQ(r.Hms, 90507);
  EXPECT_EQ(Grid().TextAt(basPublic.HanCol, 4), "");
  EXPECT_EQ(Grid().ForeColorAt(basPublic.ResultCol, 4), 0x100u);  // default letter B
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AJudgementWithoutAMarkWarnsAndWritesNothing) {
  Searched(1, 4, true, "胆石", 5);
  ASSERT_TRUE(shell.Drive([&] {
    shell.AnswerBox(ui::MsgResult::kOk,
                    "判定変換に失敗しました。\r\n判定コード : 5\r\n項目名 : 胸部所見");
    Sub_ApplyFindingSearchResult();
  }));
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0), KekkaData{});
  EXPECT_TRUE(calls.empty());
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AFindingNotWrittenGivesTheRowItsStoredFindingBack) {
  struct Case {
    const char* what;
    std::int16_t han;     // the decided judgement (5 has no mark)
    std::int16_t hekbn;   // the item's done-check at the apply
    const char* box;
  } cases[] = {
      {"no mark", 5, 0, "判定変換に失敗しました。\r\n判定コード : 5\r\n項目名 : 胸部所見"},
      {"checked meanwhile", 3, 1, "「胸部所見」は\r\nチェックがついてるため変更できません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KekkaData& stored = frmResultIn.ResultMatrix(1, 0);
    stored = KekkaData{};
    stored.Syoken = "前の所見";
    stored.Han = 2;
    stored.Hekbn = c.hekbn;
    const KekkaData before = stored;
    Grid().SetText(basPublic.ResultCol, 4, "所見検索中です");
    Searched(1, 4, true, "胆石", c.han);
    ASSERT_TRUE(shell.Drive([&] {
      shell.AnswerBox(ui::MsgResult::kOk, c.box);
      Sub_ApplyFindingSearchResult();
    }));
    EXPECT_EQ(frmResultIn.ResultMatrix(1, 0), before);
    EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 4), "前の所見");
    EXPECT_SCRIPT_OK(shell);
  }
}

TEST_F(SyoSearchHandoffTest, AJudgementItemSendsItsFindingToTheSummaryItem) {
  syoSearchSteps.find_summary_item = [](std::int16_t) -> std::int16_t { return 3; };
  Grid().MoveActiveCell(basPublic.ResultCol, 5);
  frmResultIn.ItemTable[1].Jhkbn = 0;
  Searched(2, 5, true, "胆石", 3);
  Apply();
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0), KekkaData{});
  EXPECT_EQ(frmResultIn.ResultMatrix(3, 0).Syoken, "胆石");
  EXPECT_EQ(frmResultIn.ResultMatrix(3, 0).Han, 3);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 6), "胆石");
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 5), "");
  // The summary item written is the judgement item's own from now on.
  EXPECT_EQ(frmResultIn.ItemTable[2].SougouDest, 3);
  EXPECT_EQ(calls, (std::vector<std::string>{"auto 3", "group 2", "enter", "enter"}));
  EXPECT_EQ(frmResultInForm->lblStatus.caption, "  総合所見 に所見をセットしました。");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AKnownSummaryItemWithoutAGridLineIsStoredNotDrawn) {
  frmResultIn.ItemTable[2].SougouDest = 4;
  Searched(2, 5, true, "胆石", 3);
  Apply();
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0).Syoken, "胆石");
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, row), "") << row;
  EXPECT_EQ(frmResultInForm->lblStatus.caption, "  総合所見２ に所見をセットしました。");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AJudgementItemWithoutSummaryItemOnlyMovesTheCursor) {
  Grid().MoveActiveCell(basPublic.ResultCol, 5);
  Searched(2, 5, true, "胆石", 3);
  Apply();
  for (int item = 1; item <= 4; ++item) EXPECT_EQ(frmResultIn.ResultMatrix(item, 0), KekkaData{}) << item;
  EXPECT_EQ(calls, (std::vector<std::string>{"enter", "enter"}));
  EXPECT_EQ(frmResultInForm->lblStatus.caption, "");
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, ADoneCheckedSummaryItemKeepsItsFindingThroughADecision) {
  frmResultIn.ItemTable[2].SougouDest = 3;
  KekkaData& summary = frmResultIn.ResultMatrix(3, 0);
  summary.Syoken = "確定済み";
  summary.Han = 1;
  summary.Hekbn = 1;
  const KekkaData confirmed = summary;
  Grid().SetText(basPublic.ResultCol, 6, "確定済み");
  Searched(2, 5, true, "胆石", 3);
  ASSERT_TRUE(shell.Drive([&] {
    shell.AnswerBox(ui::MsgResult::kOk, "「総合所見」は\r\nチェックがついてるため変更できません。");
    Sub_ApplyFindingSearchResult();
  }));
  EXPECT_EQ(summary, confirmed);
  EXPECT_EQ(Grid().TextAt(basPublic.ResultCol, 6), "確定済み");
  EXPECT_EQ(frmResultInForm->lblStatus.caption, "");
  EXPECT_EQ(calls, std::vector<std::string>{});
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, TheCursorMovesOnOnlyFromTheSearchedRow) {
  Grid().MoveActiveCell(basPublic.ResultCol, 6);
  syoSearchSteps.judge_group = nullptr;
  Searched(1, 4, true, "胆石", 1);
  Apply();
  EXPECT_EQ(calls, (std::vector<std::string>{"auto 1"}));
  // One Enter that leaves the row is enough.
  calls.clear();
  Grid().MoveActiveCell(basPublic.ResultCol, 4);
  syoSearchSteps.grid_enter = [this] {
    calls.push_back("enter");
    Grid().MoveActiveCell(basPublic.ResultCol, 5);
  };
  Apply();
  EXPECT_EQ(calls, (std::vector<std::string>{"auto 1", "enter"}));
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, ThePollWaitsForTheDialogThenAppliesAndReleasesTheRow) {
  basPublic.SyoSearchKomCode = Currency(12);
  basPublic.SyoSearchText = "前の所見";
  basPublic.SyoSearchMaxLen = 100;
  frmResultIn.SyoSearchItem = 1;
  frmResultIn.SyoSearchRow = 4;
  basPublic.SyoSearchOpen = true;
  frmGrpSel->cmdSelectEnd.enabled = false;
  ASSERT_TRUE(shell.Drive([] {
    frmSyoComb->Show();
    Sub_StartSyoSearchPolling();
  }));
  ui::Timer& timer = frmResultInForm->tmrSyoSearch;
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(timer.interval, 1000);
  ASSERT_TRUE(timer.on_timer);

  // Still open: nothing happens.
  ASSERT_TRUE(shell.Drive([&] { timer.on_timer(); }));
  EXPECT_TRUE(timer.enabled);
  EXPECT_TRUE(Grid().FormatAt(basPublic.ResultCol, 4).lock);
  EXPECT_FALSE(frmGrpSel->cmdSelectEnd.enabled);

  // The operator picks 胆石 (tab 1 is shown: A00 A01 A02 A03 C02) and decides.
  ASSERT_TRUE(shell.Drive([] {
    frmSyoComb->flexSyoList.ClickCell(3, 1);  // A02 軽度肥大, judgement 2
    frmSyoComb->cmdDecision_Click();
  }));
  EXPECT_FALSE(basPublic.SyoSearchOpen);
  ASSERT_TRUE(shell.Drive([&] { timer.on_timer(); }));
  EXPECT_FALSE(timer.enabled);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken, "前の所見  軽度肥大");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 2);
  // The cells take back the locks of their kinds.
  EXPECT_FALSE(Grid().FormatAt(basPublic.SyoCodeCol, 4).lock);
  EXPECT_FALSE(Grid().FormatAt(basPublic.ResultCol, 4).lock);
  EXPECT_TRUE(Grid().FormatAt(basPublic.ChkCol, 4).lock);
  EXPECT_EQ(Grid().row, 4);
  EXPECT_TRUE(frmGrpSel->cmdSelectEnd.enabled);
  EXPECT_EQ(frmResultIn.SyoSearchRow, 0);
  EXPECT_EQ(frmResultIn.SyoSearchItem, 0);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AHiddenDialogCountsAsClosedAndIsUnloaded) {
  EXPECT_FALSE(Fnc_SyoSearchWindowOpen());
  basPublic.SyoSearchKomCode = Currency(12);
  ASSERT_TRUE(shell.Drive([] { frmSyoComb->Load(); }));
  EXPECT_FALSE(Fnc_SyoSearchWindowOpen());
  EXPECT_FALSE(frmSyoComb.loaded());
  ASSERT_TRUE(shell.Drive([] { frmSyoComb->Show(); }));
  EXPECT_TRUE(Fnc_SyoSearchWindowOpen());
  EXPECT_SCRIPT_OK(shell);
}

// Whatever the searched item's automatic-judgement class, as a pick from
// its list does.
TEST_F(SyoSearchHandoffTest, TheProgramsStepsJudgeTheGroupOfTheSearchedItem) {
  syoSearchSteps = DefaultSyoSearchSteps();
  // Item 1 belongs to decision group 5, whose group item is added here.
  KomInfo group;
  group.KomCode = Currency(9999999005LL);
  group.KomName = "胸部グループ";
  group.Ksyub = kKsyubGroupJudgement;
  frmResultIn.ItemTable.Append(group);
  frmResultIn.ResultMatrix.Create(5, 0);
  frmResultIn.GroupItems[5].Item = 5;
  frmResultIn.ItemTable[1].Hgrp[1] = 5;
  for (std::int16_t jhkbn : {0, 1}) {
    SCOPED_TRACE(jhkbn);
    frmResultIn.ItemTable[1].Jhkbn = jhkbn;
    frmResultIn.ResultMatrix(5, 0) = KekkaData{};
    Searched(1, 4, true, jhkbn == 0 ? "胆石" : "軽度肥大", static_cast<std::int16_t>(3 - jhkbn));
    Apply();
    EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 3 - jhkbn);
    EXPECT_EQ(frmResultIn.ResultMatrix(5, 0).Han, 3 - jhkbn);
    EXPECT_EQ(frmResultIn.GroupItems[5].Han, 3 - jhkbn);
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(SyoSearchHandoffTest, AnErrorInTheApplyIsReported) {
  Searched(9, 4, true, "胆石", 1);  // no such item
  ASSERT_TRUE(shell.Drive([&] {
    shell.AnswerBox(ui::MsgResult::kOk, "所見検索画面が閉じられた後の処理でエラーが発生しました。");
    Sub_ApplyFindingSearchResult();
  }));
  EXPECT_SCRIPT_OK(shell);
}

}  // namespace
}  // namespace qz
