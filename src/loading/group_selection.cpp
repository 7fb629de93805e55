// The handlers of frmGrpSel, the choice of the input groups the result
// screen shows.
#include <algorithm>
#include <exception>

#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "grid/cell_kinds.h"
#include "grid/frozen_rows.h"
#include "loading/group_forms.h"
#include "loading/input_groups.h"
#include "loading/item_rows.h"
#include "loading/result_cells.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/runtime/app.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"

namespace qz {

namespace {

constexpr const char* kKeyboardJob = "入力グループ選択のキーボード処理でエラーが発生しました";

// The result screen: the form of the result grid (null before the screen
// has its grid).
ui::Form* ResultScreen() {
  return frmResultIn.sprResult != nullptr ? frmResultIn.sprResult->form() : nullptr;
}

// True when some row of `list` is selected.
bool AnyRowSelected(const grid::ListGrid& list) {
  for (int r = 0; r < list.rows(); ++r) {
    if (list.CellBackColorAt(r, 0) == NgrpSelectColor()) return true;
  }
  return false;
}

// Shows the result screen and the jump list again and closes the progress
// window.
void ShowScreenAgain(ui::Form* screen) {
  if (screen != nullptr) screen->Show();
  frmGrpJmp->Show();
  if (frmGuide.loaded()) frmGuide->Unload();
}

// Draws the result screen for the groups selected in the list.
void RebuildScreen() {
  Sub_NgrpJmpSet();
  Sub_JkoInfo();
  Sub_KekkaInfo();
  Sub_SprSet();
  Sub_LockSet();
  Sub_SprFix();
}

}  // namespace

void FrmGrpSel::flxGroop_Click() {
  try {
    if (flxGroop.rows() == 0) return;
    const int from = std::min(flxGroop.row(), flxGroop.row_sel());
    const int to = std::max(flxGroop.row(), flxGroop.row_sel());
    for (int r = from; r <= to; ++r) {
      flxGroop.SetRow(r);
      const bool selected = flxGroop.CellBackColorAt(r, 0) == NgrpSelectColor();
      flxGroop.SetCellBackColorAt(r, 0, selected ? NgrpDefaultColor() : NgrpSelectColor());
    }
  } catch (const std::exception& e) {
    ShowErrorReport(kKeyboardJob, e);
  }
}

void FrmGrpSel::flxGroop_KeyUp(int& key_code, int /*shift*/) {
  try {
    if (key_code == grid::kKeyReturn) flxGroop_Click();
  } catch (const std::exception& e) {
    ShowErrorReport(kKeyboardJob, e);
  }
}

void FrmGrpSel::cmdSelectEnd_Click() {
  // The rebuild yields: no input until the screen is back.
  ui::WorkInProgress busy;
  ui::Form* screen = ResultScreen();
  try {
    if (!AnyRowSelected(flxGroop)) {
      ui::MsgBox("グループが選択されていません。", ui::MsgButtons::kOk, ui::MsgIcon::kNone, App().title);
      return;
    }
    frmGuide->Show(false, this);
    frmGuide->lblState.caption = "結果情報表示中";
    ui::DoEvents();

    flxGroop.SetRow(0);
    Hide();
    if (screen != nullptr) screen->Hide();
    frmGrpJmp->Hide();

    RebuildScreen();

    if (screen != nullptr) screen->Move(0, 0);
    ShowScreenAgain(screen);

    grid::Spread* spr = frmResultIn.sprResult;
    if (spr != nullptr) {
      spr->col = basPublic.ResultCol;
      spr->row = basPublic.DataRow;
      spr->SetAction(grid::kActionGotoTop);
      spr->SetAction(grid::kActionActiveCell);
      spr->SetFocus();
    }
    if (screen != nullptr) {
      screen->SetEnabled(true);
      screen->SetFocus();
    }
  } catch (const std::exception& e) {
    ShowErrorReport(kKeyboardJob, e);
    // The operator must not be left without a screen.
    try {
      ShowScreenAgain(screen);
      if (screen != nullptr) screen->SetEnabled(true);
    } catch (const std::exception& again) {
      ShowErrorReport(kKeyboardJob, again);
    }
  }
}

void FrmGrpSel::cmd_Click() { SetWindowState(ui::WindowState::kMinimized); }

}  // namespace qz
