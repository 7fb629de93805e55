// Sub_SprFix: the frozen rows of the result grid. The lines of the input
// groups up to basPublic.FixGrp stay at the top, under the header rows,
// while the other lines scroll, and are painted with
// basPublic.ColorScrLock, except the lines of items not booked now (Past
// not 0), which keep their own colour.
//
// Items are ordered by input group, so the frozen block is the lines down
// to the last line whose group is at most FixGrp. Run after every rebuild
// of the item lines, after Sub_SprSet and Sub_LockSet. The result screen's
// thread only.
#ifndef QZ_GRID_FROZEN_ROWS_H_
#define QZ_GRID_FROZEN_ROWS_H_

namespace qz {

// Freezes the grid rows down to the row of line n, the last line (searched
// from the end of frmResultIn.RowItems) whose item has Ngrp <= FixGrp; with
// no such line only the header rows (basPublic.DataRow - 1) are frozen.
// Paints whole rows of lines n..1 as above. A run-time error shows the
// error report "スプレッドのスクロール行固定処理でエラーが発生しました。".
void Sub_SprFix();

}  // namespace qz

#endif  // QZ_GRID_FROZEN_ROWS_H_
