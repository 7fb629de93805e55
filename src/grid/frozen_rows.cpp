#include "grid/frozen_rows.h"

#include "examinee/bas_public.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {

namespace {

const KomInfo& ItemOfLine(int line) { return frmResultIn.ItemTable[frmResultIn.RowItems[line]]; }

void SprFix() {
  grid::Spread& spr = ResultGrid();
  int n = frmResultIn.RowCount();
  while (n >= 1 && ItemOfLine(n).Ngrp > basPublic.FixGrp) --n;
  spr.rows_frozen = Fnc_ItemToRow(static_cast<std::int16_t>(n));
  for (int line = n; line >= 1; --line) {
    if (ItemOfLine(line).Past != kPastBookedNow) continue;
    spr.SetBackColor(grid::Range::Row(Fnc_ItemToRow(static_cast<std::int16_t>(line))),
                     static_cast<grid::Color>(basPublic.ColorScrLock));
  }
}

}  // namespace

void Sub_SprFix() { RunGridProcedure("スプレッドのスクロール行固定処理でエラーが発生しました。", SprFix); }

}  // namespace qz
