#include "loading/group_forms.h"

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmGrpSel> frmGrpSel;
ui::FormSlot<FrmGrpJmp> frmGrpJmp;

namespace {

const ui::Font kListFont{"ＭＳ ゴシック", 9, false};

// Designed sizes (twips). The jump window stands beside the main form and
// has its height; the start fits its list and label to the work area, the
// list 2540 and the label's top 2310 above the window's bottom.
constexpr int kSelWidth = 4500;
constexpr int kSelListHeight = 20 * kJumpRowTwips;
constexpr int kJmpWidth = 3120;
constexpr int kJmpHeight = 11400;

// An empty list of `cols` columns without header rows or columns.
void ShapeList(grid::ListGrid& list, int cols) {
  list.SetFixedRows(0);
  list.SetFixedCols(0);
  list.SetCols(cols);
  list.SetRows(0);
  list.font = kListFont;
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
  Move(0, 0, kSelWidth, kSelListHeight + 1100);
  ShapeList(flxGroop, 1);
  flxGroop.Move(0, 0, kSelWidth - 120, kSelListHeight);
  cmdSelectEnd.caption = "選択終了";
  cmdSelectEnd.Move(120, kSelListHeight + 120, 2000, 420);
  cmd.caption = "戻る";
  cmd.Move(2280, kSelListHeight + 120, 2000, 420);
  flxGroop.on_click = [this] { flxGroop_Click(); };
  flxGroop.on_key_up = [this](int& key_code, int shift) { flxGroop_KeyUp(key_code, shift); };
  cmdSelectEnd.on_click = [this] { cmdSelectEnd_Click(); };
  cmd.on_click = [this] { cmd_Click(); };
  on_query_unload = [this](int& cancel, int unload_mode) { Form_QueryUnload(cancel, unload_mode); };
}

FrmGrpJmp::FrmGrpJmp()
    : Form("frmGrpJmp"), flxGroop(Add<grid::ListGrid>("flxGroop")), lblInfo(Add<ui::Label>("lblInfo")) {
  caption = "入力グループ";
  Move(0, 0, kJmpWidth, kJmpHeight);
  ShapeList(flxGroop, 4);
  flxGroop.Move(0, 0, kJmpWidth - 120, kJmpHeight - 2540);
  lblInfo.Move(60, kJmpHeight - 2310, kJmpWidth - 240, 1800);
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
