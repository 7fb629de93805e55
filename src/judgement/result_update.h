// The writes the judgement routines share on the current result (column 0
// of frmResultIn.ResultMatrix) of an item and on its row of the result
// grid: the stamp of a change, where the item stands on the screen, the
// mark and colour letter of a judgement, and the cells of a stamp.
//
// The result screen's thread only; the grid is frmResultIn.sprResult, which
// must be set when a routine writes a cell.
#ifndef QZ_JUDGEMENT_RESULT_UPDATE_H_
#define QZ_JUDGEMENT_RESULT_UPDATE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/currency.h"

namespace qz {

// Stamps the current result of item `item` as changed now by the logged-on
// user: User = basPublic.LogonUserId, Ymd and Hms from the clock,
// Sokutei = 0.
void StampCurrentResult(std::int16_t item);

// The same stamp without touching the measurement class: User, Ymd and Hms.
void StampUserAndTime(std::int16_t item);

// The first item of the table (in table order) numbered `code`, 0 when
// none.
std::int16_t FirstItemNumbered(Currency code);

// The grid row of item `item`, 0 when the item is not shown.
std::int32_t ScreenRowOf(std::int16_t item);

// The mark and colour letter under which judgement `code` is shown: for 0
// an empty mark and the colour letter of a result without judgement
// (frmResultIn.DefaultColorLetter); otherwise those of the settings record
// (Fnc_JudgeCodeToMark). Returns false, outputs untouched, when the code has
// no mark.
bool JudgementMarkOf(std::int16_t code, std::string& mark, std::string& letter);

// The warning for a judgement code without a mark: "判定変換に失敗しました。",
// "判定コード : " and the code, "項目名 : " and `item_name`, one per line.
void ShowJudgeConversionWarning(std::int16_t code, std::string_view item_name);

// Writes `text` into cell (col, row) of the result grid.
void SetResultCell(std::int32_t col, std::int32_t row, std::string_view text);

// Shows the stamp of item `item` on grid row `row`: the updater cell gets
// the trimmed name of its User (Fnc_GetUserName), the update-time cell
// Fnc_FormatLastWrite, the measurement-class cell is emptied.
void ShowStampCells(std::int16_t item, std::int32_t row);

// The updater and update-time cells of ShowStampCells alone.
void ShowUpdaterCells(std::int16_t item, std::int32_t row);

// Shows `text` in the status label of the main form that holds the result
// grid; nothing when the grid has no main form.
void ShowStatusText(std::string_view text);

}  // namespace qz

#endif  // QZ_JUDGEMENT_RESULT_UPDATE_H_
