// The cell kinds of the result grid and the locks that follow from them.
//
// Sub_SprSet records in frmResultIn.CellKinds (grid/cell_kind_table.h) the
// kind of every cell of the header rows and the item lines; Sub_LockSet
// then locks the cells that take no typing. Every rebuild of the item lines
// (the load, a group selection, the screen reload) runs Sub_SprSet,
// Sub_LockSet and the frozen-row set-up, in this order, after the result
// cells are drawn.
//
// Kinds of the cells of an item line:
//   - the descriptive columns (before basPublic.InputColFirst), the columns
//     after basPublic.InputColLast and the done-check column: never entered;
//   - the measurement class: picked from its list (no cursor stop);
//     nothing to enter for an item not booked now;
//   - the findings code: an input cell for a findings item booked now that
//     takes a result (Kekano not 1), else nothing to enter;
//   - the result: an input cell, except a calculated item's (picked, no
//     stop), an item that takes none of that kind (Kekano for a numeric,
//     Syokno for a findings and Hantno for a judgement-coded item: nothing
//     to enter) and an item not booked now (Past not 0: nothing to enter);
//   - the judgement: picked from its list, never entered for a
//     judgement-coded item (its result cell holds the judgement), nothing
//     to enter for an item not booked now.
// Every cell of the header rows is never entered; the two rows after the
// last line are outside.
//
// The result screen's thread only.
#ifndef QZ_GRID_CELL_KINDS_H_
#define QZ_GRID_CELL_KINDS_H_

namespace qz {

// Re-creates frmResultIn.CellKinds with the columns 1..MaxCols of the
// result grid and the rows 1..RowCount + DataRow + 1, and fills the rows up
// to the last line. Needs frmResultIn.RowItems and the item table. A
// run-time error shows the error report "フォーカスの取得処理でエラーが
// 発生しました。" and ends the routine.
void Sub_SprSet();

// Locks every cell of rows 1..MaxRows and columns 1..MaxCols whose kind is
// neither kCellInput nor kCellPickOnly; unlocks nothing. A cell outside
// frmResultIn.CellKinds shows the error report "セルのロック処理でエラーが
// 発生しました。" and stops the locking there.
void Sub_LockSet();

// Gives the one cell (col, row) of the result grid the lock its kind gives
// it, as Sub_LockSet would: locked unless of kind kCellInput or
// kCellPickOnly, and locked when outside frmResultIn.CellKinds. For a cell
// locked for a while (the findings search's row) that takes its lock back.
void Sub_LockCellByKind(int col, int row);

}  // namespace qz

#endif  // QZ_GRID_CELL_KINDS_H_
