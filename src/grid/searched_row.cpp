#include "grid/searched_row.h"

#include <string>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/grid_procedure.h"
#include "grid/typed_entry.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/result_update.h"
#include "judgement/syo_search_handoff.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {
namespace {

void WarnSearchHolds() {
  ShowLoadWarning("この項目の所見検索画面が開かれています。");
  if (frmSyoComb.loaded()) frmSyoComb->ZOrder(0);
}

// The row of the summary-findings item a judgement item's search writes
// to; 0 for a findings item's search (its own row) or a target not shown.
std::int32_t TargetRow() {
  const std::int16_t item = frmResultIn.SyoSearchItem;
  if (item < 1 || item > frmResultIn.ItemCount()) return 0;
  const std::int16_t target = Fnc_SearchTargetItem(item);
  return target > 0 && target != item ? ScreenRowOf(target) : 0;
}

}  // namespace

bool Fnc_FindingsSearchPending() {
  if (basPublic.SyoSearchOpen) return true;
  // Closed, but the poll has not applied its result yet.
  return frmResultIn.SyoSearchRow != 0 && frmResultInForm.loaded() && frmResultInForm->tmrSyoSearch.enabled;
}

bool Fnc_SearchHoldsRow(std::int32_t row) {
  if (row == 0 || !Fnc_FindingsSearchPending()) return false;
  return row == frmResultIn.SyoSearchRow || row == TargetRow();
}

bool Fnc_SearchedRowRefuses(std::int32_t row) {
  if (!Fnc_SearchHoldsRow(row)) return false;
  WarnSearchHolds();
  return true;
}

bool Fnc_HeldCellRefuses(std::int32_t col, std::int32_t row) {
  // A cell that takes no typing (locked by the search, say) holds none.
  if (!ResultGrid().CellTakesInput(col, row)) return false;
  std::string typed;
  std::string stored;
  const std::int16_t status = Fnc_GetCellEntry(col, row, typed, stored);
  if (status == kEntryRefused) return true;  // its error report shown
  if (status != kEntryProcessed || vb::Trim(typed) == vb::Trim(stored)) return false;
  WarnSearchHolds();
  RestoreCellEntry(col, row);
  return true;
}

void Sub_ApplyClosedSearch() {
  if (!basPublic.SyoSearchOpen && Fnc_FindingsSearchPending()) tmrSyoSearch_Timer();
}

bool Fnc_RowsRebuildRefused() {
  Sub_ApplyClosedSearch();
  if (!Fnc_FindingsSearchPending()) return false;
  WarnSearchHolds();
  return true;
}

}  // namespace qz
