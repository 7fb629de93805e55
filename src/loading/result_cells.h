// Sub_KekkaInfo: the result cells of the result grid (frmResultIn.sprResult),
// drawn from the item table and the result matrix.
//
// For every consultation column (the current one in basPublic.ResultCol,
// the k-th earlier one in basPublic.PastCol + k - 1) and every grid line
// (frmResultIn.RowItems) it writes the value cell: its format by item kind,
// the value, findings or judgement mark, the fore colour of the judgement
// and, for a measurement class, the class mark in place of the value. In
// the current column it also draws the judgement and measurement-class
// lists, the judgement, done-check, updater, update-time and
// judgement-findings cells, and, for a user of display class 1, the
// judgement of each group item in column 2 of the group-jump list (for such
// a user emptied first on every row, so a group whose items hold no
// judgement and no measurement class shows none).
//
// Run after the item lines (Sub_JkoInfo) and the group-jump list are
// built, by the load, the group selection, the screen reload and the tools
// that change results in bulk; locks and the cursor are set afterwards. It
// changes no table; drawn twice on the same tables it gives the same cells.
// User-interface thread only.
#ifndef QZ_LOADING_RESULT_CELLS_H_
#define QZ_LOADING_RESULT_CELLS_H_

namespace qz {

// Draws every result cell. A judgement code without a mark in a value cell
// shows "判定変換に失敗しました。" with the code and the item's name (a
// warning, once per cell) and the cell takes the default colour letter
// (frmResultIn.DefaultColorLetter); drawing goes on. Nothing is drawn while
// the screen has no grid. Returns true (the load goes on); a run-time error
// (a result matrix not made for the lines, for one) shows the error report
// "検査結果情報の表示処理でエラーが発生しました。" and ends the drawing,
// keeping the cells drawn so far.
bool Sub_KekkaInfo();

}  // namespace qz

#endif  // QZ_LOADING_RESULT_CELLS_H_
