// Sub_LoadItemMaster: completes every record of the item table from the
// item master as it stood on the consultation date, with the item's
// standard range for the examinee, its findings combo entries and the two
// flags that depend on the logon user and the summary-findings rules.
//
// Runs once per load after the items and courses are collected and before
// the sort. Reads basFileAccess.QZKOMLFObj, QZHATLFObj and QZSYO4LFObj;
// shows its progress on the gauge of frmGuide and yields after each item.
#ifndef QZ_LOADING_ITEM_MASTER_H_
#define QZ_LOADING_ITEM_MASTER_H_

namespace qz {

// For each item, in table order, reads the newest item-master version on
// or before frmResultIn.HistoryDates[0] and copies its fields; the course
// values Keta, Kekano, Hantno, Syokno, Ngrp, Pjyun, Hjyun and Hgrp are taken
// from the master only where the course left them open. Numeric items (kind
// 1 and 2) with JHKBN 1 get their standard range (StdLow, StdHigh,
// StdGendate); other items empty bounds. Items with a findings type get
// its COMBO "1" rows appended to frmResultIn.SyoComboLists. Editable is set
// from basPublic.UserInputGroups, SougouDest from the auto-set rules.
//
// An item with no master version on or before the date shows
// "検査項目マスタが見つかりません。" and ends the set-up (the items after it
// keep what the courses gave them); the load goes on (true). A standard range
// that cannot be looked up shows "基準値の取得に失敗しました。" and the
// set-up goes on. Returns false, after the warning and unloading the result
// screen, when the item or findings master cannot be read or an item has no
// input group. A run-time error shows "検査項目情報の取得処理でエラーが発生
// しました。" and returns true.
bool Sub_LoadItemMaster();

}  // namespace qz

#endif  // QZ_LOADING_ITEM_MASTER_H_
