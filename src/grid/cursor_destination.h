// Sub_GetCursorDestination: where the cursor of the result grid goes after
// a key: after Enter the next input cell (kCellInput of
// frmResultIn.CellKinds) in reading order, left to right and then down,
// never wrapping to the top; after any other key the cell it is on.
//
// Callers: the grid's key handling, the examinee load and the screen reload
// (the first input cell), the previous-result copy. The result screen's
// thread only.
#ifndef QZ_GRID_CURSOR_DESTINATION_H_
#define QZ_GRID_CURSOR_DESTINATION_H_

#include <cstdint>

namespace qz {

// The key code of Enter.
inline constexpr std::int16_t kEnterKey = 13;

// Gives in (dest_row, dest_col) the destination from cell (row, col) after
// key `key_code`.
//
// Enter: the cells from (row, col + 1) to the end of the row, then each
// following row from column 1, are scanned while the row is not past the
// row of line frmResultIn.ItemCount(): an input cell is the destination;
// cells that take no stop (kinds 2, 3, 4) are passed over; a cell outside
// the item lines (kind 0, the two rows after the last line) ends the scan.
//
// Without a destination (another key, a scan that ended) the destination
// is (row, col), and that cell of the grid is addressed and made the active
// cell (Action 0), so the cursor stays where it is.
//
// A run-time error (a start or a cell outside frmResultIn.CellKinds, which
// Sub_SprSet builds) shows the error report "カーソルの移動先取得処理でエラーが
// 発生しました。" and leaves dest_row and dest_col as they were.
void Sub_GetCursorDestination(std::int32_t row, std::int32_t col, std::int16_t key_code,
                              std::int32_t& dest_row, std::int32_t& dest_col);

}  // namespace qz

#endif  // QZ_GRID_CURSOR_DESTINATION_H_
