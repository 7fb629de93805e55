#include "tools/copy_previous_results.h"

#include <exception>

#include "data/bas_rank_change.h"
#include "data/value_digits.h"
#include "examinee/bas_public.h"
#include "grid/cursor_destination.h"
#include "grid/entry_writes.h"
#include "grid/grid_edit_events.h"
#include "grid/item_row_map.h"
#include "judgement/group_judgement.h"
#include "judgement/judgement_finding.h"
#include "judgement/summary_auto_set.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/clock/clock.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"
#include "tools/frm_copy.h"
#include "tools/pad_left.h"

namespace qz {

namespace {

constexpr std::string_view kJobText = "前回結果コピー処理でエラーが発生しました。";
constexpr std::string_view kTitle = "結果入力";
constexpr int kValueWidth = 10;
constexpr int kCurrent = 0;
constexpr int kPrevious = 1;

bool IsNumericKind(std::int16_t kind) { return kind == kKsyubNumeric || kind == kKsyubCalculated; }

// The mark of judgement `code`; "" for 0 or a code without a mark.
std::string MarkOf(std::int16_t code) {
  std::string mark, letter;
  if (code == 0 || Fnc_JudgeCodeToMark(code, mark, letter) != 0) return {};
  return mark;
}

bool CurrentIsEmpty(const KomInfo& item, const KekkaData& cur) {
  switch (item.Ksyub) {
    case kKsyubFindings:
      return vb::Trim(cur.Syoken).empty();
    case kKsyubGroupJudgement:
      return cur.Han == 0;
    default:
      return vb::Trim(cur.Knsach).empty();
  }
}

// The list text of the previous result of item `i`, or "" when it has none
// to offer.
std::string OfferedText(const KomInfo& item, const KekkaData& prev) {
  switch (item.Ksyub) {
    case kKsyubFindings:
      return vb::Trim(prev.Syoken);
    case kKsyubGroupJudgement:
      return MarkOf(prev.Han);
    case kKsyubNumeric:
    case kKsyubCalculated: {
      const std::string value = vb::Trim(prev.Knsach);
      if (value.empty()) return {};
      std::string edited;
      std::int16_t error = 1;
      Sub_EditValueByDigits(value, item.Stype, item.Yuko, edited, error);
      return error == 0 ? Fnc_PadLeft(edited, kValueWidth) : std::string();
    }
    default:
      return {};
  }
}

bool IsCandidate(const KomInfo& item, const KekkaData& cur) {
  return item.Copy != 0 && item.Past == kPastBookedNow && item.Editable && cur.Hekbn != 1 &&
         cur.Sokutei == kSokuteiNone && CurrentIsEmpty(item, cur);
}

// Fills frmCopy's list; returns the number of rows.
int FillList(grid::Spread& list) {
  list.SetMaxRows(0);
  list.SetColWidth(kCopyIndexCol, 0);
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const KomInfo& item = frmResultIn.ItemTable[i];
    if (!IsCandidate(item, frmResultIn.ResultMatrix(i, kCurrent))) continue;
    const std::string text = OfferedText(item, frmResultIn.ResultMatrix(i, kPrevious));
    if (text.empty()) continue;
    const int row = list.max_rows() + 1;
    list.SetMaxRows(row);
    const bool hidden = IsNumericKind(item.Ksyub) && Fnc_FindItemRow(static_cast<std::int16_t>(i)) == 0;
    list.SetText(kCopyCheckCol, row, item.Copy == 1 && !hidden ? "1" : "0");
    list.SetText(kCopyNameCol, row, item.KomName);
    list.SetText(kCopyValueCol, row, hidden ? "(画面に表示されていません)" : text);
    list.SetText(kCopyIndexCol, row, std::to_string(i));
    if (hidden) list.SetLock(grid::Range::Cell(kCopyCheckCol, row), true);
  }
  return list.max_rows();
}

// The result grid of the screen; throws when the form has none.
grid::Spread& ResultGrid() {
  if (frmResultIn.sprResult == nullptr) throw RunTimeError(kErrObjectRequired);
  return *frmResultIn.sprResult;
}

// Makes (col, row) the active cell of the result grid, puts `text` into it
// and passes the grid's key handler an Enter, as the operator would type the
// value: nothing is stored beforehand, so the Enter processing sees the
// change and validates, judges, carries on and stamps it.
void TypeAndEnter(int col, int row, const std::string& text) {
  grid::Spread& spr = ResultGrid();
  spr.col = col;
  spr.row = row;
  spr.SetAction(grid::kActionActiveCell);
  spr.SetComboCurSel(grid::Range::Cell(col, row), -1);  // typed, not picked
  spr.SetText(col, row, text);
  if (spr.on_key_down) {
    int key = grid::kKeyReturn;
    spr.on_key_down(key, 0);
  }
}

// The stamp of a changed current result that no grid Enter stamps.
void Stamp(KekkaData& cur) {
  const LocalDateTime now = Now();
  cur.User = basPublic.LogonUserId;
  cur.Ymd = now.year * 10000 + now.month * 100 + now.day;
  cur.Hms = now.hour * 10000 + now.minute * 100 + now.second;
  cur.Sokutei = kSokuteiNone;
}

// Whether a copied value of item `i` is followed by its group and the
// overall judgement: an item judged automatically and a group item, as
// typed; a finding whatever its class, as the same finding picked from its
// list.
bool GroupFollowsCopy(int i) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  return item.Jhkbn == 1 || item.Ksyub == kKsyubFindings || Fnc_IsGroupItem(static_cast<std::int16_t>(i));
}

// What the Enter processing does after a value went in, for an item
// without a grid line: its judgement finding, the summary findings and
// the group and overall judgements (GroupFollowsCopy); then the stamp.
void FollowOffScreen(int i) {
  const auto item = static_cast<std::int16_t>(i);
  Sub_SetJudgementFinding(item);
  Sub_AutoSetSummaryFindings(item);
  if (GroupFollowsCopy(i)) Sub_JudgeGroup(item, kJudgeModeEntry, kJudgeForceNo);
  Stamp(frmResultIn.ResultMatrix(i, kCurrent));
}

// The earlier finding of findings item `i` on grid row `row`: its text is
// stored and shown as it was (no list check, no option row: it is no typed
// text), and only its judgement is entered, as typed into the judgement
// cell, so that the judgement finding, the summary findings, the group
// judgement and the stamp follow. A finding without a judgement mark is
// followed as the Enter processing would follow it. A refused judgement
// takes the text back: nothing of the copy stays.
void CopyFindingOnScreen(int i, int row, const KekkaData& prev) {
  KekkaData& cur = frmResultIn.ResultMatrix(i, kCurrent);
  const std::string before = cur.Syoken;
  grid::Spread& spr = ResultGrid();
  spr.SetText(basPublic.ResultCol, row, prev.Syoken);
  cur.Syoken = vb::RTrim(prev.Syoken);
  const std::string mark = vb::Trim(MarkOf(prev.Han));
  if (mark.empty()) {
    FollowOffScreen(i);
    StampEntry(static_cast<std::int16_t>(i), row);
    return;
  }
  TypeAndEnter(basPublic.HanCol, row, mark);
  if (cur.Han == prev.Han) {
    spr.SetText(basPublic.HanCol, row, mark);
    // The judgement typed is followed by the group only for an item judged
    // automatically; a finding copied is followed as one picked is.
    if (frmResultIn.ItemTable[i].Jhkbn != 1) {
      Sub_JudgeGroup(static_cast<std::int16_t>(i), kJudgeModeEntry, kJudgeForceNo);
    }
    return;
  }
  cur.Syoken = before;
  spr.SetText(basPublic.ResultCol, row, before);
}

void CopyItem(int i) {
  const KomInfo& item = frmResultIn.ItemTable[i];
  const KekkaData prev = frmResultIn.ResultMatrix(i, kPrevious);
  const std::int16_t line = Fnc_FindItemRow(static_cast<std::int16_t>(i));
  const bool shown = line != 0;
  const int row = shown ? Fnc_ItemToRow(line) : 0;
  KekkaData& cur = frmResultIn.ResultMatrix(i, kCurrent);
  switch (item.Ksyub) {
    case kKsyubFindings:
      if (shown) {
        CopyFindingOnScreen(i, row, prev);
      } else {
        cur.Syoken = vb::RTrim(prev.Syoken);
        cur.Han = prev.Han;
        FollowOffScreen(i);
      }
      break;
    case kKsyubGroupJudgement:
      if (shown) {
        TypeAndEnter(basPublic.ResultCol, row, MarkOf(prev.Han));
      } else {
        cur.Han = prev.Han;
        FollowOffScreen(i);
      }
      break;
    case kKsyubNumeric:
    case kKsyubCalculated:
      if (shown) {
        TypeAndEnter(basPublic.ResultCol, row, vb::Trim(prev.Knsach));
      } else {
        cur.Knsach = vb::RTrim(prev.Knsach);
        Stamp(cur);
      }
      break;
    default:
      return;
  }
  // The done mark only on a value that went in (a refused one left the
  // result empty).
  if (item.Ksyub != kKsyubGroupJudgement && basPublic.PastCopySumi == 1 && !CurrentIsEmpty(item, cur)) {
    cur.Hekbn = 1;
    if (shown) ResultGrid().SetText(basPublic.ChkCol, row, basPublic.ChkStr);
  }
}

// Brings the cursor back to the first input cell of the current input
// group of the group-jump list and marks that group there.
void ReturnToCurrentGroup() {
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  const int current = jump.row();
  if (current < 0 || current >= jump.rows()) return;
  const std::string line_text = jump.TextMatrix(current, 1);
  if (vb::IsNumeric(line_text)) {
    const std::int32_t row = Fnc_ItemToRow(vb::CInt(line_text));
    grid::Spread& spr = ResultGrid();
    std::int32_t dest_row = row;
    std::int32_t dest_col = basPublic.StartCol;
    Sub_GetCursorDestination(row, basPublic.StartCol - 1, kEnterKey, dest_row, dest_col);
    spr.col = dest_col;
    spr.row = dest_row;
    spr.SetAction(grid::kActionActiveCell);
  }
  for (int r = 0; r < jump.rows(); ++r) {
    jump.SetCellBackColorAt(r, 0, static_cast<ui::Color>(basPublic.ColorNgrpDefault));
  }
  jump.SetCellBackColorAt(current, 0, static_cast<ui::Color>(basPublic.ColorNgrpSelect));
}

void Inform(std::string_view text) { ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kInformation, kTitle); }

}  // namespace

void Sub_CopyPreviousResults(std::int16_t ask) {
  const bool asked = ask != 0;
  try {
    // A value still being typed goes in first: its item is no longer empty
    // and is not copied over. A refused one stops the copy.
    if (!Fnc_EnterEditedCell()) return;
    if (frmResultIn.HistoryCount() <= 0) {
      if (asked) Inform("過去歴がありません。");
      return;
    }
    if (FillList(frmCopy->sprList) == 0) {
      if (asked) Inform("コピー対象のマスタがありません。");
      return;
    }
    frmCopy->Show(true);
    const std::vector<std::int16_t> chosen = basPublic.CopySelection;
    for (std::size_t k = 1; k < chosen.size(); ++k) CopyItem(chosen[k]);
    ReturnToCurrentGroup();
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, kTitle);
  } catch (const std::exception& e) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, e.what(), ui::MsgIcon::kCritical, kTitle);
  }
}

}  // namespace qz
