// Sub_SetHistoryHeaders: writes the course name, the column title and the
// era date above every result column of the result grid
// (frmResultIn.sprResult), and gives the grid one column per shown earlier
// consultation. The current column also sets basPublic.ReportCode to its
// course's report number.
//
// Runs after the history and item steps of the load; the grid rows and
// columns are those of the settings (basPublic.HeaderRow, CourseRow,
// JdateRow, ResultCol, PastCol).
#ifndef QZ_LOADING_HISTORY_HEADERS_H_
#define QZ_LOADING_HISTORY_HEADERS_H_

namespace qz {

// A course not in the course master shows "<コースマスタ未登録>". Returns
// false when the course master cannot be read or a date does not convert:
// the warning was shown and the result screen unloaded. A run-time error
// (also a missing grid) shows "受診歴情報の表示処理でエラーが発生しました。"
// and returns true.
bool Sub_SetHistoryHeaders();

}  // namespace qz

#endif  // QZ_LOADING_HISTORY_HEADERS_H_
