#include "tools/frm_opchk.h"

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmOpchk> frmOpchk;

FrmOpchk::FrmOpchk()
    : Form("frmOpchk"),
      flxOpchk(Add<grid::ListGrid>("flxOpchk")),
      lblCheck(Add<ui::Label>("lblCheck")),
      cmdSave(Add<ui::CommandButton>("cmdSave")),
      cmdClose(Add<ui::CommandButton>("cmdClose")) {
  caption = "未実施検査一覧";
  width = 5160;
  height = 6000;
  flxOpchk.Move(120, 120, 4800, 4200);
  flxOpchk.SetFixedRows(0);
  flxOpchk.SetFixedCols(0);
  flxOpchk.SetCols(1);
  flxOpchk.SetRows(0);
  lblCheck.caption = "未実施の検査はありません。";
  lblCheck.Move(120, 4440, 4800, 300);
  cmdSave.caption = "終了";
  cmdClose.caption = "戻る";
  cmdClose.is_cancel = true;
  for (ui::CommandButton* b : {&cmdSave, &cmdClose}) {
    b->top = 4860;
    b->width = 2340;
    b->height = 495;
  }
  cmdSave.left = 120;
  cmdClose.left = 2580;
  on_load = [this] { Form_Load(); };
  cmdSave.on_click = [this] { cmdSave_Click(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
}

void FrmOpchk::Form_Load() { basPublic.OpchkAnswer = 0; }

void FrmOpchk::cmdSave_Click() {
  basPublic.OpchkAnswer = 1;
  Unload();
}

void FrmOpchk::cmdClose_Click() { Unload(); }

}  // namespace qz
