#include "loading/group_forms.h"

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmGrpSel> frmGrpSel;
ui::FormSlot<FrmGrpJmp> frmGrpJmp;

namespace {

const ui::Font kListFont{"ＭＳ ゴシック", 9, false};

// An empty list of `cols` columns without header rows or columns.
void ShapeList(grid::ListGrid& list, int cols, int height) {
  list.SetFixedRows(0);
  list.SetFixedCols(0);
  list.SetCols(cols);
  list.SetRows(0);
  list.font = kListFont;
  list.height = height;
}

}  // namespace

ui::Color NgrpSelectColor() { return static_cast<ui::Color>(basPublic.ColorNgrpSelect); }
ui::Color NgrpDefaultColor() { return static_cast<ui::Color>(basPublic.ColorNgrpDefault); }

FrmGrpSel::FrmGrpSel()
    : Form("frmGrpSel"),
      flxGroop(Add<grid::ListGrid>("flxGroop")),
      cmdSelectEnd(Add<ui::CommandButton>("cmdSelectEnd")),
      cmd(Add<ui::CommandButton>("cmd")) {
  caption = "入力グループ選択";
  ShapeList(flxGroop, 1, 20 * kJumpRowTwips);
  cmdSelectEnd.caption = "選択終了";
  cmd.caption = "戻る";
  flxGroop.on_click = [this] { flxGroop_Click(); };
  flxGroop.on_key_up = [this](int& key_code, int shift) { flxGroop_KeyUp(key_code, shift); };
  cmdSelectEnd.on_click = [this] { cmdSelectEnd_Click(); };
  cmd.on_click = [this] { cmd_Click(); };
  on_query_unload = [this](int& cancel, int unload_mode) { Form_QueryUnload(cancel, unload_mode); };
}

FrmGrpJmp::FrmGrpJmp()
    : Form("frmGrpJmp"), flxGroop(Add<grid::ListGrid>("flxGroop")), lblInfo(Add<ui::Label>("lblInfo")) {
  caption = "入力グループ";
  ShapeList(flxGroop, 4, 20 * kJumpRowTwips);
  flxGroop.on_click = [this] { flxGroop_Click(); };
  flxGroop.on_key_up = [this](int& key_code, int shift) { flxGroop_KeyUp(key_code, shift); };
  on_query_unload = [this](int& cancel, int unload_mode) { Form_QueryUnload(cancel, unload_mode); };
}

void FrmGrpSel::Form_QueryUnload(int& cancel, int unload_mode) {
  if (unload_mode == ui::kUnloadControlMenu) cancel = 1;
}

void FrmGrpJmp::Form_QueryUnload(int& cancel, int unload_mode) {
  if (unload_mode == ui::kUnloadControlMenu) cancel = 1;
}

}  // namespace qz
