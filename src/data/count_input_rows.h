// Fnc_CountInputRows: the number of item rows of the result grid that are
// not yet confirmed. The save asks it before writing; a result above 0
// means some rows lack their done-check.
//
// Reads basPublic.DataRow, ChkCol, ChkStr and ColorPast; changes nothing.
#ifndef QZ_DATA_COUNT_INPUT_ROWS_H_
#define QZ_DATA_COUNT_INPUT_ROWS_H_

#include <cstdint>
#include <vector>

#include "platform/grid/spread.h"

namespace qz {

// Walks rows basPublic.DataRow .. spr.max_rows(). A row whose row-header
// cell (column 0) has the back colour basPublic.ColorPast is skipped (an
// item of earlier consultations only); any other row counts unless its
// done-check cell (column basPublic.ChkCol) holds exactly basPublic.ChkStr.
// A done-check cell that cannot be read counts as unconfirmed. Throws
// RunTimeError (overflow) past 32767 rows.
std::int16_t Fnc_CountInputRows(const grid::Spread& spr);

// The rows Fnc_CountInputRows counts, in ascending order (the unconfirmed
// item list shows them).
std::vector<int> UnconfirmedRows(const grid::Spread& spr);

}  // namespace qz

#endif  // QZ_DATA_COUNT_INPUT_ROWS_H_
