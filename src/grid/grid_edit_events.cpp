// The list-pick, click and double-click events of the result grid
// (grid_edit_events.h); the key and leave-cell events are in
// grid_key_events.cpp.
#include "grid/grid_edit_events.h"

#include <algorithm>
#include <string>

#include "data/bas_rank_change.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "grid/column_toggles.h"
#include "grid/done_check.h"
#include "grid/entry_rules.h"
#include "grid/entry_writes.h"
#include "grid/findings_search_launch.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "grid/searched_row.h"
#include "grid/typed_entry.h"
#include "judgement/finding_lookup.h"
#include "judgement/group_judgement.h"
#include "judgement/judgement_finding.h"
#include "judgement/result_update.h"
#include "judgement/summary_auto_set.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

const std::string kCrLfText(kCrLf);
// Characters after the text of a findings-list entry: "$", the code (6),
// the judgement (2), CR LF.
constexpr int kFindingSuffix = 11;

void SimulatedEnter() {
  int key = 13;
  sprResult_KeyDown(key, 0);
}

// A simulated Enter, and a second one when the cursor stayed on `row`.
void EnterTwiceOnRow(std::int32_t row) {
  SimulatedEnter();
  if (ResultGrid().row == row) SimulatedEnter();
}

std::string MarkOrEmpty(std::int16_t code) {
  std::string mark;
  std::string letter;
  if (code == 0 || Fnc_JudgeCodeToMark(code, mark, letter) != 0) return "";
  return mark;
}

// One pick in a list cell of item `item`.
class Pick {
 public:
  Pick(std::int32_t col, std::int32_t row, std::int16_t item)
      : col_(col), row_(row), i_(item), k_(frmResultIn.ItemTable[item]),
        r_(frmResultIn.ResultMatrix(item, 0)), spr_(ResultGrid()) {}

  void Run() {
    const std::int32_t ac = spr_.active_col();
    const std::int32_t ar = spr_.active_row();
    std::string picked = spr_.TextAt(ac, ar);
    const int sel = spr_.ComboCurSelAt(ac, ar);
    const bool judgement_list = ac == basPublic.HanCol ||
                                (ac != basPublic.SokuteiCol && k_.Ksyub == kKsyubGroupJudgement);
    if (judgement_list) {
      if (sel == -1) return;
      picked = vb::Left(picked, 2);
      old_ = MarkOrEmpty(r_.Han);
    } else if (ac == basPublic.SokuteiCol) {
      old_ = std::to_string(r_.Sokutei);
      picked = std::to_string(sel + 1);
    } else if (k_.Ksyub == kKsyubFindings) {
      if (sel == -1) return;
      if (vb::Trim(picked) == vb::Trim(basPublic.SearchCombo)) {
        cmdSearch_Click();
        return;
      }
      old_ = r_.Syoken;
      if (Fnc_CheckFindingPickedFromList(ar) == kNotPickedFromList) {
        spr_.SetText(col_, row_, old_);
        return;
      }
      entry_ = picked;
      picked = vb::Left(picked, std::max(0, vb::Len(picked) - kFindingSuffix));
    }

    // An item not booked now takes no pick (its list cells are locked).
    if (k_.Past != kPastBookedNow) return PutBack();
    if (vb::Trim(picked) != vb::Trim(old_)) {
      if (r_.Hekbn == 1) {
        ShowLoadWarning("「" + k_.KomName + "」は" + kCrLfText + "チェックがついてるため変更できません。");
        return PutBack();
      }
      if (!entryRuleSteps.check_edit_permission(row_)) return PutBack();
      if (entryRuleSteps.check_overall_judged(i_) == -1) return PutBack();
    } else if (r_.Hekbn == 1) {
      return PutBack();
    }

    if (col_ == basPublic.HanCol) {
      Judgement(picked, ac, ar);
    } else if (col_ == basPublic.SokuteiCol) {
      MeasureClass(static_cast<std::int16_t>(sel + 1));
    } else if (col_ == basPublic.ResultCol && k_.Ksyub == kKsyubFindings) {
      Finding();
    } else if (col_ == basPublic.ResultCol && k_.Ksyub == kKsyubGroupJudgement) {
      SetResultCell(basPublic.ResultCol, row_, vb::Trim(picked));
      Judgement(picked, ac, ar);
    }
  }

 private:
  void PutBack() {
    if (col_ == basPublic.SokuteiCol) {
      spr_.SetComboCurSel(grid::Range::Cell(col_, row_), static_cast<int>(vb::Val(old_)) - 1);
    } else {
      spr_.SetText(col_, row_, StoredDisplayText(r_, old_));
    }
  }

  void Judgement(const std::string& picked, std::int32_t ac, std::int32_t ar) {
    const std::string mark = vb::Trim(picked);
    std::int16_t code = 0;
    std::string letter;
    if (Fnc_MarkToJudgeCode(mark, code, letter) != 0) {
      // A list entry whose mark the settings do not know: the old mark
      // goes back and the stored judgement stays.
      ShowLoadWarning("判定値が間違っています。" + kCrLfText + "「" + mark + "」");
      spr_.SetText(ac, ar, old_);
      return;
    }
    SetResultCell(basPublic.HanCol, row_, mark);
    r_.Han = code;
    if (code == 0) letter = frmResultIn.DefaultColorLetter;
    Sub_SetCellForeColor(basPublic.ResultCol, row_, letter);
    Sub_SetCellForeColor(basPublic.HanCol, row_, letter);
    StampEntry(i_, row_);
    if (code != 0) {
      r_.Sokutei = kSokuteiNone;
      spr_.SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row_), -1);
    }
    ShowJumpLineOf(i_);
    if (k_.Jhkbn == 1 || Fnc_IsGroupItem(i_)) Sub_JudgeGroup(i_, kJudgeModeEntry, kJudgeForceNo);
    Sub_SetJudgementFinding(i_);
    Sub_AutoSetSummaryFindings(i_);
    SimulatedEnter();
  }

  void MeasureClass(std::int16_t cls) {
    r_.Sokutei = cls;
    StampEntry(i_, row_);
    const std::string shown = MeasureClassMark(cls, r_.Knsach);
    if (!shown.empty()) SetResultCell(basPublic.ResultCol, row_, shown);
    ShowJumpLineOf(i_);
    Sub_JudgeGroup(i_, kJudgeModeEntry, kJudgeForceNo);
    entryRuleSteps.update_dependent_group_members(i_);
    EnterTwiceOnRow(row_);
  }

  void Finding() {
    const int len = vb::Len(entry_);
    const std::string text = vb::Left(entry_, std::max(0, len - kFindingSuffix));
    const std::int16_t judgement = static_cast<std::int16_t>(vb::Val(vb::Mid(entry_, std::max(1, len - 3), 2)));
    SetResultCell(basPublic.ResultCol, row_, vb::Trim(text));
    SetResultCell(basPublic.SyoCodeCol, row_, "");
    std::string mark;
    std::string letter = frmResultIn.DefaultColorLetter;
    if (judgement != 0 && Fnc_JudgeCodeToMark(judgement, mark, letter) != 0) {
      ShowJudgeConversionWarning(judgement, k_.KomName);
      mark.clear();
      letter.clear();
    }
    SetResultCell(basPublic.HanCol, row_, vb::Trim(mark));
    r_.Syoken = text;
    r_.Han = judgement;
    if (!vb::Trim(text).empty()) {
      r_.Sokutei = kSokuteiNone;
      SetResultCell(basPublic.SokuteiCol, row_, "");
    }
    Sub_SetCellForeColor(basPublic.ResultCol, row_, letter);
    Sub_SetCellForeColor(basPublic.HanCol, row_, letter);
    StampEntry(i_, row_);
    Sub_JudgeGroup(i_, kJudgeModeEntry, kJudgeForceNo);
    Sub_SetJudgementFinding(i_);
    Sub_AutoSetSummaryFindings(i_);
    EnterTwiceOnRow(row_);
  }

  std::int32_t col_;
  std::int32_t row_;
  std::int16_t i_;
  const KomInfo& k_;
  KekkaData& r_;
  grid::Spread& spr_;
  std::string old_;
  std::string entry_;
};

void Change(std::int32_t col, std::int32_t row) {
  grid::Spread& spr = ResultGrid();
  spr.block_mode = false;
  spr.col = col;
  spr.row = row;
  if (spr.FormatAt(col, row).type != grid::CellType::kComboBox) return;
  const std::int16_t item = ItemOnRow(row);
  if (item <= 0) return;
  if (Fnc_SearchHoldsRow(row)) {
    // Text typed into the list (no entry picked) is refused by Enter or by
    // leaving the cell, which keep the cursor there; a pick here.
    if (col != basPublic.SokuteiCol && spr.ComboCurSelAt(col, row) == -1) return;
    Fnc_SearchedRowRefuses(row);
    RestoreCellEntry(col, row);
    return;
  }
  Pick(col, row, item).Run();
}

void Click(std::int32_t col, std::int32_t row) {
  if (row == basPublic.HeaderRow) {
    if (col >= basPublic.PastCol || col == basPublic.ResultCol) Sub_FitResultColumn(col, true);
    return;
  }
  if (row == basPublic.CourseRow || row == basPublic.JdateRow || col != basPublic.ChkCol) return;
  const std::int16_t item = ItemOnRow(row);
  if (item <= 0 || frmResultIn.ItemTable[item].Past != kPastBookedNow) return;
  if (!entryRuleSteps.check_edit_permission(row)) return;
  if (entryRuleSteps.check_overall_judged(item) == -1) return;
  grid::Spread& spr = ResultGrid();
  spr.block_mode = false;
  spr.col = col;
  spr.row = row;
  if (WarnSearchOpenOn(row)) return;
  KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  if (spr.TextAt(col, row) != basPublic.ChkStr) {
    if (!Fnc_MayCheck(item, row, CheckRefusal::kTell)) return;
    SetResultCell(col, row, basPublic.ChkStr);
    r.Hekbn = 1;
    entryRuleSteps.update_dependent_group_from_member(item);
  } else {
    SetResultCell(col, row, "");
    r.Hekbn = 0;
  }
  StampEntry(item, row);
  Sub_DoneCheckChanged(item);
}

void DblClick(std::int32_t row) {
  if (row < basPublic.DataRow) return;
  const std::int16_t item = ItemOnRow(row);
  if (item > 0 && frmResultIn.ResultMatrix(item, 0).Hekbn == 1) ResultGrid().SetEditMode(false);
}

}  // namespace

void sprResult_Change(std::int32_t col, std::int32_t row) {
  RunGridProcedure("結果スプレッドの変更処理でエラーが発生しました。", [&] { Change(col, row); });
}

void sprResult_Click(std::int32_t col, std::int32_t row) {
  RunGridProcedure("結果スプレッドのクリック処理でエラーが発生しました。", [&] { Click(col, row); });
}

void sprResult_DblClick(std::int32_t /*col*/, std::int32_t row) {
  RunGridProcedure("結果スプレッドのダブルクリック処理でエラーが発生しました。", [&] { DblClick(row); });
}

}  // namespace qz
