#include "judgement/syo_search_handoff.h"

#include <exception>
#include <string>

#include "data/bas_rank_change.h"
#include "data/error_report.h"
#include "examinee/bas_get_user_info.h"
#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/cell_colors.h"
#include "grid/cell_kinds.h"
#include "grid/findings_search_launch.h"
#include "grid/item_row_map.h"
#include "grid/last_write.h"
#include "grid/typed_entry.h"
#include "judgement/frm_syo_comb.h"
#include "judgement/group_judgement.h"
#include "judgement/summary_auto_set.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/clock/clock.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"

namespace qz {

SyoSearchSteps syoSearchSteps = DefaultSyoSearchSteps();

SyoSearchSteps DefaultSyoSearchSteps() {
  SyoSearchSteps steps;
  steps.find_summary_item = [](std::int16_t) { return Fnc_FindSummaryFindingItem(); };
  steps.auto_set_summary = [](std::int16_t item) { Sub_AutoSetSummaryFindings(item); };
  steps.judge_group = [](std::int16_t item) { Sub_JudgeGroup(item, kJudgeModeEntry, kJudgeForceNo); };
  return steps;
}

namespace {

constexpr std::string_view kNotDone = "(未実施)";
constexpr std::string_view kNotMeasurable = "(測定不能)";
constexpr const char* kCrLf = "\r\n";

grid::Spread& ResultGrid() {
  if (frmResultIn.sprResult == nullptr) throw RunTimeError(kErrObjectRequired);
  return *frmResultIn.sprResult;
}

// The three cells of the searched row that the launch locked get back the
// locks of their cell kinds.
void RelockSearchedRow(std::int32_t row) {
  for (int col : {basPublic.SyoCodeCol, basPublic.ResultCol, basPublic.ChkCol}) Sub_LockCellByKind(col, row);
}

// Measurement class and combo entry of a decided text; entry -2 leaves the
// class alone.
struct SokuteiChoice {
  int entry;
  std::int16_t sokutei;
};

SokuteiChoice SokuteiOf(const std::string& text) {
  if (text.empty()) return {-2, kSokuteiNone};
  if (text == kNotDone) return {0, kSokuteiNotPerformed};
  if (text == kNotMeasurable) return {1, kSokuteiUnmeasurable};
  return {-1, kSokuteiNone};
}

// Writes the decided finding into item `target`, drawn on grid row `row`
// (0: the item has no grid line).
void WriteTarget(std::int16_t target, std::int32_t row, const std::string& text, const std::string& mark,
                 const std::string& letter) {
  grid::Spread& spr = ResultGrid();
  KekkaData& result = frmResultIn.ResultMatrix(target, 0);
  // An empty finding carries no judgement: none that nothing would show.
  result.Han = text.empty() ? std::int16_t{0} : basPublic.SyoSearchHan;
  result.Syoken = text;
  result.User = basPublic.LogonUserId;
  const LocalDateTime now = Now();
  result.Ymd = now.Ymd();
  result.Hms = now.Hms();
  const SokuteiChoice sokutei = SokuteiOf(text);
  if (sokutei.entry != -2) result.Sokutei = sokutei.sokutei;
  if (row <= 0) return;

  spr.SetText(basPublic.HanCol, row, vb::Trim(mark));
  spr.SetText(basPublic.ResultCol, row, text);
  spr.SetText(basPublic.UpdateCol, row, vb::Trim(Fnc_GetUserName(result.User)));
  spr.SetText(basPublic.UptimeCol, row, Fnc_FormatLastWrite(target));
  if (sokutei.entry != -2) spr.SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row), sokutei.entry);
  Sub_SetCellForeColor(basPublic.ResultCol, row, letter);
  Sub_SetCellForeColor(basPublic.HanCol, row, letter);
}

// A findings item's row that shows "所見検索中です" while its decided
// finding is not written shows what it holds again: the searching text is
// never left to be taken as typed.
void ShowStoredFinding(std::int16_t item, std::int32_t row) {
  if (frmResultIn.ItemTable[item].Ksyub != kKsyubFindings || row <= 0) return;
  ResultGrid().SetText(basPublic.ResultCol, row, ResultCellText(item));
}

bool CursorIn(std::int32_t col, std::int32_t row) {
  const grid::Spread& spr = ResultGrid();
  return spr.active_col() == col && spr.active_row() == row;
}

// Closed without a decision: a findings item's result cell gets back the
// text it had when the search started (typed and not entered, maybe) while
// the cursor is in it, for the operator to go on with. A cursor gone
// elsewhere would never enter that text: the cell shows what is kept.
void GiveEntryTextBack(std::int16_t item, std::int32_t row) {
  if (frmResultIn.ItemTable[item].Ksyub != kKsyubFindings) return;
  if (!CursorIn(basPublic.ResultCol, row)) {
    ShowStoredFinding(item, row);
    return;
  }
  ResultGrid().SetText(basPublic.ResultCol, row, vb::Trim(basPublic.SyoSearchText));
}

// The reading code a findings item was searched by, left in its
// findings-code cell: with no cursor there to enter it, the cell shows what
// is kept.
void DropCodeOffCursor(std::int16_t item, std::int32_t row) {
  if (frmResultIn.ItemTable[item].Ksyub != kKsyubFindings || row <= 0) return;
  if (CursorIn(basPublic.SyoCodeCol, row) || vb::Trim(ResultGrid().TextAt(basPublic.SyoCodeCol, row)).empty()) return;
  RestoreCellEntry(basPublic.SyoCodeCol, row);
}

void ApplyDecided(std::int16_t item, std::int32_t row) {
  const KomInfo& kom = frmResultIn.ItemTable[item];
  const std::string text = vb::Trim(basPublic.SyoSearchText);
  std::string mark;
  std::string letter = frmResultIn.DefaultColorLetter;
  if (!text.empty() && basPublic.SyoSearchHan != 0 &&
      Fnc_JudgeCodeToMark(basPublic.SyoSearchHan, mark, letter) != 0) {
    ui::MsgBox("判定変換に失敗しました。" + std::string(kCrLf) + "判定コード : " +
                   std::to_string(basPublic.SyoSearchHan) + kCrLf + "項目名 : " + kom.KomName,
               ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力");
    ShowStoredFinding(item, row);
    return;
  }

  std::int16_t target = Fnc_SearchTargetItem(item);
  std::int32_t target_row = 0;
  if (target == item) {
    target_row = row;
  } else if (target > 0) {
    const std::int16_t line = Fnc_FindItemRow(target);
    target_row = line > 0 ? Fnc_ItemToRow(line) : 0;
  }

  if (target > 0 && frmResultIn.ResultMatrix(target, 0).Hekbn == 1) {
    // A confirmed finding is not rewritten.
    ui::MsgBox("「" + frmResultIn.ItemTable[target].KomName + "」は" + kCrLf + "チェックがついてるため変更できません。",
               ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力");
    if (target == item) ShowStoredFinding(item, row);
    target = 0;
  }
  if (target > 0) {
    WriteTarget(target, target_row, text, mark, letter);
    if (target != item) Sub_ClaimSummaryItem(item, target);
    if (syoSearchSteps.auto_set_summary) syoSearchSteps.auto_set_summary(target);
    // Whatever its class, as the same finding picked from the list.
    if (syoSearchSteps.judge_group) syoSearchSteps.judge_group(item);
  }

  grid::Spread& spr = ResultGrid();
  for (int pass = 0; pass < 2 && spr.active_row() == row && syoSearchSteps.grid_enter; ++pass) {
    syoSearchSteps.grid_enter();
  }

  if (kom.Ksyub == kKsyubGroupJudgement && target > 0) {
    frmResultInForm->lblStatus.caption =
        "  " + vb::Trim(frmResultIn.ItemTable[target].KomName) + " に所見をセットしました。";
  }
}

}  // namespace

bool Fnc_SyoSearchWindowOpen() {
  try {
    if (!frmSyoComb.loaded()) return false;
    if (frmSyoComb->visible()) return true;
    frmSyoComb->Unload();
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

std::int16_t Fnc_SearchTargetItem(std::int16_t item) {
  const KomInfo& kom = frmResultIn.ItemTable[item];
  if (kom.Ksyub == kKsyubFindings) return item;
  if (kom.SougouDest > 0) return kom.SougouDest;
  return syoSearchSteps.find_summary_item ? syoSearchSteps.find_summary_item(item) : std::int16_t{0};
}

void Sub_StartSyoSearchPolling() {
  ui::Timer& timer = frmResultInForm->tmrSyoSearch;
  timer.interval = kSyoSearchPollMs;
  timer.on_timer = [] { tmrSyoSearch_Timer(); };
  timer.enabled = true;
}

void tmrSyoSearch_Timer() {
  try {
    if (Fnc_SyoSearchWindowOpen()) return;
    frmResultInForm->tmrSyoSearch.enabled = false;
    Sub_ApplyFindingSearchResult();
    frmGrpSel->cmdSelectEnd.enabled = true;
    basPublic.SyoSearchOpen = false;
    grid::Spread& spr = ResultGrid();
    spr.row = frmResultIn.SyoSearchRow;
    RelockSearchedRow(frmResultIn.SyoSearchRow);
    FrmResultIn& form = frmResultInForm.get();
    if (form.visible() && spr.CanFocus()) form.SetFocusTo(&spr);
    frmResultIn.SyoSearchRow = 0;
    frmResultIn.SyoSearchItem = 0;
  } catch (const std::exception& e) {
    ShowErrorReport("所見検索のタイマー処理でエラーが発生しました。", e);
  }
}

void Sub_ApplyFindingSearchResult() {
  try {
    const std::int16_t item = frmResultIn.SyoSearchItem;
    const std::int32_t row = frmResultIn.SyoSearchRow;
    if (basPublic.SyoSearchDecided) {
      ApplyDecided(item, row);
    } else {
      GiveEntryTextBack(item, row);
    }
    DropCodeOffCursor(item, row);
  } catch (const std::exception& e) {
    ShowErrorReport("所見検索画面が閉じられた後の処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
