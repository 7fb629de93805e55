// The operator tools of the result screen's Ctrl and Alt function keys and
// sub-menu: clearing the entered results, resetting or setting every
// done-check, re-running the group judgements, deleting the stored results
// of the consultation, and the version and help dialogs. The main form's
// keyboard map asks the confirmations it owns (Ctrl+F3) before it calls.
//
// Each tool traps its own run-time errors and shows the result screen's
// error report with its job text. The bulk tools work on column 0 of
// frmResultIn.ResultMatrix only; nothing is written to the data files
// until the next save. User-interface thread only, with the main form made.
#ifndef QZ_TOOLS_FUNCTION_KEY_TOOLS_H_
#define QZ_TOOLS_FUNCTION_KEY_TOOLS_H_

namespace qz {

// Empties every current result (value, findings, ranges, option flag,
// updater; done-check, judgement, date and time 0; the measurement class
// stays) and the judgement marks of the group-jump list; redraws the grid.
// Job text "初期化処理でエラーが発生しました。".
void Sub_ClearResults();

// Done-check of every current result 0, then the grid redrawn.
// Job text "チェックの初期化処理でエラーが発生しました。".
void Sub_ResetDoneChecks();

// Done-check of every current result 1, then the grid redrawn.
// Job text "チェックの変更処理でエラーが発生しました。".
void Sub_SetDoneChecks();

// Asks "チェック済みでも更新しますか？" (Yes, No, Cancel); Cancel changes
// nothing. Otherwise runs the group judgement (Sub_JudgeGroup, mode 0) of
// every item in table order, Yes also updating done-checked group items;
// it stops when a judgement unloaded the result screen. Job text "チェックの変更処理でエラーが発生しました。".
void Sub_RejudgeAllGroups();

// Asks "結果を削除しますか？" (Yes, No). Yes deletes the stored results of
// the consultation with the deletion log (not quiet) and ends the examinee
// cycle, whatever the deletion reported; No does nothing.
// Job text "結果の削除処理でエラーが発生しました。".
void Sub_DeleteResultsAsk();

// Shows the version dialog frmVersion modally; the focus goes back to the
// result grid.
// Job text "バージョン情報の表示処理でエラーが発生しました。".
void Sub_ShowVersion();

// Shows the shortcut list frmHint modally; the focus goes back to the
// result grid. Job text "ヒントの表示処理でエラーが発生しました。".
void Sub_ShowHint();

}  // namespace qz

#endif  // QZ_TOOLS_FUNCTION_KEY_TOOLS_H_
