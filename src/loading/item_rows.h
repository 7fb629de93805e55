// Sub_JkoInfo: the item lines of the result grid. Decides which items of
// the item table are shown, records which item every grid line shows
// (frmResultIn.RowItems), writes the first line of each shown input group
// into column 1 of that group's row of the group-jump list (the row whose
// column 3 names the group; none when the list has no row for it), and, when the screen has its grid
// (frmResultIn.sprResult), lays out each line's name, reference range and
// unit cells with their fonts and colours (the name in the colour letter of
// its item kind, frmResultIn.SysColors).
//
// Run by the load after the input-group lists are built, and again by the
// group selection and the screen reload. Needs the sorted item table,
// frmResultIn.InputGroups, the lists of frmGrpSel and frmGrpJmp and
// basPublic.ColorTable.
#ifndef QZ_LOADING_ITEM_ROWS_H_
#define QZ_LOADING_ITEM_ROWS_H_

namespace qz {

// Rebuilds frmResultIn.RowItems (and the grid's rows: basPublic.DataRow - 1
// header rows plus one per line). An item is shown when IsItemShown
// passes and its input group is selected in frmGrpSel; an item whose group
// is not in frmResultIn.InputGroups (at or after the group of the item
// before) is not shown, and the later items are still matched.
//
// A range that cannot be cut to the item's digit format (a
// digit format that is no number among them) or edited by
// Fnc_EditStdRange shows "基準値の編集でエラーが発生しました。" with the
// item's name and bounds and leaves its cell empty; the later lines follow. Returns true (the load goes on); a run-time error (an item kind
// outside 0..4 among them) shows "受診項目情報の表示処理でエラーが発生
// しました。" and ends the step, keeping the lines built so far.
bool Sub_JkoInfo();

}  // namespace qz

#endif  // QZ_LOADING_ITEM_ROWS_H_
