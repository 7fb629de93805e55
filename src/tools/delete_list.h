// Fnc_ShowDeleteList: before a save, the stored results of the consultation
// for items that are not booked for it (KomInfo.Past kPastResultOnly: the
// item is in the item table only because the results file holds a result
// of this consultation) are listed in frmDelList, and the operator chooses
// to go back, to save without deleting, or to save after deleting the
// consultation's stored results.
//
// Called by the save and by the 未確定項目 button, on the user-interface
// thread, with the consultation loaded (frmResultIn's tables).
#ifndef QZ_TOOLS_DELETE_LIST_H_
#define QZ_TOOLS_DELETE_LIST_H_

#include <cstdint>
#include <string>

#include "loading/consult_records.h"

namespace qz {

// Lists the items and, when there is at least one, shows frmDelList
// modally, gives the focus back to the result grid and returns
// basPublic.DelListAnswer (1 back: no save; 2 delete; 3 keep). Returns 0
// without showing anything when there is nothing to list, and 0 after the
// error report "削除データリストの表示処理でエラーが発生しました。" when a
// run-time error occurs (the save goes on without deleting).
//
// A line: the item number right-aligned in 10 characters; the item name;
// the value (below); basPublic.ChkStr when the done-check is set. Rows of
// items in basPublic.IndividualColor get the entry's back colour (every
// matching entry in list order), rows of judgement items (kind 4)
// basPublic.ColorHantei. Text colours: number and name the colour letter
// of frmResultIn.SysColors for the item kind; the value the judgement's
// letter, or frmResultIn.DefaultColorLetter without a judgement.
std::int16_t Fnc_ShowDeleteList();

// The value of a stored result as the delete list shows it: "(未実施)" and
// "(測定不能)" for those measurement classes; otherwise by item kind the
// findings text (3), the judgement mark (4; "" when the code has none), or
// the trimmed value (1, 2), written "(<sign><value>)" for the classes
// ≦ ＜ ≧ ＞ and right-aligned in 10 characters. Other kinds give "".
std::string DeleteListValueText(const KomInfo& item, const KekkaData& result);

}  // namespace qz

#endif  // QZ_TOOLS_DELETE_LIST_H_
