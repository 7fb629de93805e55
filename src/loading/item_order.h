// The item steps that follow the item master set-up: the display order of
// the item table (Sub_SortItems), the calculated items with the table
// indexes of their operands (Sub_BuildCalcItems) and the names of the input
// groups (Sub_EditInputGroups).
//
// A load runs Sub_SortItems right after the set-up, before any table that
// holds item indexes is built; the screen reload runs Sub_EditInputGroups
// again after rebuilding the input groups. Each returns whether the load
// goes on.
#ifndef QZ_LOADING_ITEM_ORDER_H_
#define QZ_LOADING_ITEM_ORDER_H_

namespace qz {

// Puts the item table into ascending order of (Ngrp, Hjyun, KomCode); the
// records themselves are unchanged. Any number of items. Returns true; a
// run-time error shows "ソート処理でエラーが発生しました。".
bool Sub_SortItems();

// Rebuilds frmResultIn.CalcItems: one entry per item of kind 2 in table
// order, with Opnd k the index of the item numbered Ktaino k (0 when no
// item has that number). Returns true; a run-time error shows "検査対象項目
// 情報の取得処理でエラーが発生しました。".
bool Sub_BuildCalcItems();

// Reads the name of every entry of frmResultIn.InputGroups from the
// input-group master (basFileAccess.QZGRPLFObj), blanks kept. Returns false,
// after the warning and unloading the result screen, when a group is not in
// the master ("入力グループマスタが登録されていません。") or cannot be read
// ("入力グループマスタの読み込みに失敗しました。"). A run-time error shows
// "入力グループの編集処理でエラーが発生しました。" and returns true.
bool Sub_EditInputGroups();

}  // namespace qz

#endif  // QZ_LOADING_ITEM_ORDER_H_
