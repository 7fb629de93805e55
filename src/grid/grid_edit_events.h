// The edit events of the result grid frmResultIn.sprResult: a pick in a
// list cell (Change), a click on the done-check column (Click), a double
// click (DblClick), the keys Enter, Delete and Space (KeyDown) and the
// leave-cell event that processes a value typed and left without Enter.
//
// Each works on the current consultation (column 0 of
// frmResultIn.ResultMatrix), redraws the cells it changes, stamps the
// change and hands on to the judgement routines; refusals warn (title
// "結果入力") and put the cell back. The main form binds them to the grid's
// events (BindResultGridEvents); other routines move the cursor on with a
// simulated Enter, sprResult_KeyDown with key code 13 and no shift, which
// is a direct nested call. Each handler traps its run-time errors and shows
// the error report with its own job text; what was stored before stays.
//
// While a findings search holds a row (grid/searched_row.h), a pick, a
// done-check click and Delete on that row are refused with "この項目の所見
// 検索画面が開かれています。". Enter on it and the cursor or the focus
// leaving it process nothing (no stamp, no automatic done-check): the
// cursor goes as from any row, unless the cell holds a change, which is
// refused with the same warning and put back (also when the focus leaves:
// no typed text stays shown unstored). The other rows take entries as
// usual.
//
// The result screen's thread only, with a shell installed.
#ifndef QZ_GRID_GRID_EDIT_EVENTS_H_
#define QZ_GRID_GRID_EDIT_EVENTS_H_

#include <cstdint>

namespace qz {

namespace grid {
class Spread;
}

// A pick in the list cell (col, row): a judgement (judgement column, or the
// result column of a judgement-coded item), a measurement class or a
// finding. The same pick again on an unchecked row stores and stamps it
// again; the findings-search entry opens the findings search. Ends with a
// simulated Enter (a second one when the cursor stayed on the row, after a
// class or a finding). Job text "結果スプレッドの変更処理でエラーが発生しました。".
void sprResult_Change(std::int32_t col, std::int32_t row);

// A click: on the header row of the result or a past column it fits that
// column's width; on the done-check column of an item line it sets or
// clears the done-check, with its refusals. Job text
// "結果スプレッドのクリック処理でエラーが発生しました。".
void sprResult_Click(std::int32_t col, std::int32_t row);

// A double click: a done-checked row is not opened for editing. Job text
// "結果スプレッドのダブルクリック処理でエラーが発生しました。".
void sprResult_DblClick(std::int32_t col, std::int32_t row);

// A key on the grid: Enter processes the active cell and moves the cursor
// to the next input cell, and the automatic done-check (basPublic.AutoCheck)
// marks only an item booked now that the user may change, that the
// overall lock leaves alone and that a click could check (Fnc_MayCheck,
// quietly), with the click's follow-ups; Space on the done-check column is a click
// there; Delete empties the active cell and processes it (on the done-check
// column under the click's refusals; a refused Delete puts the stored value
// back and leaves the item's summary-findings item alone, a processed one
// clears that item and stamps it unless its done-check is set); other keys start editing while the input
// method is open. May set `key_code` to 0 (the
// grid's own handling is then skipped). Clears frmResultIn.EnterBusy. Job
// text "結果スプレッドのキーボード処理でエラーが発生しました。".
void sprResult_KeyDown(int& key_code, int shift);

// The cursor leaves (col, row) for (new_col, new_row): a header row is
// refused (the cursor goes to the first item row instead); a value not yet
// processed is processed, and a refused one keeps the cursor in the cell;
// the input method follows the new cell. Nothing while loading or while the
// examinee cycle is left. Job text "セルの移動処理でエラーが発生しました。".
void sprResult_LeaveCell(std::int32_t col, std::int32_t row, std::int32_t new_col, std::int32_t new_row,
                         bool& cancel);

// A value being typed into the active cell (the grid in edit mode) is
// entered as leaving the cell would enter it, before the save or the
// preview reads the results: F12, F10 and the right click on an earlier
// date leave the focus on the grid, and what was typed is not lost. True when nothing
// was being typed or the value was taken; false when it was refused (its
// message shown, the stored value back in the cell, the cursor on it), and
// the caller then goes no further.
bool Fnc_EnterEditedCell();

// Binds the handlers above to the events of `spr`; a character typed into
// it (KeyPress, also from the input method) clears frmResultIn.EnterBusy
// as a key does.
void BindResultGridEvents(grid::Spread& spr);

}  // namespace qz

#endif  // QZ_GRID_GRID_EDIT_EVENTS_H_
