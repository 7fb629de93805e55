// Fnc_ProcessEnterKey: the entry of a value typed into a cell of the result
// grid, and Fnc_GetCellEntry, which gives it the typed and the stored value.
//
// A typed value that differs (trimmed) from what the current result of the
// row's item holds is refused (done-checked item, no edit permission,
// overall judgement already made) or validated (judgement mark, findings
// codes, a number against the item's digit format), stored in
// column 0 of frmResultIn.ResultMatrix, redrawn and coloured, judged,
// passed on to the calculated items, the judgement finding, the summary
// findings and the group judgement, and stamped. Every change lives in the
// result matrix until the examinee is saved.
//
// Callers: the grid's key handling (Enter, Delete, the simulated Enter of
// other routines) and its leave-cell event (grid_edit_events.h). The result
// screen's thread only, with frmResultIn.sprResult set and a shell
// installed.
#ifndef QZ_GRID_TYPED_ENTRY_H_
#define QZ_GRID_TYPED_ENTRY_H_

#include <cstdint>
#include <string>

namespace qz {

// Status values of the entry routines.
inline constexpr std::int16_t kEntryProcessed = 0;
inline constexpr std::int16_t kEntryNothing = 1;  // unchanged, no entry cell, or settled
inline constexpr std::int16_t kEntryRefused = 9;  // the cursor stays in the cell

// The typed and the stored value of cell (col, row), after addressing it.
// Measurement-class column: typed = the class picked (list index + 1, "0"
// for none) as text, stored = the stored class as text. A list cell with an
// entry picked (other columns) gives kEntryNothing: picks are the change
// event's. Judgement column: stored = the mark of the judgement. Otherwise
// by item kind: findings item: findings-code column Knsach, result column
// Syoken; judgement-coded item, result column: the judgement's mark;
// numeric and calculated items, result column: Knsach; any other cell
// kEntryNothing. In the result column a measurement class replaces the
// stored text by its display text. typed = the cell's text. A run-time error
// shows the error report "結果値の取得処理でエラーが発生しました。" and gives
// kEntryRefused.
std::int16_t Fnc_GetCellEntry(std::int32_t col, std::int32_t row, std::string& typed, std::string& stored);

// Processes the value in cell (col, row) as typed and returns its status.
// Sets frmResultIn.EnterBusy first. Refusals (done-check, edit permission,
// the overall judgement already made, a value that is no judgement mark, no
// number, too long for the judgement or outside the item's digits) warn
// (title "結果入力"), put the stored display text back and give
// kEntryRefused. A numeric value is taken after converting full-width
// characters to half-width; an unchanged cell gives
// kEntryNothing and stores, stamps and judges nothing. A value the automatic
// judgement cannot judge (no standard range for this examinee, say) warns
// "自動判定できません。" with the item and the value and is stored without a
// grade: judgement 0, no judgement finding (both cells emptied), stamped,
// with the calculated items, judgement finding, summary findings and group
// judgement following; it gives kEntryRefused so that the cursor stays.
// A run-time error shows the error report "Enterキー処理でエラーが発生しました。"
// and gives kEntryRefused.
std::int16_t Fnc_ProcessEnterKey(std::int32_t col, std::int32_t row);

// Processes the findings codes in the findings-code cell of row `row` as
// Fnc_ProcessEnterKey does for an item judged automatically, whatever the
// automatic-judgement class of the row's findings item: the codes are looked
// up, the finding and its judgement stored and followed (the group judgement
// too), the result stamped.
// Does not move the cursor; leaves frmResultIn.EnterBusy as it found it.
// kEntryNothing for a row of no findings item or
// an unchanged cell; kEntryRefused as Fnc_ProcessEnterKey refuses.
std::int16_t Fnc_ProcessFindingCodeEntry(std::int32_t row);

// Puts the stored display text of cell (col, row) back (the class column:
// its stored class picked). Nothing for a cell that is no entry cell.
void RestoreCellEntry(std::int32_t col, std::int32_t row);

}  // namespace qz

#endif  // QZ_GRID_TYPED_ENTRY_H_
