#include "grid/cell_kinds.h"

#include <cstdint>

#include "examinee/bas_public.h"
#include "grid/cell_kind_table.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {

namespace {

// The kind of the findings-code cell of `item`. An item not booked now
// takes no entry in its code cell either: a code typed there would store a
// finding as its result just as the result cell would.
std::int16_t FindingsCodeKind(const KomInfo& item) {
  if (item.Ksyub == kKsyubFindings && item.Kekano != 1 && item.Past == kPastBookedNow) return kCellInput;
  return kCellNoEntry;
}

// The kind of the result cell of `item`.
std::int16_t ResultKind(const KomInfo& item) {
  std::int16_t kind = kCellInput;
  switch (item.Ksyub) {
    case kKsyubNumeric:
      if (item.Kekano == 1) kind = kCellNoEntry;
      break;
    case kKsyubCalculated:
      kind = kCellPickOnly;
      break;
    case kKsyubFindings:
      if (item.Syokno == 1) kind = kCellNoEntry;
      break;
    case kKsyubGroupJudgement:
      if (item.Hantno == 1) kind = kCellNoEntry;
      break;
    default:
      break;
  }
  if (item.Past != kPastBookedNow) kind = kCellNoEntry;
  return kind;
}

// The kind of cell (c, r); `item` is the item of row r (null for a header
// row).
std::int16_t KindOf(int c, int r, const KomInfo* item) {
  const BasPublic& p = basPublic;
  if (c < p.InputColFirst || c > p.InputColLast || r < p.DataRow || item == nullptr) return kCellNeverEntered;
  if (c == p.ChkCol) return kCellNeverEntered;
  // An item not booked now takes nothing, neither a measurement class nor
  // a judgement: what would be picked there could never be stored.
  if ((c == p.SokuteiCol || c == p.HanCol) && item->Past != kPastBookedNow) return kCellNoEntry;
  if (c == p.SokuteiCol) return kCellPickOnly;
  if (c == p.SyoCodeCol) return FindingsCodeKind(*item);
  if (c == p.ResultCol) return ResultKind(*item);
  if (c == p.HanCol) return item->Ksyub == kKsyubGroupJudgement ? kCellNeverEntered : kCellPickOnly;
  return kCellInput;
}

void SprSet() {
  grid::Spread& spr = ResultGrid();
  CellKindTable& kinds = frmResultIn.CellKinds;
  const int cols = spr.max_cols();
  kinds.Redim(cols, frmResultIn.RowCount() + basPublic.DataRow + 1);
  const std::int32_t last_row = Fnc_ItemToRow(static_cast<std::int16_t>(frmResultIn.RowCount()));
  for (int r = 1; r <= last_row; ++r) {
    const KomInfo* item = nullptr;
    if (r >= basPublic.DataRow) {
      const int line = r - basPublic.DataRow + 1;
      item = &frmResultIn.ItemTable[frmResultIn.RowItems[line]];
    }
    for (int c = 1; c <= cols; ++c) kinds(c, r) = KindOf(c, r, item);
  }
}

bool KindLocks(std::int16_t kind) { return kind != kCellInput && kind != kCellPickOnly; }

void LockSet() {
  grid::Spread& spr = ResultGrid();
  const CellKindTable& kinds = frmResultIn.CellKinds;
  spr.block_mode = false;
  for (int r = 1; r <= spr.max_rows(); ++r) {
    for (int c = 1; c <= spr.max_cols(); ++c) {
      if (KindLocks(kinds(c, r))) {
        spr.row = r;
        spr.col = c;
        spr.SetLock(true);
      }
    }
  }
}

}  // namespace

void Sub_SprSet() { RunGridProcedure("フォーカスの取得処理でエラーが発生しました。", SprSet); }

void Sub_LockSet() { RunGridProcedure("セルのロック処理でエラーが発生しました。", LockSet); }

void Sub_LockCellByKind(int col, int row) {
  const CellKindTable& kinds = frmResultIn.CellKinds;
  const bool lock = !kinds.Contains(col, row) || KindLocks(kinds(col, row));
  ResultGrid().SetLock(grid::Range::Cell(col, row), lock);
}

}  // namespace qz
