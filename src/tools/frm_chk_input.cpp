#include "tools/frm_chk_input.h"

#include <exception>
#include <string>

#include "data/count_input_rows.h"
#include "examinee/bas_public.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {

ui::FormSlot<FrmChkInput> frmChkInput;

namespace {

constexpr const char* kAllChecked = "全てチェック済みです。";
constexpr int kListWidth = 4800;
constexpr int kScrollBarAllowance = 450;

}  // namespace

FrmChkInput::FrmChkInput()
    : Form("frmChkInput"),
      flxItem(Add<grid::ListGrid>("flxItem")),
      lblCheck(Add<ui::Label>("lblCheck")),
      cmdSave(Add<ui::CommandButton>("cmdSave")),
      cmdClose(Add<ui::CommandButton>("cmdClose")) {
  caption = "未確定項目チェック";
  width = kListWidth + 360;
  height = 6000;
  flxItem.Move(120, 120, kListWidth, 4200);
  lblCheck.caption = kAllChecked;
  lblCheck.Move(120, 4440, kListWidth, 300);
  cmdSave.caption = "保存終了";
  cmdClose.caption = "戻る";
  cmdClose.is_cancel = true;
  for (ui::CommandButton* b : {&cmdSave, &cmdClose}) {
    b->top = 4860;
    b->width = kListWidth / 2 - 60;
    b->height = 495;
  }
  cmdSave.left = 120;
  cmdClose.left = 120 + kListWidth / 2 + 60;
  on_load = [this] { Form_Load(); };
  on_activate = [this] { Form_Activate(); };
  cmdSave.on_click = [this] { cmdSave_Click(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
  flxItem.on_mouse_up = [this](int, int, float, float) { flxItem_MouseUp(); };
  flxItem.on_click = [this] { flxItem_Click(); };
}

void FrmChkInput::Form_Load() {
  basPublic.ChkInputAnswer = 0;
  flxItem.SetCols(2);
  flxItem.SetRows(1);
  flxItem.SetFixedRows(1);
  flxItem.SetFixedCols(0);
  flxItem.SetColWidth(0, 0);
  flxItem.SetColWidth(1, flxItem.width - kScrollBarAllowance);
  flxItem.SetTextMatrix(0, 1, "未確定項目");
}

void FrmChkInput::Form_Activate() {
  FillList();
  if (flxItem.rows() > flxItem.fixed_rows()) lblCheck.caption.clear();
  if (!basPublic.AutoJudgeDone) lblCheck.caption = "自動判定が未実行です";
}

void FrmChkInput::FillList() {
  flxItem.visible = false;
  flxItem.SetRows(flxItem.fixed_rows());
  highlighted_row_ = -1;
  grid::Spread* spr = frmResultIn.sprResult;
  if (spr != nullptr) {
    for (int row : UnconfirmedRows(*spr)) {
      flxItem.AddItem(std::to_string(row) + "\t" + spr->TextAt(basPublic.ItemCol, row));
    }
  }
  flxItem.visible = true;
}

void FrmChkInput::cmdSave_Click() {
  basPublic.ChkInputAnswer = 1;
  Unload();
}

void FrmChkInput::cmdClose_Click() { Unload(); }

void FrmChkInput::flxItem_MouseUp() {
  flxItem.SetRowSel(flxItem.row());
  flxItem.SetColSel(flxItem.col());
}

void FrmChkInput::flxItem_Click() {
  try {
    const int line = flxItem.row();
    if (line >= flxItem.fixed_rows() && line < flxItem.rows()) {
      if (highlighted_row_ >= flxItem.fixed_rows() && highlighted_row_ < flxItem.rows()) {
        flxItem.SetCellBackColorAt(highlighted_row_, 1, ui::kSysWindowBackground);
      }
      flxItem.SetCellBackColorAt(line, 1, static_cast<ui::Color>(basPublic.ColorNgrpSelect));
      highlighted_row_ = line;
      grid::Spread* spr = frmResultIn.sprResult;
      const std::string row_text = flxItem.TextMatrix(line, 0);
      if (spr != nullptr && vb::IsNumeric(row_text)) {
        spr->col = basPublic.ChkCol;
        spr->row = static_cast<int>(vb::Val(row_text));
        spr->SetAction(grid::kActionActiveCell);
        // The grid is given the row once more so that it scrolls to it.
        spr->row = static_cast<int>(vb::Val(row_text));
        spr->SetAction(grid::kActionGotoCell);
      }
    }
  } catch (const std::exception&) {
    // The dialog closes whatever went wrong.
  }
  Unload();
}

}  // namespace qz
