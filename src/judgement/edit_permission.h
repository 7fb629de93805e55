// Whether the operator may change the item on a row of the result grid:
// only items of the input groups the logged-on user is responsible for
// (KomInfo::Editable, set at load).
//
// Called by the grid's list changes, done-check clicks and Enter processing
// before they change an item. The result screen's thread only.
#ifndef QZ_JUDGEMENT_EDIT_PERMISSION_H_
#define QZ_JUDGEMENT_EDIT_PERMISSION_H_

#include <cstdint>

namespace qz {

// True when the item shown on grid row `row` (Fnc_RowToItem) may be
// changed. Otherwise warns "「<item name>」の" CR LF "入力ご担当者に連絡して
// 下さい。" and gives false. A row without an item (a header row, a row past
// the last line) gives false after the row conversion's own error report.
// A run-time error shows the error report "編集権限のチェック処理でエラーが
// 発生しました。" and gives false.
bool Fnc_CheckEditPermission(std::int32_t row);

}  // namespace qz

#endif  // QZ_JUDGEMENT_EDIT_PERMISSION_H_
