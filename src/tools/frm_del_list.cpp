#include "tools/frm_del_list.h"

#include <array>

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmDelList> frmDelList;

namespace {

constexpr std::array<const char*, 3> kButtonCaptions = {"戻る", "削除する", "削除しない"};
constexpr std::array<double, 4> kColumnWidths = {12, 24, 14, 4};

}  // namespace

FrmDelList::FrmDelList() : Form("frmDelList"), sprList(Add<grid::Spread>("sprList")) {
  caption = "削除データリスト";
  width = 8400;
  height = 6900;
  sprList.Move(120, 120, 8040, 5100);
  sprList.SetMaxCols(4);
  sprList.SetMaxRows(0);
  sprList.SetText(1, 0, "項目番号");
  sprList.SetText(2, 0, "項目名");
  sprList.SetText(3, 0, "結果");
  sprList.SetText(4, 0, "済");
  for (int c = 1; c <= 4; ++c) sprList.SetColWidth(c, kColumnWidths[static_cast<std::size_t>(c - 1)]);
  sprList.SetLock(grid::Range::Sheet(), true);
  for (int i = kDelListBack; i <= kDelListKeep; ++i) {
    ui::CommandButton& b = Add<ui::CommandButton>("cmdRet", i);
    b.caption = kButtonCaptions[static_cast<std::size_t>(i - 1)];
    b.Move(120 + (i - 1) * 2700, 5400, 2580, 615);
    b.on_click = [this, i] { cmdRet_Click(i); };
  }
  cmdRet(kDelListBack).is_cancel = true;
  on_load = [this] { Form_Load(); };
}

void FrmDelList::Form_Load() { basPublic.DelListAnswer = kDelListBack; }

void FrmDelList::cmdRet_Click(int index) {
  basPublic.DelListAnswer = static_cast<std::int16_t>(index);
  Unload();
}

}  // namespace qz
