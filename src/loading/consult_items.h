// The item steps of every examinee load: Sub_LoadConsultItems fills the item
// table with the items booked for every shown consultation, directly or
// through their courses, and records the current consultation's courses
// (frmResultIn.CourseCodes, frmResultIn.CourseGenDates) and payment-category
// flags (basPublic.JkoFlags, basPublic.JkoKbn); Sub_AddResultOnlyItems adds
// the items that have stored results for the current consultation without
// being booked.
//
// Run after Sub_LoadHistory, in this order. Items enter the table only
// through Fnc_FindOrAddItem, so the first consultation, course or result
// that brings an item decides its Past value and course values.
#ifndef QZ_LOADING_CONSULT_ITEMS_H_
#define QZ_LOADING_CONSULT_ITEMS_H_

namespace qz {

// Empties the item table and the findings combo entries, then walks the
// current consultation and the earlier ones in column order (ending at the
// first earlier one whose Cno1 is 0). Items of the current consultation get
// Past 0, those brought only by earlier ones Past 1. When the current
// consultation's main course (PCODE) is set and not in slot 1, the course
// slots are reordered: PCODE first, then the other slots in their order,
// cut to 40, each generation date staying with its course.
//
// Returns false when a consultation has no items or a record cannot be
// read: the step's warning was shown and the result screen unloaded. A
// run-time error shows "受診項目の取得処理でエラーが発生しました。" and
// returns true.
bool Sub_LoadConsultItems();

// Adds every item with a stored result for the current consultation; an
// item appended here, or one booked only earlier, gets Past 2. Returns false
// when the results cannot be read ("検査結果マスタの読み込みに失敗しました。",
// the result screen unloaded). A run-time error shows "受診項目(検査結果
// マスタ)の取得処理でエラーが発生しました。" and returns true.
bool Sub_AddResultOnlyItems();

}  // namespace qz

#endif  // QZ_LOADING_CONSULT_ITEMS_H_
