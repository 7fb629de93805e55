#include "tools/frm_copy.h"

#include <exception>

#include "examinee/bas_public.h"
#include "platform/text/vb.h"

namespace qz {

ui::FormSlot<FrmCopy> frmCopy;

namespace {

constexpr const char* kChecked = "1";
constexpr const char* kUnchecked = "0";

// Runs `step` for every data row of `list`, going on past a row that fails.
template <class Step>
void ForEachRow(grid::Spread& list, Step step) {
  for (int row = 1; row <= list.max_rows(); ++row) {
    try {
      step(row);
    } catch (const std::exception&) {
      // The next row all the same.
    }
  }
}

void PlaceButton(ui::CommandButton& b, const char* caption, int left) {
  b.caption = caption;
  b.Move(left, 5400, 1815, 495);
}

}  // namespace

FrmCopy::FrmCopy()
    : Form("frmCopy"),
      sprList(Add<grid::Spread>("sprList")),
      cmdAllCheck(Add<ui::CommandButton>("cmdAllCheck")),
      cmdAllUnCheck(Add<ui::CommandButton>("cmdAllUnCheck")),
      cmdEnter(Add<ui::CommandButton>("cmdEnter")),
      cmdClose(Add<ui::CommandButton>("cmdClose")) {
  caption = "前回結果コピー";
  width = 8100;
  height = 6600;
  sprList.Move(120, 120, 7740, 5100);
  sprList.SetMaxCols(kCopyIndexCol);
  sprList.SetMaxRows(0);
  sprList.SetText(kCopyCheckCol, 0, "ｺﾋﾟｰ");
  sprList.SetText(kCopyNameCol, 0, "検査項目");
  sprList.SetText(kCopyValueCol, 0, "前回結果");
  sprList.SetColWidth(kCopyCheckCol, 4);
  sprList.SetColWidth(kCopyNameCol, 24);
  sprList.SetColWidth(kCopyValueCol, 28);
  sprList.SetColWidth(kCopyIndexCol, 0);
  // Only the check boxes take the operator's clicks.
  sprList.SetLock(grid::Range::Sheet(), true);
  sprList.SetCellType(grid::Range::Column(kCopyCheckCol), grid::CellType::kCheckBox);
  sprList.SetLock(grid::Range::Column(kCopyCheckCol), false);
  PlaceButton(cmdAllCheck, "全てﾁｪｯｸ", 120);
  PlaceButton(cmdAllUnCheck, "全てﾁｪｯｸ解除", 2040);
  PlaceButton(cmdEnter, "確定", 4080);
  PlaceButton(cmdClose, "閉じる", 6000);
  cmdClose.is_cancel = true;
  on_load = [this] { Form_Load(); };
  cmdAllCheck.on_click = [this] { cmdAllCheck_Click(); };
  cmdAllUnCheck.on_click = [this] { cmdAllUnCheck_Click(); };
  cmdEnter.on_click = [this] { cmdEnter_Click(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
}

void FrmCopy::Form_Load() { basPublic.CopySelection.assign(1, 0); }

void FrmCopy::cmdAllCheck_Click() {
  ForEachRow(sprList, [this](int row) {
    sprList.col = kCopyCheckCol;
    sprList.row = row;
    sprList.block_mode = false;
    if (!sprList.Lock()) sprList.SetText(kCopyCheckCol, row, kChecked);
  });
}

void FrmCopy::cmdAllUnCheck_Click() {
  ForEachRow(sprList, [this](int row) { sprList.SetText(kCopyCheckCol, row, kUnchecked); });
}

void FrmCopy::cmdEnter_Click() {
  ForEachRow(sprList, [this](int row) {
    if (sprList.TextAt(kCopyCheckCol, row) != kChecked) return;
    basPublic.CopySelection.push_back(static_cast<std::int16_t>(vb::CInt(sprList.TextAt(kCopyIndexCol, row))));
  });
  Unload();
}

void FrmCopy::cmdClose_Click() { Unload(); }

}  // namespace qz
