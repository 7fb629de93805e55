// Sub_ReloadScreen: redraws the whole result screen after the display
// options or the stored results changed, under the progress window, with
// the main form hidden meanwhile.
//
// Callers:
//   Ctrl+F9 (read the results again)          reread true,  "QZKKKLF", rebuild true
//   chkPastDisp, optKirikae (other lines)     reread false, "QZKKKLF", rebuild true
//   the external automatic judgement          reread true,  "QJKKKLF", rebuild false
// The result screen's thread only; needs the main form (frmResultInForm)
// and the loaded consultation.
#ifndef QZ_GRID_SCREEN_RELOAD_H_
#define QZ_GRID_SCREEN_RELOAD_H_

#include <string_view>

namespace qz {

// In this order:
//  1. hides the main form, shows frmGuide modeless (owned by it) with an
//     empty state line and yields;
//  2. rebuild: with reread, rebuilds the jump list for the groups selected
//     in frmGrpSel now (Sub_NgrpJmpSet; a selection changed without
//     選択終了 included), shows the group-jump form (cmdGrpJmp_Click),
//     removes its Close item and marks the summary auto-set sources again
//     (forgetting their destinations); without, rebuilds the input groups,
//     their names, the selection and jump lists and shows the jump form;
//     then the item lines (Sub_JkoInfo);
//  3. state line "検査結果情報取得中", yield;
//  4. reread: reads the results again from `file_name` (Sub_LoadResults);
//  5. redraws every result cell (Sub_KekkaInfo);
//  6. rebuild: cell kinds, locks, frozen rows, and the cursor on
//     (basPublic.StartCol, StartRow) when that is an input cell, else on the
//     next input cell after it (Sub_GetCursorDestination with Enter);
//  7. shows the main form, focuses the grid and unloads frmGuide.
// A step that unloads the result screen (a master or result file that
// cannot be read) ends the reload there, with frmGuide unloaded. A run-time
// error shows the error report "結果入力画面の読み直し処理でエラーが発生
// しました。" and ends the reload; the main form is then shown again and
// frmGuide unloaded, so that the operator can go on and save.
void Sub_ReloadScreen(bool reread, std::string_view file_name, bool rebuild);

}  // namespace qz

#endif  // QZ_GRID_SCREEN_RELOAD_H_
