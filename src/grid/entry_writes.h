// The writes that every entry path of the result grid shares on the current
// result (column 0 of frmResultIn.ResultMatrix) of an item and on its grid
// row: the write stamp, the display text of a stored value, the group-jump
// line of a judgement-coded item and the settings' code lists.
//
// The result screen's thread only; frmResultIn.sprResult must be set.
#ifndef QZ_GRID_ENTRY_WRITES_H_
#define QZ_GRID_ENTRY_WRITES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "examinee/bas_public.h"
#include "loading/consult_records.h"

namespace qz {

// The item shown on grid row `row` (Fnc_RowToItem); 0 for a row outside
// the item lines, without an error report.
std::int16_t ItemOnRow(std::int32_t row);

// Stamps the current result of `item` as written now by the logged-on user
// (User, Ymd, Hms; the measurement class is left as it is) and, when `row`
// is not 0, shows the updater's trimmed name and the update time in that
// grid row.
void StampEntry(std::int16_t item, std::int32_t row);

// What a value cell shows for a stored value `plain` of result `r`: the
// measurement-class text ("(未実施)", "(測定不能)", "(" sign value ")")
// when r.Sokutei is not 0, else `plain` itself.
std::string StoredDisplayText(const KekkaData& r, std::string_view plain);

// Shows the judgement state of judgement-coded item `item` on its input
// group's line of the group-jump list (column 2: "未" for class 1, "不" for
// class 2, else the mark of its judgement, in the judgement's colour).
// Nothing while basPublic.UserDspKbn is not 1, for other kinds, or when the
// group has no line. A judgement without a mark warns and shows nothing.
void ShowJumpLineOf(std::int16_t item);

// Whether the current result of `item` has no content of its kind: the
// trimmed findings text of a findings item, the judgement of a
// judgement-coded item, the trimmed value of any other (the measurement
// class is not looked at).
bool ResultContentEmpty(std::int16_t item);

// When the findings search is open for grid row `row`: the warning
// "この項目の所見検索画面が開かれています。", the search brought to the front,
// and true. Otherwise false.
bool WarnSearchOpenOn(std::int32_t row);

// Makes (col, row) the active cell of the result grid (Action 0; the
// grid raises leave-cell).
void MoveActiveTo(std::int32_t col, std::int32_t row);

// Whether `code` is one of the codes of `list` (1..Count).
bool InCodeList(const CodeList& list, Currency code);

// The writes of a judgement `code` on `row`: the judgement cell shows the
// trimmed mark, the result and judgement cells take its colour. Returns
// false, after the warning "判定変換に失敗しました。" with the code and the
// name of `item`, when the code has no mark: the judgement cell is then
// emptied and the colours stay.
bool ShowJudgementCells(std::int16_t item, std::int32_t row, std::int16_t code);

}  // namespace qz

#endif  // QZ_GRID_ENTRY_WRITES_H_
