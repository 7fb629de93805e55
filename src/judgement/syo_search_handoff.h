// The hand-off of the findings search: how the result screen learns that
// the findings dialog (frmSyoComb) has closed, and how it applies what the
// dialog decided to the item searched.
//
// The launch from the grid fills the inputs of basPublic.SyoSearch*, sets
// frmResultIn.SyoSearchRow / SyoSearchItem, locks the row's findings-code,
// result and done-check cells, disables frmGrpSel's "選択終了" and sets
// basPublic.SyoSearchOpen. Then either it shows the dialog modally and calls
// tmrSyoSearch_Timer once when it closes, or it starts the polling
// (Sub_StartSyoSearchPolling) and shows the dialog modeless.
//
// The result screen's thread only, with a shell installed.
#ifndef QZ_JUDGEMENT_SYO_SEARCH_HANDOFF_H_
#define QZ_JUDGEMENT_SYO_SEARCH_HANDOFF_H_

#include <cstdint>
#include <functional>

namespace qz {

// Poll interval of frmResultIn.tmrSyoSearch.
inline constexpr int kSyoSearchPollMs = 1000;

// Whether the findings dialog is still open: true while frmSyoComb is
// loaded and visible. A dialog loaded but hidden is unloaded here and
// counts as closed. (The dialog is asked directly rather than by its window
// title, so a window of that title in another program never holds the
// polling.) Any error gives false.
bool Fnc_SyoSearchWindowOpen();

// Binds frmResultIn.tmrSyoSearch to tmrSyoSearch_Timer with the poll
// interval and enables it: the modeless launch's start of the polling.
void Sub_StartSyoSearchPolling();

// The timer event of frmResultIn.tmrSyoSearch, also called once by the
// modal launch. While the dialog is open: nothing. Otherwise it stops the
// timer, applies the result (Sub_ApplyFindingSearchResult), enables
// frmGrpSel's "選択終了", clears basPublic.SyoSearchOpen, makes the searched
// row the grid's current row and gives its findings-code, result and
// done-check cells back the locks of their cell kinds (Sub_LockCellByKind),
// gives the grid the focus, and sets SyoSearchRow and SyoSearchItem to 0. A run-time error shows the error report
// "所見検索のタイマー処理でエラーが発生しました。".
void tmrSyoSearch_Timer();

// Applies the dialog's result to item frmResultIn.SyoSearchItem (row
// frmResultIn.SyoSearchRow):
// - not decided: a findings item's result cell gets basPublic.SyoSearchText
//   trimmed back (the text at entry) when it is the grid's active cell,
//   else its stored finding (the cursor that left the row never enters
//   that text); nothing else changes;
// - decided: the mark of basPublic.SyoSearchHan (empty, in the default
//   colour letter, for an empty text or judgement 0; a code without a mark
//   warns "判定変換に失敗しました。" and ends the apply), then on the target
//   (the findings item itself, else the judgement item's summary-findings
//   item) the judgement (0 for an empty text), findings text, updater and
//   time stamps, the
//   measurement class of "(未実施)" / "(測定不能)", the cells and their
//   colour (a summary-findings item written becomes the judgement item's
//   own, Sub_ClaimSummaryItem), the summary-findings auto-set and the group
//   judgement of the searched item, whatever its automatic-judgement class.
//   A target without a grid line is stored
//   without drawing; a done-checked target is not written (the warning
//   "「<name>」は" CR LF "チェックがついてるため変更できません。"). A
//   findings item whose decided finding is not written (no mark, or
//   done-checked) shows its stored finding again in place of the search's
//   text. Then the grid's Enter handling moves the cursor on
//   (once more when it stayed on the row), and a judgement item reports
//   "  <target> に所見をセットしました。" in the status line.
// Either way a findings item's findings-code cell that still holds the
// reading code searched by, and is not the grid's active cell, shows its
// stored text again (RestoreCellEntry): nothing would enter that code.
// A run-time error shows the error report "所見検索画面が閉じられた後の
// 処理でエラーが発生しました。".
void Sub_ApplyFindingSearchResult();

// The item (item-table index) a decision of the search of item `item` is
// written to: a findings item itself; any other its summary-findings item,
// KomInfo.SougouDest when set, else the one syoSearchSteps.find_summary_item
// gives; 0 none. `item` must be in the item table.
std::int16_t Fnc_SearchTargetItem(std::int16_t item);

// The steps of other parts of the screen that the apply runs. An empty
// step is skipped (find_summary_item then finds none). The defaults find
// the first free summary-findings item (Fnc_FindSummaryFindingItem) and run
// the summary-findings auto-set and the group judgement; the grid's Enter
// handling is set by the result screen once it has it. Tests replace them.
struct SyoSearchSteps {
  // The summary-findings item (item-table index) that receives a judgement
  // item's findings; 0 none.
  std::function<std::int16_t(std::int16_t item)> find_summary_item;
  // The summary-findings auto-set of an item (Sub_AutoSetSummaryFindings).
  std::function<void(std::int16_t item)> auto_set_summary;
  // The group judgement after a change of an item (Sub_JudgeGroup(item, 0, 0)).
  std::function<void(std::int16_t item)> judge_group;
  // The grid's Enter handling on its active cell (sprResult_KeyDown with
  // Enter and no shift).
  std::function<void()> grid_enter;
};
extern SyoSearchSteps syoSearchSteps;

// The steps the program starts with.
SyoSearchSteps DefaultSyoSearchSteps();

}  // namespace qz

#endif  // QZ_JUDGEMENT_SYO_SEARCH_HANDOFF_H_
