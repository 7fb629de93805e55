#include "loading/group_forms.h"

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

FrmGrpSel::FrmGrpSel() : Form("frmGrpSel"), flxGroop(Add<grid::ListGrid>("flxGroop")) {
  caption = "入力グループ選択";
  ShapeList(flxGroop, 1, 20 * kJumpRowTwips);
}

FrmGrpJmp::FrmGrpJmp()
    : Form("frmGrpJmp"), flxGroop(Add<grid::ListGrid>("flxGroop")), lblInfo(Add<ui::Label>("lblInfo")) {
  caption = "入力グループ";
  ShapeList(flxGroop, 4, 20 * kJumpRowTwips);
}

}  // namespace qz
