#include "grid/screen_reload.h"

#include <cstdint>

#include "data/close_erase.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/frm_result_in.h"
#include "grid/cell_kinds.h"
#include "grid/cursor_destination.h"
#include "grid/frozen_rows.h"
#include "grid/grid_procedure.h"
#include "judgement/summary_findings.h"
#include "loading/group_forms.h"
#include "loading/input_groups.h"
#include "loading/item_order.h"
#include "loading/item_rows.h"
#include "loading/load_state.h"
#include "loading/result_cells.h"
#include "loading/result_load.h"
#include "platform/grid/spread.h"
#include "platform/ui/shell.h"
#include "platform/ui/work_in_progress.h"

namespace qz {

namespace {

void SetState(const char* text) {
  frmGuide->lblState.caption = text;
  ui::DoEvents();
}

// Step 2: the input groups and the item lines. False when a step unloaded
// the result screen.
bool RebuildLines(FrmResultIn& form, bool reread) {
  if (reread) {
    // The groups selected now, 選択終了 pressed or not, are the lines drawn
    // below: the jump list gets a row for each of them.
    if (!Sub_NgrpJmpSet()) return false;
    form.cmdGrpJmp_Click();
    Sub_CloseErase(*frmGrpJmp);
    Sub_MarkSummaryAutoSetSources();
  } else {
    if (!Sub_BuildInputGroupList() || !Sub_EditInputGroups() || !Sub_SetGroupSelectList() || !Sub_NgrpJmpSet()) {
      return false;
    }
    frmGrpJmp->Show();
  }
  return Sub_JkoInfo();
}

// Step 6: the cursor on the first input cell from (StartCol, StartRow).
void PlaceCursor(grid::Spread& spr) {
  std::int32_t row = basPublic.StartRow;
  std::int32_t col = basPublic.StartCol;
  const CellKindTable& kinds = frmResultIn.CellKinds;
  if (!kinds.Contains(col, row) || kinds(col, row) != kCellInput) {
    Sub_GetCursorDestination(basPublic.StartRow, basPublic.StartCol, kEnterKey, row, col);
  }
  spr.block_mode = false;
  spr.row = row;
  spr.col = col;
  spr.SetAction(grid::kActionActiveCell);
}

// Steps 1 to 6; false when a step unloaded the result screen.
bool Reload(FrmResultIn& form, bool reread, std::string_view file_name, bool rebuild) {
  form.Hide();
  frmGuide->Show(false, &form);
  SetState("");
  if (rebuild && !RebuildLines(form, reread)) return false;
  SetState("検査結果情報取得中");
  if (reread && !Sub_LoadResults(file_name)) return false;
  Sub_KekkaInfo();
  if (rebuild) {
    Sub_SprSet();
    Sub_LockSet();
    Sub_SprFix();
    PlaceCursor(ResultGrid());
  }
  return true;
}

// Step 7.
void ShowScreen(FrmResultIn& form) {
  form.Show();
  form.SetFocusTo(&form.sprResult);
}

}  // namespace

void Sub_ReloadScreen(bool reread, std::string_view file_name, bool rebuild) {
  ui::WorkInProgress busy;
  FrmResultIn& form = *frmResultInForm;
  bool shown = false;
  const bool done = RunGridProcedure("結果入力画面の読み直し処理でエラーが発生しました。", [&] {
    if (Reload(form, reread, file_name, rebuild)) {
      ShowScreen(form);
      shown = true;
    }
  });
  if (!done && !shown && form.loaded()) {
    RunGridProcedure("結果入力画面の読み直し処理でエラーが発生しました。", [&] { ShowScreen(form); });
  }
  frmGuide->Unload();
}

}  // namespace qz
