// Where the items of the loaded consultation stand in the result grid:
// frmResultIn.RowItems lists the items shown as rows, in display order; the
// item on line k (from 1) is on grid row k + basPublic.DataRow - 1.
//
// Any routine of the result screen may call them (user-interface thread).
// The conversions of rows to lines and items report their own run-time
// errors (the result screen's error report) and then give 0.
#ifndef QZ_GRID_ITEM_ROW_MAP_H_
#define QZ_GRID_ITEM_ROW_MAP_H_

#include <cstdint>

namespace qz {

// The 1-based position of item `item` (an item-table index) in
// frmResultIn.RowItems, or 0 when the item is not shown. A run-time error
// shows the error report "画面上の検査項目位置検索処理でエラーが発生しました。"
// and gives 0.
std::int16_t Fnc_FindItemRow(std::int16_t item);

// The grid row of line `line` (a position as Fnc_FindItemRow gives it):
// line + basPublic.DataRow - 1, no other effect (two 16-bit values: the
// 32-bit result cannot overflow).
std::int32_t Fnc_ItemToRow(std::int16_t line);

// The line of grid row `row`: row - basPublic.DataRow + 1 (0 or less for
// the header rows). A result outside the 16-bit range shows the error report
// "添字の計算処理でエラーが発生しました。" and gives 0.
std::int16_t Fnc_RowToLineIndex(std::int32_t row);

// The item-table index of the item shown on grid row `row`
// (frmResultIn.RowItems of its line). A row outside the row list (a header
// row, a row past the last line) shows the error report
// "添字の計算処理でエラーが発生しました。" and gives 0.
std::int16_t Fnc_RowToItem(std::int32_t row);

}  // namespace qz

#endif  // QZ_GRID_ITEM_ROW_MAP_H_
