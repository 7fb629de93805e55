// The key and leave-cell events of the result grid (grid_edit_events.h).
#include <string>

#include "data/imm_on_off.h"
#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/cursor_destination.h"
#include "grid/done_check.h"
#include "grid/entry_rules.h"
#include "grid/entry_writes.h"
#include "grid/grid_edit_events.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "judgement/overall_lock.h"
#include "judgement/result_update.h"
#include "grid/typed_entry.h"
#include "grid/searched_row.h"
#include "loading/group_forms.h"
#include "loading/jump_group_index.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"
#include "platform/ui/shell.h"

namespace qz {
namespace {

// Keys that never start editing.
bool NeverStartsEditing(int key) {
  switch (key) {
    case 9: case 16: case 17: case 18: case 19: case 20: case 27: case 33: case 34:
    case 37: case 38: case 39: case 40: case 42: case 45: case 144: case 145:
      return true;
    default:
      return key >= 112 && key <= 123;
  }
}

bool IsInputColumn(std::int32_t col) {
  return col == basPublic.SyoCodeCol || col == basPublic.ResultCol || col == basPublic.SokuteiCol ||
         col == basPublic.ChkCol || col == basPublic.HanCol;
}

ui::Form* GridForm() { return ResultGrid().form(); }

void ImeOn(bool alphanumeric) {
  if (ui::Form* f = GridForm()) Sub_ImmOnOff(*f, 1, alphanumeric);
}
void ImeOff() {
  if (ui::Form* f = GridForm()) Sub_ImmOnOff(*f, 0, false);
}

// Whether the current result of `item` holds a result for the auto-check
// after Enter in column `col`.
bool HasResult(std::int16_t item, std::int32_t col) {
  if (col == basPublic.SokuteiCol) return frmResultIn.ResultMatrix(item, 0).Sokutei != kSokuteiNone;
  return !ResultContentEmpty(item);
}

void AutoCheck(std::int16_t item, std::int32_t col, std::int32_t row) {
  if (item <= 0 || basPublic.AutoCheck == 0) return;
  // Only an item the operator could check by hand gets the check, under
  // the click's rules and with its follow-ups.
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (k.Past != kPastBookedNow || !k.Editable || OverallLockHolds(item)) return;
  KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  if (basPublic.AutoCheck != 2 && (r.Sokutei == kSokuteiNotPerformed || !HasResult(item, col))) return;
  if (r.Hekbn == 1 || !Fnc_MayCheck(item, row, CheckRefusal::kQuiet)) return;
  SetResultCell(basPublic.ChkCol, row, basPublic.ChkStr);
  r.Hekbn = 1;
  entryRuleSteps.update_dependent_group_from_member(item);
  Sub_DoneCheckChanged(item);
}

// Highlights the input group of `item` in the group-jump list.
void HighlightJumpGroup(std::int16_t item) {
  grid::ListGrid& list = frmGrpJmp->flxGroop;
  if (list.rows() == 0) return;
  std::int16_t g = Fnc_GetJumpGroupIndex(frmResultIn.ItemTable[item].NgrpIndex);
  if (g == -1) g = 0;
  if (list.CellBackColorAt(g, 0) == static_cast<ui::Color>(basPublic.ColorNgrpSelect)) return;
  for (int r = 0; r < list.rows(); ++r) {
    list.SetCellBackColorAt(r, 0, static_cast<ui::Color>(basPublic.ColorNgrpDefault));
  }
  list.SetRow(g);
  list.SetCellBackColorAt(g, 0, static_cast<ui::Color>(basPublic.ColorNgrpSelect));
}

// The input method of a judgement-coded item, by basPublic.HanIME: 0
// closed, 1 open for half-width, 2 open; any other value leaves it.
void ImeForJudgement() {
  if (basPublic.HanIME == 0) ImeOff();
  if (basPublic.HanIME == 1) ImeOn(true);
  if (basPublic.HanIME == 2) ImeOn(false);
}

// The input method for cell (col, row) of `item`, after Enter
// (`after_enter`) or when the cursor enters the cell. A findings item opens
// it on a list cell; after Enter also on any column but the findings code,
// which closes it (entering a cell leaves it then). A judgement-coded item
// follows basPublic.HanIME; the numeric kinds close it; an item of any
// other kind leaves it.
void ImeForCell(std::int16_t item, std::int32_t col, std::int32_t row, bool after_enter) {
  switch (frmResultIn.ItemTable[item].Ksyub) {
    case kKsyubFindings:
      if (ResultGrid().FormatAt(col, row).type == grid::CellType::kComboBox) {
        ImeOn(false);
      } else if (after_enter) {
        if (col != basPublic.SyoCodeCol) ImeOn(false);
        else ImeOff();
      }
      return;
    case kKsyubGroupJudgement:
      ImeForJudgement();
      return;
    case kKsyubNumeric:
    case kKsyubCalculated:
      ImeOff();
      return;
    default:
      return;
  }
}

void EnterStep(int& key_code) {
  grid::Spread& spr = ResultGrid();
  const std::int32_t ac = spr.active_col();
  const std::int32_t ar = spr.active_row();
  // A row the findings search holds is not processed: the cursor moves on
  // unless the cell holds a change, which is refused.
  const bool held = Fnc_SearchHoldsRow(ar);
  const std::int16_t status =
      held ? (Fnc_HeldCellRefuses(ac, ar) ? kEntryRefused : kEntryNothing) : Fnc_ProcessEnterKey(ac, ar);
  if (status == kEntryRefused) {
    key_code = 0;
    spr.col = ac;
    spr.row = ar;
  } else {
    const std::string active_text = vb::Trim(spr.TextAt(ac, ar));
    const std::string result_text = vb::Trim(spr.TextAt(basPublic.ResultCol, ar));
    if (!held) AutoCheck(ItemOnRow(ar), ac, ar);
    if (frmResultIn.CellKinds(ac, ar) != kCellPickOnly || ac == basPublic.SokuteiCol) {
      std::int32_t r = ar;
      std::int32_t c = ac;
      Sub_GetCursorDestination(ar, ac, kEnterKey, r, c);
      if (r != ar || c != ac) {
        if (ac == basPublic.SyoCodeCol && (!active_text.empty() || !result_text.empty())) {
          std::int32_t r2 = r;
          std::int32_t c2 = c;
          Sub_GetCursorDestination(r, c, kEnterKey, r2, c2);
          if (r2 != ar || c2 != ac) {
            r = r2;
            c = c2;
          }
        }
        MoveActiveTo(c, r);
      }
      const std::int16_t moved_to = ItemOnRow(spr.active_row());
      if (moved_to > 0) HighlightJumpGroup(moved_to);
    }
    const std::int16_t item = ItemOnRow(spr.active_row());
    if (item > 0) ImeForCell(item, spr.active_col(), spr.active_row(), true);
    key_code = 0;
  }
  spr.SetEditMode(false);
  frmResultIn.EnterBusy = false;
}

void DeleteStep(int& key_code) {
  grid::Spread& spr = ResultGrid();
  const std::int32_t ac = spr.active_col();
  const std::int32_t ar = spr.active_row();
  const std::int16_t item = ItemOnRow(ar);
  if (item <= 0) return;
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (k.Past != kPastBookedNow || (ac == basPublic.HanCol && k.Ksyub == kKsyubGroupJudgement)) return;
  if (WarnSearchOpenOn(ar)) return;
  // The done-check is cleared under the same rules as by a click.
  if (ac == basPublic.ChkCol &&
      (!entryRuleSteps.check_edit_permission(ar) || entryRuleSteps.check_overall_judged(item) == -1)) {
    key_code = 0;
    return;
  }
  if (ac == basPublic.SokuteiCol) {
    spr.SetComboCurSel(grid::Range::Cell(ac, ar), -1);
  }
  spr.SetText(ac, ar, "");
  KekkaData& cur = frmResultIn.ResultMatrix(item, 0);
  if (ac == basPublic.ChkCol) {
    cur.Hekbn = 0;
    StampEntry(item, ar);
    return;
  }
  if (Fnc_ProcessEnterKey(ac, ar) == kEntryRefused) {
    key_code = 0;
    return;
  }
  const std::int16_t d = k.SougouDest;
  // A confirmed summary finding stays, as the automatic set leaves it.
  if (d >= 1 && frmResultIn.ResultMatrix(d, 0).Hekbn == 0) {
    KekkaData& dest = frmResultIn.ResultMatrix(d, 0);
    dest.Syoken.clear();
    dest.Han = 0;
    // Stamped in the result matrix as on the screen.
    const std::int32_t drow = ScreenRowOf(d);
    StampEntry(d, drow);
    if (drow != 0) {
      SetResultCell(basPublic.ResultCol, drow, "");
      SetResultCell(basPublic.HanCol, drow, "");
    }
  }
  if (ac == basPublic.SokuteiCol) {
    std::string plain;
    switch (k.Ksyub) {
      case kKsyubFindings: plain = cur.Syoken; break;
      case kKsyubGroupJudgement: {
        std::string letter;
        if (!JudgementMarkOf(cur.Han, plain, letter)) {
          ShowJudgeConversionWarning(cur.Han, k.KomName);
          plain.clear();
        }
        break;
      }
      default: plain = cur.Knsach; break;
    }
    SetResultCell(basPublic.ResultCol, ar, plain);
    entryRuleSteps.update_dependent_group_members(item);
  }
}

void KeyDown(int& key_code, int shift) {
  frmResultIn.EnterBusy = false;
  grid::Spread& spr = ResultGrid();
  if (key_code == ui::kKeyDown && shift == ui::kAltMask) return;
  if ((key_code == ui::kKeyDelete || key_code == ui::kKeyLeft || key_code == ui::kKeyRight) && spr.edit_mode()) return;
  const std::int32_t ac = spr.active_col();
  if (!IsInputColumn(ac) || spr.active_row() < basPublic.DataRow) return;
  switch (key_code) {
    case ui::kKeyReturn:
      EnterStep(key_code);
      return;
    case ui::kKeySpace:
      if (ac == basPublic.ChkCol) sprResult_Click(ac, spr.active_row());
      return;
    case ui::kKeyDelete:
      DeleteStep(key_code);
      return;
    default:
      if (NeverStartsEditing(key_code)) return;
      if (!spr.edit_mode() && GridForm() != nullptr && Fnc_ImmGetOpen(*GridForm()) != 0) spr.SetEditMode(true);
      return;
  }
}

// Processes the value left in (col, row). False when it was refused: the
// cell shows its stored value again (the refusal may not have put it back)
// and keeps the cursor.
bool TakeLeftEntry(grid::Spread& spr, std::int32_t col, std::int32_t row) {
  if (Fnc_ProcessEnterKey(col, row) == kEntryRefused) {
    RestoreCellEntry(spr.active_col(), spr.active_row());
    return false;
  }
  if (auto* form = dynamic_cast<FrmResultIn*>(spr.form())) form->lblStatus.caption.clear();
  frmResultIn.EnterBusy = false;
  return true;
}

void LeaveCell(std::int32_t col, std::int32_t row, std::int32_t new_col, std::int32_t new_row, bool& cancel) {
  if (frmResultIn.Loading || frmResultIn.ReturnToSearch) return;
  grid::Spread& spr = ResultGrid();
  if (new_row < basPublic.DataRow) {
    cancel = true;
    if (new_row != -1) {
      MoveActiveTo(new_col, basPublic.StartRow);
    }
  }
  if (Fnc_SearchHoldsRow(row)) {
    // The row shows the search's text, not a value typed: nothing is
    // processed. The cursor and the focus (to the dialog, say) go; a change
    // the cell holds is refused, and the cursor then stays.
    if (Fnc_HeldCellRefuses(col, row)) {
      cancel = true;
      return;
    }
  } else if (!frmResultIn.EnterBusy && !TakeLeftEntry(spr, col, row)) {
    cancel = true;
    return;
  }
  const std::int16_t entered = ItemOnRow(new_row);
  if (entered > 0) ImeForCell(entered, new_col, new_row, false);
}

}  // namespace

void sprResult_KeyDown(int& key_code, int shift) {
  RunGridProcedure("結果スプレッドのキーボード処理でエラーが発生しました。", [&] { KeyDown(key_code, shift); });
}

void sprResult_LeaveCell(std::int32_t col, std::int32_t row, std::int32_t new_col, std::int32_t new_row,
                         bool& cancel) {
  RunGridProcedure("セルの移動処理でエラーが発生しました。", [&] { LeaveCell(col, row, new_col, new_row, cancel); });
}

bool Fnc_EnterEditedCell() {
  grid::Spread& spr = ResultGrid();
  if (!spr.edit_mode()) return true;
  const std::int32_t col = spr.active_col(), row = spr.active_row();
  spr.SetEditMode(false);
  if (frmResultIn.Loading || frmResultIn.ReturnToSearch || frmResultIn.EnterBusy) return true;
  if (Fnc_SearchHoldsRow(row)) return !Fnc_HeldCellRefuses(col, row);
  return TakeLeftEntry(spr, col, row);
}

void BindResultGridEvents(grid::Spread& spr) {
  spr.on_key_down = [](int& key_code, int shift) { sprResult_KeyDown(key_code, shift); };
  // A character typed into the grid is input since the last Enter
  // processing, as a key is; the input method commits characters without
  // key events.
  spr.on_key_press = [](int& ascii) {
    if (ascii >= ' ') frmResultIn.EnterBusy = false;
  };
  spr.on_leave_cell = [](int col, int row, int new_col, int new_row, bool& cancel) {
    sprResult_LeaveCell(col, row, new_col, new_row, cancel);
  };
  spr.on_change = [](int col, int row) { sprResult_Change(col, row); };
  spr.on_click = [](int col, int row) { sprResult_Click(col, row); };
  spr.on_dbl_click = [](int col, int row) { sprResult_DblClick(col, row); };
}

}  // namespace qz
