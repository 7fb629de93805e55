// The previous-result copy: what it offers (and what not), the dialog's
// buttons, what a copy writes into the tables and the grid with its
// simulated Enter, the done marks, and the cursor's return to the current
// input group.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "grid/cell_kinds.h"
#include "grid/grid_edit_events.h"
#include "kit/ui_expect.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "tools/copy_previous_results.h"
#include "tools/frm_copy.h"

namespace qz::testing {
namespace {

// One item with its current and previous results.
struct Item {
  KomInfo item;
  KekkaData current;
  KekkaData previous;
  bool shown = true;
};

KomInfo Copyable(KomInfo k, std::int16_t copy = 1) {
  k.Copy = copy;
  return k;
}

KomInfo Kind(long long code, const char* name, std::int16_t kind, std::int16_t copy = 1) {
  KomInfo k = Copyable(NumericItem(code, name), copy);
  k.Ksyub = kind;
  return k;
}

KekkaData Value(std::string knsach) {
  KekkaData r;
  r.Knsach = std::move(knsach);
  return r;
}

KekkaData Finding(std::string syoken, std::int16_t han) {
  KekkaData r;
  r.Syoken = std::move(syoken);
  r.Han = han;
  return r;
}

KekkaData Judged(std::int16_t han) { return Finding("", han); }

class CopyPrevious : public ::testing::Test {
 protected:
  CopyPrevious() {
    bed.Open();
    frmGrpJmp.Reset();
    frmCopy.Reset();
    // The grid's own handlers: a copied value goes through the real Enter.
    BindResultGridEvents(*bed.bed.spr);
  }
  ~CopyPrevious() override {
    frmCopy.Reset();
    frmGrpJmp.Reset();
  }

  // Puts the items on screen with one earlier consultation.
  void Show(const std::vector<Item>& items) {
    std::vector<ShownItem> shown;
    for (const Item& i : items) shown.push_back({i.item, i.current, i.shown});
    bed.bed.spr->SetMaxRows(0);  // a fresh screen
    bed.Show(shown);
    frmResultIn.HistoryDates = {JrkEntry{std::to_string(kToday), 0}, JrkEntry{"20251201", 0}};
    frmResultIn.ResultMatrix.Create(static_cast<int>(items.size()), 1);
    for (int i = 1; i <= static_cast<int>(items.size()); ++i) {
      frmResultIn.ResultMatrix(i, 0) = items[static_cast<std::size_t>(i - 1)].current;
      frmResultIn.ResultMatrix(i, 1) = items[static_cast<std::size_t>(i - 1)].previous;
    }
    bed.bed.spr->SetMaxCols(basPublic.PastCol + 1);
    Sub_SprSet();
  }
  // The offered rows as "<check>|<name>|<text>|<index>|<locked>".
  static std::vector<std::string> Offered() {
    std::vector<std::string> rows;
    grid::Spread& list = frmCopy->sprList;
    for (int r = 1; r <= list.max_rows(); ++r) {
      list.col = kCopyCheckCol;
      list.row = r;
      rows.push_back(list.TextAt(1, r) + "|" + list.TextAt(2, r) + "|" + list.TextAt(3, r) + "|" +
                     list.TextAt(4, r) + "|" + (list.Lock() ? "L" : ""));
    }
    return rows;
  }
  std::string Cell(int col, int item_line) const {
    return bed.bed.spr->TextAt(col, item_line + basPublic.DataRow - 1);
  }

  SaveBed bed;
};

TEST_F(CopyPrevious, OnlyTheOperatorIsToldThatThereIsNothingToCopy) {
  struct Case {
    bool history;
    std::int16_t ask;
    std::vector<std::string> boxes;
  } cases[] = {
      {false, -1, {"過去歴がありません。"}},
      {false, 0, {}},
      {true, -1, {"コピー対象のマスタがありません。"}},
      {true, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ask);
    bed.bed.shell.ClearRecords();
    Show({{Copyable(NumericItem(1001, "身長")), Value("170.0 "), Value("")}});
    if (!c.history) frmResultIn.HistoryDates.resize(1);
    Sub_CopyPreviousResults(c.ask);
    EXPECT_EQ(bed.Boxes(), c.boxes);
    EXPECT_TRUE(bed.bed.shell.shown_forms().empty());
  }
}

TEST_F(CopyPrevious, TheDialogOffersCopyableEmptyItemsWithAPreviousValue) {
  KomInfo not_booked = Copyable(NumericItem(1010, "過去のみ"));
  not_booked.Past = kPastResultOnly;
  KomInfo not_mine = Copyable(NumericItem(1011, "他科"));
  not_mine.Editable = false;
  KekkaData done;
  done.Hekbn = 1;
  KekkaData not_performed;
  not_performed.Sokutei = kSokuteiNotPerformed;
  Show({{Copyable(NumericItem(1001, "身長")), {}, Value("170.0 ")},
        {Copyable(NumericItem(1002, "体重")), {}, Value("65.5 "), false},
        {Kind(1003, "胸部所見", kKsyubFindings, 2), {}, Finding("異常なし  ", 2)},
        {Kind(9999999001, "総合", kKsyubGroupJudgement), {}, Judged(2), false},
        {Copyable(NumericItem(1004, "腹囲")), Value("80.0 "), Value("81.0 ")},
        {Copyable(NumericItem(1005, "血糖")), {}, Value("12345.6")},
        {Copyable(NumericItem(1006, "視力"), 0), {}, Value("1.0")},
        {not_booked, {}, Value("1.0")},
        {not_mine, {}, Value("1.0")},
        {Copyable(NumericItem(1012, "済み")), done, Value("1.0")},
        {Copyable(NumericItem(1013, "未実施")), not_performed, Value("1.0")},
        {Copyable(NumericItem(1014, "前回なし")), {}, Value("")},
        {Kind(1015, "判定なし", kKsyubGroupJudgement), {}, Judged(5)}});
  std::vector<std::string> offered, after_all, after_none;
  bed.bed.shell.Do([&] { offered = Offered(); })
      .Click("frmCopy", "cmdAllUnCheck")
      .Do([&] { after_none = Offered(); })
      .Click("frmCopy", "cmdAllCheck")
      .Do([&] { after_all = Offered(); })
      .Click("frmCopy", "cmdClose");
  Sub_CopyPreviousResults(-1);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  EXPECT_EQ(offered, (std::vector<std::string>{"1|身長|     170.0|1|", "0|体重|(画面に表示されていません)|2|L",
                                               "0|胸部所見|異常なし|3|", "1|総合|Ｂ|4|"}));
  EXPECT_EQ(after_all[1], "0|体重|(画面に表示されていません)|2|L") << "a locked row stays unchecked";
  EXPECT_EQ(after_all[2], "1|胸部所見|異常なし|3|");
  EXPECT_EQ(after_none[0], "0|身長|     170.0|1|");
  EXPECT_EQ(after_none[3], "0|総合|Ｂ|4|");
  // Closed after checking every row: nothing was copied.
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0), KekkaData{});
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0), KekkaData{});
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(CopyPrevious, ChosenItemsAreEnteredAsIfTyped) {
  for (std::int16_t sumi : {1, 0}) {
    SCOPED_TRACE(sumi);
    basPublic.PastCopySumi = sumi;
    // Lines 1 身長, 2 胸部所見; the judgement item has no line.
    Show({{Copyable(NumericItem(1001, "身長")), {}, Value("170.0 ")},
          {Kind(1003, "胸部所見", kKsyubFindings, 1), {}, Finding("異常なし  ", 2)},
          {Kind(9999999001, "総合", kKsyubGroupJudgement), {}, Judged(2), false}});
    bed.bed.shell.Click("frmCopy", "cmdEnter");
    Sub_CopyPreviousResults(0);
    EXPECT_SCRIPT_OK(bed.bed.shell);

    const std::string chk = sumi == 1 ? "V" : "";
    // Entered through the Enter processing: edited, stored and stamped as
    // typed.
    const KekkaData& height = frmResultIn.ResultMatrix(1, 0);
    EXPECT_EQ(Cell(basPublic.ResultCol, 1), "170.0 ");
    EXPECT_EQ(height.Knsach, "170.0 ");
    EXPECT_EQ(height.User, "USER01");
    EXPECT_EQ(height.Ymd, kToday);
    EXPECT_EQ(height.Hms, 103000);
    EXPECT_EQ(height.Hekbn, sumi);
    EXPECT_EQ(Cell(basPublic.ChkCol, 1), chk);

    const KekkaData& chest = frmResultIn.ResultMatrix(2, 0);
    EXPECT_EQ(Cell(basPublic.ResultCol, 2), "異常なし  ");
    EXPECT_EQ(Cell(basPublic.HanCol, 2), "Ｂ");
    EXPECT_EQ(chest.Syoken, "異常なし");
    EXPECT_EQ(chest.Han, 2);
    EXPECT_EQ(chest.User, "USER01");
    EXPECT_EQ(chest.Hms, 103000);
    EXPECT_EQ(chest.Hekbn, sumi);

    const KekkaData& judged = frmResultIn.ResultMatrix(3, 0);
    EXPECT_EQ(judged.Han, 2);
    EXPECT_EQ(judged.Hekbn, 0) << "judgement items never get the done mark here";
    EXPECT_EQ(judged.User, "USER01");
    EXPECT_EQ(judged.Ymd, kToday);
    EXPECT_EQ(judged.Hms, 103000);

  }
}

TEST_F(CopyPrevious, AnEarlierFindingWithoutJudgementIsEnteredAndStamped) {
  basPublic.PastCopySumi = 1;
  Show({{Copyable(NumericItem(1002, "体重", "31")), {}, Value("65.5 ")},
        {Kind(1003, "胸部所見", kKsyubFindings, 1), {}, Finding("所見なし", 0)}});
  bed.bed.shell.Click("frmCopy", "cmdEnter");
  Sub_CopyPreviousResults(0);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "65.5 ");
  const KekkaData& finding = frmResultIn.ResultMatrix(2, 0);
  EXPECT_EQ(finding.Syoken, "所見なし");
  EXPECT_EQ(finding.Han, 0);
  EXPECT_EQ(finding.User, "USER01");
  EXPECT_EQ(finding.Hms, 103000);
  EXPECT_EQ(finding.Hekbn, 1);
}

// The judgement of an earlier finding refused (the overall judgement is
// made): the finding's text does not stay either.
TEST_F(CopyPrevious, AnEarlierFindingWhoseJudgementIsRefusedLeavesTheItemAsItWas) {
  basPublic.PastCopySumi = 1;
  Show({{Kind(1003, "胸部所見", kKsyubFindings, 1), {}, Finding("異常なし", 2)},
        {Kind(9999999999, "総合判定", kKsyubGroupJudgement, 0), {}, {}}});
  frmResultIn.OverallItem = 2;
  frmResultIn.SouChk = "1";
  frmResultIn.ResultMatrix(2, 0).Hekbn = 1;
  bed.bed.shell.Click("frmCopy", "cmdEnter").AnswerBox(ui::MsgResult::kOk, "総合判定済みのため変更できません。");
  Sub_CopyPreviousResults(0);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  const KekkaData& chest = frmResultIn.ResultMatrix(1, 0);
  EXPECT_EQ(chest.Syoken, "");
  EXPECT_EQ(chest.Han, 0);
  EXPECT_EQ(chest.User, "");
  EXPECT_EQ(chest.Hekbn, 0);
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "");
  EXPECT_EQ(Cell(basPublic.HanCol, 1), "");
}

// An item without a grid line is carried into its group judgement as a
// typed one would be.
TEST_F(CopyPrevious, AFindingWithoutALineStillJudgesItsGroup) {
  KomInfo chest = Kind(1003, "胸部所見", kKsyubFindings, 1);
  chest.Jhkbn = 1;
  chest.Hgrp[1] = 1;
  Show({{chest, {}, Finding("陳旧性変化", 3), false},
        {Kind(9999999001, "胸部判定", kKsyubGroupJudgement, 0), {}, {}}});
  frmResultIn.GroupItems[1].Item = 2;
  bed.bed.shell.Click("frmCopy", "cmdEnter");
  Sub_CopyPreviousResults(0);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 3);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).User, "USER01");
  EXPECT_EQ(frmResultIn.GroupItems[1].Han, 3);
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0).Han, 3);
}

// A finding copied onto its line is followed as the same finding picked
// from its list is, whatever its automatic-judgement class: its group and
// the overall judgement take its judgement. A group item's judgement copied
// without a line recomputes the overall judgement as typed there does.
TEST_F(CopyPrevious, GroupAndOverallJudgementsFollowACopyWhateverTheClass) {
  KomInfo chest = Kind(1003, "胸部所見", kKsyubFindings, 1);
  chest.Hgrp[1] = 1;
  KomInfo chest_group = Kind(9999999001, "胸部判定", kKsyubGroupJudgement, 0);
  chest_group.Hgrp[1] = 999;
  KomInfo bp_group = Kind(9999999002, "血圧判定", kKsyubGroupJudgement, 1);
  bp_group.Hgrp[1] = 999;
  Show({{chest, {}, Finding("陳旧性変化", 2)},
        {chest_group, {}, {}},
        {bp_group, {}, Judged(3), false},
        {Kind(9999999999, "総合判定", kKsyubGroupJudgement, 0), {}, {}}});
  frmResultIn.GroupItems[1].Item = 2;
  frmResultIn.GroupItems[2].Item = 3;
  frmResultIn.GroupItems[999].Item = 4;
  frmResultIn.OverallItem = 4;
  bed.bed.shell.Click("frmCopy", "cmdEnter");
  Sub_CopyPreviousResults(0);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Han, 2);
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0).Han, 2) << "the chest group follows the copied finding";
  EXPECT_EQ(frmResultIn.ResultMatrix(3, 0).Han, 3);
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0).Han, 3) << "the overall judgement follows the copied group judgement";
  EXPECT_EQ(frmResultIn.ResultMatrix(4, 0).User, "USER01");
}

TEST_F(CopyPrevious, TheCursorGoesBackToTheCurrentInputGroup) {
  Show({{Copyable(NumericItem(1001, "身長")), {}, Value("170.0 ")},
        {Copyable(NumericItem(1002, "体重")), {}, Value("65.5 ")}});
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  jump.AddItem("身体\t1\t\t0");
  jump.AddItem("計測\t2\t\t1");
  jump.SetRow(1);
  jump.SetCellBackColorAt(0, 0, 0x123456);
  bed.bed.shell.Click("frmCopy", "cmdClose");
  Sub_CopyPreviousResults(-1);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  // The first input cell of line 2 from the column before the start column.
  EXPECT_EQ(bed.bed.spr->active_row(), 5);
  EXPECT_EQ(bed.bed.spr->active_col(), basPublic.ResultCol);
  EXPECT_EQ(jump.CellBackColorAt(0, 0), static_cast<ui::Color>(basPublic.ColorNgrpDefault));
  EXPECT_EQ(jump.CellBackColorAt(1, 0), static_cast<ui::Color>(basPublic.ColorNgrpSelect));
}

}  // namespace
}  // namespace qz::testing
