// The hold of an open findings search on its grid rows.
//
// From the launch until its result is applied (grid/findings_search_launch.h,
// judgement/syo_search_handoff.h) the search holds the row
// frmResultIn.SyoSearchRow and, for a judgement item's search, the row of
// the summary-findings item its decision is written to
// (Fnc_SearchTargetItem): while the dialog is open, and after it closed
// until the poll of frmResultIn.tmrSyoSearch has applied what it returned.
// Nothing may change a held row, and the item lines may not be rebuilt
// under it, so that a decided finding lands on the row it was searched for,
// overwrites nothing typed meanwhile, and the text the row shows meanwhile
// ("所見検索中です") is never taken as typed. The rest of the grid stays
// usable: the cursor leaves a held row as any other, without the row being
// processed.
//
// The result screen's thread only.
#ifndef QZ_GRID_SEARCHED_ROW_H_
#define QZ_GRID_SEARCHED_ROW_H_

#include <cstdint>

namespace qz {

// Whether a findings search holds its rows now (open, or closed and not
// yet applied).
bool Fnc_FindingsSearchPending();

// Whether grid row `row` is held by the findings search; no message.
bool Fnc_SearchHoldsRow(std::int32_t row);

// When grid row `row` is held: the warning "この項目の所見検索画面が開かれて
// います。" (title "結果入力"), the dialog brought to the front, and true;
// the caller then changes nothing. False otherwise.
bool Fnc_SearchedRowRefuses(std::int32_t row);

// For cell (col, row) of a held row that Enter is pressed on or the cursor
// or the focus leaves, in place of processing it: when the cell holds a change (its
// text, trimmed, other than the stored display text; a cell that takes no
// typing, as the cells the search locked, holds none), the warning above,
// the stored display text back in the cell (RestoreCellEntry), and true:
// the cursor then stays. Also true after the error report of a failed read
// of the cell. False when the cell holds no change: nothing is processed
// and the cursor may go.
bool Fnc_HeldCellRefuses(std::int32_t col, std::int32_t row);

// When the dialog has closed but the poll has not applied its result yet,
// applies it now (tmrSyoSearch_Timer): for an action that would otherwise
// end the consultation or read its results before the poll, so that a
// decided finding is not lost. Nothing otherwise.
void Sub_ApplyClosedSearch();

// The same refusal for whatever rebuilds the item lines or changes every
// item (a reload, a display switch, a tool on all items): true, after the
// warning, while the search is open. A search closed but not yet applied
// is applied first (Sub_ApplyClosedSearch), and the caller goes on.
bool Fnc_RowsRebuildRefused();

}  // namespace qz

#endif  // QZ_GRID_SEARCHED_ROW_H_
