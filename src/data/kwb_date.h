// basDate: the program's one era-date routine, `Sub_KwbDate`, and its era
// table.
//
// The era table is read once per run from the era record of the settings
// master QZSYSLF (KBN 2, CODE six blanks) through a data-access object the
// routine opens, reads and closes itself; a failed load leaves the table
// empty, so the next call tries again. Tests may fill `basDate` directly and
// reset it with `basDate = BasDate{}`.
//
// Not re-entrant; called from the user-interface thread only.
#ifndef QZ_DATA_KWB_DATE_H_
#define QZ_DATA_KWB_DATE_H_

#include <cstdint>
#include <string>

#include "data/era_date.h"

namespace qz {

// The module's state: the era table (EraNames, EraStarts).
struct BasDate : EraTable {};

extern BasDate basDate;

// Fixed lengths, in characters, of the routine's text parameters.
inline constexpr std::size_t kKwbInTextLength = 10;
inline constexpr std::size_t kKwbEraNameLength = 4;
inline constexpr std::size_t kKwbDateTextLength = 10;
inline constexpr std::size_t kKwbEraTextLength = 10;

// Converts dates as RunKwbDate (era_date.h) describes; the caller sets Mode,
// Kind and the mode's inputs and tests ErrorCode before reading outputs.
//
// At the normal end every parameter is written back, the fixed-length texts
// InText, EraName, DateText and EraText padded with blanks or cut to their
// lengths, and ErrorCode holds 0 to 6. When the era table cannot be loaded
// (message "QZSYSLFの初期化に失敗しました" or "QZSYSLFの値取得に失敗しました",
// title "BTRエラー") or a run-time error occurs (message "<number>:<text>",
// title "KWBDATEエラー"), ErrorCode is kKwbDateFailed and every other
// parameter keeps the value passed.
//
// DataFolder and DefFolder are the data and definition folders for opening
// QZSYSLF (callers pass basPublic.VlmfPath and basPublic.SpecPath).
void Sub_KwbDate(std::int16_t& Mode, std::int16_t& Kind, std::int32_t& Date1, std::int32_t& Date2,
                 std::string& InText, std::int16_t& EraNo, std::string& EraName, std::string& DateText,
                 std::int32_t& OutNo, std::string& EraText, std::int16_t& ErrorCode, std::string& Note,
                 std::string DataFolder, std::string DefFolder);

}  // namespace qz

#endif  // QZ_DATA_KWB_DATE_H_
