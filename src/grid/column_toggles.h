// The optional columns of the result grid: switching them between hidden
// (width 0) and shown at their width setting, the measurement-class column
// by the check box chkSokutei of the main form, and the width of a result
// column (the current one or an earlier consultation's) between short and
// long.
//
// Widths changed here last until the next examinee load sets every width
// from the settings again; nothing is saved. Called from the main form's
// function keys, its sub-menu, the check box chkSokutei and a click on a
// result column's title; the result screen's thread only. Each routine
// shows the error report with its job text on a run-time error (a screen
// without its grid among them) and returns.
#ifndef QZ_GRID_COLUMN_TOGGLES_H_
#define QZ_GRID_COLUMN_TOGGLES_H_

#include <cstdint>

namespace qz {

// Ctrl+F2, sub-menu 0: basPublic.UpdateCol between 0 and WidthUpdate.
// Job text "更新者欄の幅変更処理でエラーが発生しました。".
void Sub_ToggleUpdaterColumn();

// Ctrl+F11, sub-menu 1: basPublic.UptimeCol between 0 and WidthUptime.
// Job text "更新日時欄の幅変更処理でエラーが発生しました。".
void Sub_ToggleUpdateTimeColumn();

// Ctrl+F8, sub-menu 2: basPublic.HanCol between 0 and WidthHan.
// Job text "判定欄の幅変更処理でエラーが発生しました。".
void Sub_ToggleJudgeColumn();

// Ctrl+F7, sub-menu 3: basPublic.HanSyoCol between 0 and WidthHanSyo.
// Job text "判定所見欄の幅変更処理でエラーが発生しました。".
void Sub_ToggleJudgeFindingColumn();

// basPublic.SokuteiCol gets WidthSokutei while chkSokutei is ticked
// (value 1), else 0. Job text "測定区分欄の幅変更処理でエラーが発生しました。".
void Sub_ToggleMeasureClassColumn();

// Fits result column `col` of width w. The long width is WidthLong less
// WidthSokutei while chkSokutei is ticked, else WidthLong.
//   w = WidthShort: `toggle` true makes it long; false leaves it.
//   any other w:    `toggle` true makes it WidthShort; false makes it long.
// So a short column stays short when the measurement-class column comes or
// goes, and a long one keeps result and class column together at WidthLong.
// Job text "結果欄の幅変更処理でエラーが発生しました。".
void Sub_FitResultColumn(std::int32_t col, bool toggle);

}  // namespace qz

#endif  // QZ_GRID_COLUMN_TOGGLES_H_
