// The input groups of the loaded consultation: the list of groups the
// screen shows (frmResultIn.InputGroups, with each shown item's NgrpIndex),
// the group-selection list of frmGrpSel and the group-jump list of
// frmGrpJmp.
//
// A load runs them in this order, with the group names read in between
// (Sub_EditInputGroups after Sub_BuildInputGroupList); the group selection
// runs Sub_NgrpJmpSet alone. They need the item table sorted. Each returns
// true (the load goes on): a run-time error shows its error report and ends
// the routine, keeping what was built.
#ifndef QZ_LOADING_INPUT_GROUPS_H_
#define QZ_LOADING_INPUT_GROUPS_H_

namespace qz {

// Rebuilds frmResultIn.InputGroups from the items the screen shows
// (IsItemShown): a group opens at each change of Ngrp between consecutive
// shown items (an Ngrp of 0 before any group opens none) with FirstItem the
// item's index; every shown item gets NgrpIndex = the group count so far
// minus 1. Items not shown keep their NgrpIndex. Error report
// "入力グループ情報の表示処理でエラーが発生しました。".
bool Sub_BuildInputGroupList();

// Refills frmGrpSel.flxGroop with one row per input group (its Name),
// selected when basPublic.UserDspKbn is 1 or the group is one of the logon
// user's input groups (basPublic.UserInputGroups up to the first 0); column 0
// is 4000 wide. Error report "入力グループ（選択画面）のセット処理でエラーが
// 発生しました。".
bool Sub_SetGroupSelectList();

// Hides frmGrpJmp and refills its list with the groups selected in
// frmGrpSel (name, and in column 3 the group's position minus 1);
// frmResultIn.JumpStartRow becomes the row of basPublic.UserFirstGroup,
// which is shown selected, or 0 when that group is not listed. Column 0 is
// 3000 wide, or for a user of display class 1 2500 when every row fits the
// list's height (height / 289 greater than the row count) and 2200 when not;
// columns 1 and 3 are hidden, column 2 is 300 wide. Error report
// "入力グループ（ジャンプ画面）のセット処理でエラーが発生しました。".
bool Sub_NgrpJmpSet();

}  // namespace qz

#endif  // QZ_LOADING_INPUT_GROUPS_H_
