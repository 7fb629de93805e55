// The calculated items of the consultation (item kind 2 with a calculation
// pattern): computed by the suite's calculation library (QZP315) from up to
// three operand items, edited to the item's digit format, written
// into column 0 of frmResultIn.ResultMatrix and the grid, and judged.
//
// frmResultIn.CalcItems lists each calculated item with the item indexes of
// its operands (0 = none), built at load. The result screen's thread only.
#ifndef QZ_JUDGEMENT_CALC_ITEMS_H_
#define QZ_JUDGEMENT_CALC_ITEMS_H_

#include <cstdint>

namespace qz {

// Recomputes every calculated item that has item `changed` (an item-table
// index) as an operand, once per operand slot that names it, and then every
// calculated item whose operand was recomputed so, in dependency order
// (calc_order.h) whatever the order of the item table. `changed` itself is
// not recomputed, and no item more than once per slot: definitions that
// form a cycle are followed once round, never looped.
//
// A calculated item is left alone when its current result is done-checked,
// when the logged-on user may not edit it, or when it is past-only; it keeps
// its value while any operand it has is blank or has the measurement class
// "(未実施)" or "(測定不能)". Otherwise the library's value, edited to the
// item's digit format, becomes its value (the trimmed text and one
// blank); a value that differs from the stored one (both trimmed) stamps
// the result. On the screen the result cell, the stamp cells and the
// emptied measurement-class cell follow. An item with automatic-judgement
// class 1 is then judged (Fnc_AutoJudgeItem): its judgement and finding
// are stored and shown in its colour, or "自動判定に失敗しました。" warns
// with the item name and the value; either way its group judgement and the
// summary auto-set follow. Any other item's result cell takes the colour of
// a result without judgement.
//
// When the library gives no value, or the value does not fit the digit
// digit format, the item keeps its value and stamps, and the warning
// "計算項目の計算に失敗しました。" names the item and the value. A run-time
// error shows the error report "計算項目チェック処理でエラーが発生しました。"
// and ends the walk.
void Sub_CheckCalcItems(std::int16_t changed);

// Recomputes all calculated items: Sub_CheckCalcItems for every item of the
// table that is not past-only, with the progress window frmGuide shown
// ("計算処理中です．．．") and its gauge advanced per item; the window is
// unloaded at the end, also after an error, which shows the error report
// "計算処理でエラーが発生しました。".
void Sub_RecalcAllItems();

}  // namespace qz

#endif  // QZ_JUDGEMENT_CALC_ITEMS_H_
