// Dependent groups: what a group item (an item of kind 4 whose number ends
// in the three digits of its decision group g, g > 0) hands down to its
// members, the items that list g among their four decision groups.
//
// Only members booked now (Past 0) that the operator may edit
// (KomInfo::Editable) ever change, and never one whose row an open findings
// search holds (grid/searched_row.h). Both routines work on the current
// results (column 0 of the result matrix) and redraw the members' rows of
// the result grid. Called by the grid's done-check clicks, measurement-class
// list changes and the Delete key. The result screen's thread only.
#ifndef QZ_JUDGEMENT_DEPENDENT_GROUPS_H_
#define QZ_JUDGEMENT_DEPENDENT_GROUPS_H_

#include <cstdint>

namespace qz {

// Group item `item` (an item-table index) received its done-check: every
// member takes the done-check, except a member group item with neither
// judgement nor measurement class. A member not yet checked is stamped
// with the logged-on user and the present date and time; members already
// checked keep their stamps. On the screen the member's done-check cell
// shows basPublic.ChkStr and its updater and update-time cells are
// redrawn. Nothing for an item of another kind or of group 0. A run-time
// error shows the error report "従属グループの更新処理でエラーが発生しました。".
void Sub_UpdateDependentGroupFromMember(std::int16_t item);

// The measurement class of group item `item` changed: every member without
// a done-check takes the class and the stamp. A class other than 0 goes
// only to empty members (a blank value, a blank finding text for findings
// items, no judgement for group items); class 0 goes to all. On the screen
// the member's measurement-class list, updater and update-time cells and
// its result cell are redrawn ("(未実施)", "(測定不能)", "(≦<value>)" ...,
// or for class 0 the value, the finding text or the judgement mark). A
// member group item whose judgement has no mark warns "判定変換に失敗しま
// した。" with the code and ends the walk. Nothing for the overall item, an
// item of another kind or of group 0. A run-time error shows the error
// report "従属グループの更新処理でエラーが発生しました。".
void Sub_UpdateDependentGroupMembers(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_DEPENDENT_GROUPS_H_
