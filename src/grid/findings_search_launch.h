// cmdSearch_Click: the findings search of the result screen for the row of
// the grid's active cell (the button "検索(F5)" of the main form, F5, the
// search entry of a findings list and the right mouse button).
//
// It checks that the row may be searched, fills the hand-off globals
// basPublic.SyoSearch* the dialog frmSyoComb reads, loads the dialog, locks
// the row's findings-code, result and done-check cells, disables
// frmGrpSel's "選択終了", sets basPublic.SyoSearchOpen and shows the dialog:
// modally when basPublic.SearchModal is not 0, the result then applied at
// once through tmrSyoSearch_Timer; modeless otherwise, polled by the main
// form's tmrSyoSearch (judgement/syo_search_handoff.h).
//
// The result screen's thread only, with a shell installed and the main form
// made.
#ifndef QZ_GRID_FINDINGS_SEARCH_LAUNCH_H_
#define QZ_GRID_FINDINGS_SEARCH_LAUNCH_H_

#include <cstdint>
#include <functional>
#include <string>

namespace qz {

// Refusals, in this order, each ending the launch:
// - the active column right of basPublic.SearchColMax, or an item only
//   earlier consultations have: nothing;
// - an item neither of findings nor judgement-coded: the status line
//   "  この項目の所見検索はできません。" and a beep;
// - the edit permission of the row refused (its check shows its message);
// - a done-checked result: the warning "「<name>」は" CR LF "チェックがついてる
//   ため変更できません。";
// - the overall judgement made (its check shows its message);
// - a search already open (or closed and not yet applied): the warning "所見検索画面は「<name of the item
//   being searched>」で開かれています。" and that dialog to the front;
// - a findings item that must be picked from its list but has no list:
//   "「<name>」は" CR LF "リストから選択して下さい。";
// - a judgement-coded item without a summary-findings item and none free:
//   the status line "  総合所見欄がいっぱいです。".
// Every refusal after the first three puts the result cell back to what
// the result matrix holds (ResultCellText). A judgement-coded item's search
// shows its summary-findings item (KomInfo.SougouDest), or else the first
// free one, which it takes only when a finding is decided and written.
// A findings item's search starts from the text its result cell shows (the
// stored one when the cell shows the search entry of its list).
//
// A dialog that has nothing to show (its tag "1" after loading) is unloaded
// and nothing is locked; when it found the one finding of a typed code
// (basPublic.SyoSearchDecided), the findings-code cell is emptied and that
// finding is applied as a decision (a code naming a heading is refused by
// the dialog and applies nothing).
//
// A run-time error shows the error report "検索ボタンのクリック処理でエラー
// が発生しました。".
void cmdSearch_Click();

// The text the result cell of item `item` (an item-table index) shows for
// its current result: the measurement class "(未実施)", "(測定不能)" or
// "(<sign><findings>)" when one is set; else for a judgement-coded item the
// mark of its judgement (empty for none or a code without a mark), for any
// other item its findings text trimmed.
std::string ResultCellText(std::int16_t item);

// The checks of other parts of the screen the launch asks. An empty check
// allows the search. The program runs with DefaultFindingsSearchChecks();
// tests replace them.
struct FindingsSearchChecks {
  // Whether the item of grid row `row` may be changed by the logged-on
  // user (shows its own message when not).
  std::function<bool(std::int32_t row)> edit_permission;
  // Whether a change of item `item` is refused because the overall
  // judgement has been made (shows its own message when so).
  std::function<bool(std::int16_t item)> overall_judged;
};
extern FindingsSearchChecks findingsSearchChecks;

// The program's checks: the edit permission of the row
// (Fnc_CheckEditPermission) and the overall-judgement lock
// (Fnc_CheckOverallJudged).
FindingsSearchChecks DefaultFindingsSearchChecks();

}  // namespace qz

#endif  // QZ_GRID_FINDINGS_SEARCH_LAUNCH_H_
