// Where the items of the loaded consultation stand in the result grid:
// frmResultIn.RowItems lists the items shown as rows, in display order; the
// item on line k (from 1) is on grid row k + basPublic.DataRow - 1.
//
// Any routine of the result screen may call them (user-interface thread).
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

}  // namespace qz

#endif  // QZ_GRID_ITEM_ROW_MAP_H_
