#include "grid/cursor_destination.h"

#include <optional>
#include <utility>

#include "grid/cell_kind_table.h"
#include "grid/grid_procedure.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {

namespace {

// (row, col) of the next input cell after (row, col) in reading order, or
// nullopt when the scan ends without one.
std::optional<std::pair<std::int32_t, std::int32_t>> NextInputCell(std::int32_t row, std::int32_t col) {
  const grid::Spread& spr = ResultGrid();
  const CellKindTable& kinds = frmResultIn.CellKinds;
  const std::int32_t last_row = Fnc_ItemToRow(static_cast<std::int16_t>(frmResultIn.ItemCount()));
  std::int32_t c = col + 1;
  for (std::int32_t r = row; r <= last_row; ++r, c = 1) {
    for (; c <= spr.max_cols(); ++c) {
      switch (kinds(c, r)) {
        case kCellInput:
          return std::make_pair(r, c);
        case kCellNoEntry:
        case kCellPickOnly:
        case kCellNeverEntered:
          break;
        default:
          return std::nullopt;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

void Sub_GetCursorDestination(std::int32_t row, std::int32_t col, std::int16_t key_code,
                              std::int32_t& dest_row, std::int32_t& dest_col) {
  RunGridProcedure("カーソルの移動先取得処理でエラーが発生しました。", [&] {
    if (key_code == kEnterKey) {
      if (const auto next = NextInputCell(row, col)) {
        dest_row = next->first;
        dest_col = next->second;
        return;
      }
    }
    grid::Spread& spr = ResultGrid();
    dest_row = row;
    dest_col = col;
    spr.block_mode = false;
    spr.row = row;
    spr.col = col;
    spr.SetAction(grid::kActionActiveCell);
  });
}

}  // namespace qz
