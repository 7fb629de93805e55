#include "tools/frm_opchk.h"

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmOpchk> frmOpchk;

FrmOpchk::FrmOpchk()
    : Form("frmOpchk"),
      flxOpchk(Add<grid::ListGrid>("flxOpchk")),
      cmdSave(Add<ui::CommandButton>("cmdSave")),
      cmdClose(Add<ui::CommandButton>("cmdClose")) {
  caption = "未実施検査一覧";
  width = 5400;
  height = 6600;
  flxOpchk.width = 4800;
  flxOpchk.height = 4800;
  cmdSave.caption = "終了";
  cmdClose.caption = "戻る";
  cmdClose.is_cancel = true;
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
