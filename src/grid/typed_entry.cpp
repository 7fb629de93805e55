#include "grid/typed_entry.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "data/bas_rank_change.h"
#include "data/result_number.h"
#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "grid/entry_rules.h"
#include "grid/entry_writes.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "judgement/auto_judge.h"
#include "judgement/calc_items.h"
#include "judgement/finding_lookup.h"
#include "judgement/group_judgement.h"
#include "judgement/judgement_finding.h"
#include "judgement/result_update.h"
#include "judgement/summary_auto_set.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

const std::string kCrLfText(kCrLf);

std::string MarkOf(std::int16_t code) {
  std::string mark;
  std::string letter;
  if (code == 0 || Fnc_JudgeCodeToMark(code, mark, letter) != 0) return "";
  return mark;
}

std::int16_t GetEntry(std::int32_t col, std::int32_t row, std::string& typed, std::string& stored) {
  grid::Spread& spr = ResultGrid();
  spr.block_mode = false;
  spr.col = col;
  spr.row = row;
  const std::int16_t item = ItemOnRow(row);
  if (item <= 0) return kEntryNothing;
  const KomInfo& k = frmResultIn.ItemTable[item];
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  if (col == basPublic.SokuteiCol) {
    stored = std::to_string(r.Sokutei);
    typed = std::to_string(spr.ComboCurSelAt(col, row) + 1);
    return kEntryProcessed;
  }
  if (spr.FormatAt(col, row).type == grid::CellType::kComboBox && spr.ComboCurSelAt(col, row) != -1) {
    return kEntryNothing;
  }
  if (col == basPublic.HanCol) {
    stored = MarkOf(r.Han);
  } else if (k.Ksyub == kKsyubFindings && col == basPublic.SyoCodeCol) {
    stored = r.Knsach;
  } else if (k.Ksyub == kKsyubFindings && col == basPublic.ResultCol) {
    stored = r.Syoken;
  } else if (k.Ksyub == kKsyubGroupJudgement && col == basPublic.ResultCol) {
    stored = MarkOf(r.Han);
  } else if ((k.Ksyub == kKsyubNumeric || k.Ksyub == kKsyubCalculated) && col == basPublic.ResultCol) {
    stored = r.Knsach;
  } else {
    return kEntryNothing;
  }
  if (col == basPublic.ResultCol) stored = StoredDisplayText(r, stored);
  typed = spr.TextAt(col, row);
  return kEntryProcessed;
}

void PutBack(std::int32_t col, std::int32_t row, const std::string& stored) {
  grid::Spread& spr = ResultGrid();
  if (col == basPublic.SokuteiCol) {
    spr.SetComboCurSel(grid::Range{col, row, col, row}, static_cast<int>(vb::Val(stored)) - 1);
  } else {
    spr.SetText(col, row, stored);
  }
}

// One Enter processing of the cell (col, row) of item i.
class Entry {
 public:
  // `any_class`: findings codes are looked up whatever the item's
  // automatic-judgement class.
  Entry(std::int32_t col, std::int32_t row, std::int16_t item, bool any_class)
      : col_(col), row_(row), i_(item), any_class_(any_class), k_(frmResultIn.ItemTable[item]),
        r_(frmResultIn.ResultMatrix(item, 0)) {}

  std::int16_t Run(const std::string& typed, const std::string& stored) {
    stored_ = stored;
    // An item not booked now takes nothing (its cells are locked).
    if (k_.Past != kPastBookedNow) {
      PutBack(col_, row_, stored_);
      return kEntryNothing;
    }
    if (r_.Hekbn == 1) {
      ShowLoadWarning("「" + k_.KomName + "」は" + kCrLfText + "チェックがついているため変更できません。");
      return Refuse();
    }
    if (!entryRuleSteps.check_edit_permission(row_)) return Refuse();
    // Under the overall lock the stored value goes back and the cursor
    // stays, as for any other refusal.
    if (entryRuleSteps.check_overall_judged(i_) == -1) return Refuse();

    std::int16_t status = kEntryProcessed;
    if (col_ == basPublic.HanCol) {
      status = Judgement(typed);
    } else if (col_ == basPublic.SokuteiCol) {
      r_.Sokutei = static_cast<std::int16_t>(vb::Val(typed));
      ShowJumpLineOf(i_);
    } else if (k_.Ksyub == kKsyubFindings && col_ == basPublic.SyoCodeCol) {
      if (k_.Jhkbn == 1 || any_class_) status = FindingCodes(typed);
    } else if (k_.Ksyub == kKsyubFindings) {
      status = FindingText(typed);
    } else if (k_.Ksyub == kKsyubGroupJudgement) {
      status = Judgement(typed);
    } else {
      status = Numeric(typed);
    }
    if (status != kEntryProcessed) return status;

    Sub_SetJudgementFinding(i_);
    Sub_AutoSetSummaryFindings(i_);
    if (k_.Jhkbn == 1 || Fnc_IsGroupItem(i_)) Sub_JudgeGroup(i_, kJudgeModeEntry, kJudgeForceNo);
    StampEntry(i_, row_);
    return unjudged_ ? kEntryRefused : kEntryProcessed;
  }

 private:
  std::int16_t Refuse() {
    PutBack(col_, row_, stored_);
    return kEntryRefused;
  }

  void SetCell(std::int32_t col, std::string_view text) { SetResultCell(col, row_, text); }

  void ClearMeasureClass() {
    r_.Sokutei = kSokuteiNone;
    SetCell(basPublic.SokuteiCol, "");
  }

  // Findings codes typed into the findings-code cell.
  std::int16_t FindingCodes(const std::string& typed) {
    const std::string codes = vb::Trim(typed);
    if (codes.empty()) {
      r_.Syoken.clear();
      r_.Han = 0;
      SetCell(basPublic.ResultCol, "");
      SetCell(basPublic.HanCol, "");
      Sub_SetCellForeColor(basPublic.ResultCol, row_, frmResultIn.DefaultColorLetter);
      Sub_SetCellForeColor(basPublic.HanCol, row_, frmResultIn.DefaultColorLetter);
      return kEntryProcessed;
    }
    std::string joined;
    std::int16_t highest = 0;
    const std::string sep = basPublic.DivRcode.empty() ? std::string(" ") : basPublic.DivRcode;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
      const std::size_t at = codes.find(sep, start);
      const std::string piece = codes.substr(start, at == std::string::npos ? std::string::npos : at - start);
      std::int32_t number = 0;
      std::string finding;
      std::int16_t judgement = 0;
      if (!Fnc_LookupFindingCode(k_.Skomcd, piece, number, finding, judgement)) return kEntryRefused;
      if (!first) joined += basPublic.DivSykn;
      joined += finding;
      highest = std::max(highest, judgement);
      if (at == std::string::npos) break;
      start = at + sep.size();
    }
    SetCell(basPublic.SyoCodeCol, "");
    SetCell(basPublic.ResultCol, joined);
    r_.Syoken = joined;
    r_.Han = highest;
    ClearMeasureClass();
    entryRuleSteps.call_option_button(i_, joined);
    ShowJudgementCells(i_, row_, highest);
    return kEntryProcessed;
  }

  // A findings text typed into the result cell.
  std::int16_t FindingText(const std::string& typed) {
    std::string text = typed;
    if (vb::Trim(text) == vb::Trim(basPublic.SearchCombo)) return kEntryNothing;
    if (Fnc_CheckFindingPickedFromList(row_) == kNotPickedFromList) {
      PutBack(col_, row_, stored_);
      return kEntryNothing;
    }
    const std::size_t cut = text.rfind(" $");
    if (cut != std::string::npos) {
      text = text.substr(0, cut);
      SetCell(basPublic.ResultCol, text);
    }
    r_.Syoken = vb::Trim(text);
    if (r_.Syoken.empty()) {
      r_.Han = 0;
      SetCell(basPublic.HanCol, "");
    }
    if (r_.Syoken != "所見検索中です" && r_.Syoken != "(測定不能)" && r_.Syoken != "(未実施)") {
      ClearMeasureClass();
    }
    entryRuleSteps.call_option_button(i_, text);
    return kEntryProcessed;
  }

  // A judgement mark: the judgement column of any item, or the result
  // column of a judgement-coded item.
  std::int16_t Judgement(const std::string& typed) {
    const std::string mark = vb::Trim(typed);
    std::int16_t code = 0;
    std::string letter = frmResultIn.DefaultColorLetter;
    if (!mark.empty() && Fnc_MarkToJudgeCode(mark, code, letter) != 0) {
      ShowLoadWarning("判定値が間違っています。" + kCrLfText + "「" + mark + "」");
      return Refuse();
    }
    if (code == 0) letter = frmResultIn.DefaultColorLetter;
    r_.Han = code;
    if (code != 0) {
      ClearMeasureClass();
      SetCell(col_, mark);
    }
    SetCell(basPublic.HanCol, mark);
    Sub_SetCellForeColor(basPublic.ResultCol, row_, letter);
    Sub_SetCellForeColor(basPublic.HanCol, row_, letter);
    ShowJumpLineOf(i_);
    return kEntryProcessed;
  }

  // A number typed into the result cell of a numeric or calculated item.
  std::int16_t Numeric(const std::string& typed) {
    const std::string narrow = vb::Trim(text::ToNarrow(typed));
    if (!narrow.empty()) {
      std::string edited;
      std::int16_t error = 0;
      // The judgement area takes the typed text whole: a longer one is
      // refused before anything is stored, never judged cut.
      if (vb::Len(narrow) > kJudgedValueLength) {
        error = 1;
      } else {
        Sub_EditValueByDigits(narrow, k_.Stype, k_.Yuko, edited, error);
      }
      if (error != 0) {
        const std::string spec = vb::Left(k_.Stype + "  ", 2);
        ShowLoadWarning("入力値エラー" + kCrLfText + "「" + narrow + "」" + kCrLfText + kCrLfText + "整数部" +
                        vb::Format(vb::Left(spec, 1), "00") + "桁" + kCrLfText + "小数部" +
                        vb::Format(vb::Mid(spec, 2, 1), "00") + "桁" + "　で入力して下さい。");
        return Refuse();
      }
      if (!IsResultNumber(narrow)) {
        ShowLoadWarning("入力値エラー" + kCrLfText + "「" + narrow + "」は数値ではありません。");
        return Refuse();
      }
      SetCell(basPublic.ResultCol, edited + " ");
      r_.Knsach = vb::Trim(edited) + " ";
      ClearMeasureClass();
    } else {
      r_.Knsach.clear();
    }
    if (k_.Jhkbn == 1) {
      std::int16_t code = 0;
      std::string mark;
      std::string letter = frmResultIn.DefaultColorLetter;
      std::string finding;
      if (!narrow.empty() &&
          !Fnc_AutoJudgeItem(k_.KomCode, narrow, k_.Skomcd, code, mark, letter, finding)) {
        ShowLoadWarning("自動判定できません。" + kCrLfText + "項目名 : " + k_.KomName + kCrLfText +
                        "結果値 : " + narrow);
        // The measurement is kept without a grade: no judgement and no
        // judgement finding, never the grade of the value before it. The
        // cursor stays in the cell.
        unjudged_ = true;
        code = 0;
        mark.clear();
        letter = frmResultIn.DefaultColorLetter;
        finding.clear();
      }
      r_.Han = code;
      r_.Syoken = finding;
      SetCell(basPublic.HanCol, vb::Trim(mark));
      SetCell(basPublic.HanSyoCol, finding);
      Sub_SetCellForeColor(basPublic.ResultCol, row_, letter);
      Sub_SetCellForeColor(basPublic.HanCol, row_, letter);
      Sub_SetCellForeColor(basPublic.HanSyoCol, row_, letter);
    }
    Sub_CheckCalcItems(i_);
    return kEntryProcessed;
  }

  std::int32_t col_;
  std::int32_t row_;
  std::int16_t i_;
  bool any_class_;
  const KomInfo& k_;
  KekkaData& r_;
  std::string stored_;
  // A numeric value stored that the automatic judgement could not judge.
  bool unjudged_ = false;
};

}  // namespace

std::int16_t Fnc_GetCellEntry(std::int32_t col, std::int32_t row, std::string& typed, std::string& stored) {
  std::int16_t status = kEntryRefused;
  RunGridProcedure("結果値の取得処理でエラーが発生しました。",
                   [&] { status = GetEntry(col, row, typed, stored); });
  return status;
}

namespace {

std::int16_t ProcessEntry(std::int32_t col, std::int32_t row, bool any_class) {
  frmResultIn.EnterBusy = true;
  std::int16_t status = kEntryRefused;
  RunGridProcedure("Enterキー処理でエラーが発生しました。", [&] {
    const std::int16_t item = ItemOnRow(row);
    if (item <= 0) {
      status = kEntryNothing;
      return;
    }
    std::string typed;
    std::string stored;
    status = Fnc_GetCellEntry(col, row, typed, stored);
    if (status != kEntryProcessed) return;
    if (vb::Trim(typed) == vb::Trim(stored)) {
      status = kEntryNothing;
      return;
    }
    status = kEntryRefused;
    status = Entry(col, row, item, any_class).Run(typed, stored);
  });
  return status;
}

}  // namespace

std::int16_t Fnc_ProcessEnterKey(std::int32_t col, std::int32_t row) { return ProcessEntry(col, row, false); }

std::int16_t Fnc_ProcessFindingCodeEntry(std::int32_t row) {
  const std::int16_t item = ItemOnRow(row);
  if (item <= 0 || frmResultIn.ItemTable[item].Ksyub != kKsyubFindings) return kEntryNothing;
  const bool busy = frmResultIn.EnterBusy;
  const std::int16_t status = ProcessEntry(basPublic.SyoCodeCol, row, true);
  frmResultIn.EnterBusy = busy;
  // The group judgement follows the finding whatever the class, as it
  // follows the same finding picked from the list.
  if (status == kEntryProcessed && frmResultIn.ItemTable[item].Jhkbn != 1) {
    Sub_JudgeGroup(item, kJudgeModeEntry, kJudgeForceNo);
  }
  return status;
}

void RestoreCellEntry(std::int32_t col, std::int32_t row) {
  std::string typed;
  std::string stored;
  if (Fnc_GetCellEntry(col, row, typed, stored) == kEntryProcessed) PutBack(col, row, stored);
}

}  // namespace qz
