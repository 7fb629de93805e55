#include "grid/searched_row.h"

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/syo_search_handoff.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {
namespace {

void WarnSearchHolds() {
  ShowLoadWarning("この項目の所見検索画面が開かれています。");
  if (frmSyoComb.loaded()) frmSyoComb->ZOrder(0);
}

}  // namespace

bool Fnc_FindingsSearchPending() {
  if (basPublic.SyoSearchOpen) return true;
  // Closed, but the poll has not applied its result yet.
  return frmResultIn.SyoSearchRow != 0 && frmResultInForm.loaded() && frmResultInForm->tmrSyoSearch.enabled;
}

bool Fnc_SearchHoldsRow(std::int32_t row) {
  return row != 0 && row == frmResultIn.SyoSearchRow && Fnc_FindingsSearchPending();
}

bool Fnc_SearchedRowRefuses(std::int32_t row) {
  if (!Fnc_SearchHoldsRow(row)) return false;
  WarnSearchHolds();
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
