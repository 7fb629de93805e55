// Fnc_FormatLastWrite: the update-time text of an item's current result, as
// the update-time column of the result grid shows it.
#ifndef QZ_GRID_LAST_WRITE_H_
#define QZ_GRID_LAST_WRITE_H_

#include <cstdint>
#include <string>

namespace qz {

// "yyyy/mm/dd hh:nn:ss" from Ymd and Hms (the time as six digits with
// leading zeros) of frmResultIn.ResultMatrix(item, 0), or "" when its
// trimmed User is empty (never written by anyone). The date is cut from
// the digits of Ymd as they stand (first four, fifth and sixth, last two).
// A run-time error (an item outside the matrix among them) shows the error
// report "最終書き込みデータの編集処理でエラーが発生しました。" and gives "".
std::string Fnc_FormatLastWrite(std::int16_t item);

}  // namespace qz

#endif  // QZ_GRID_LAST_WRITE_H_
