#include "kit/sample_grid_form.h"

#include <string>

namespace qz::testkit {

SampleGridForm::SampleGridForm()
    : Form("frmSample"),
      lblTitle(Add<ui::Label>("lblTitle")),
      tabKind(Add<grid::TabStrip>("tabKind")),
      sprResult(Add<grid::Spread>("sprResult")),
      grdList(Add<grid::ListGrid>("grdList")),
      txtMemo(Add<ui::TextBox>("txtMemo")),
      cmdOk(Add<ui::CommandButton>("cmdOk")) {
  caption = "結果入力";
  width = 9000;
  height = 6600;
  lblTitle.caption = "受診者：健診　太郎";
  lblTitle.Move(120, 120, 6000, 300);
  tabKind.Add("検査結果");
  tabKind.Add("所見");
  tabKind.Move(120, 480, 4000, 360);

  grid::Spread& s = sprResult;
  s.Move(120, 900, 8700, 2700);
  s.SetMaxCols(4);
  s.SetMaxRows(6);
  s.SetColWidth(1, 14);
  s.SetColWidth(2, 0);
  s.SetColWidth(3, 10);
  s.SetColWidth(4, 4);
  const char* headers[] = {"項目", "内部", "結果", "済"};
  for (int c = 1; c <= 4; ++c) s.SetText(c, 0, headers[c - 1]);
  s.SetCellType(grid::Range::Column(3), grid::CellType::kComboBox);
  s.SetComboList(grid::Range::Column(3), "陰性\t(±)\t陽性");
  s.SetCellType(grid::Range::Column(4), grid::CellType::kCheckBox);
  const char* items[] = {"身長", "体重", "尿蛋白", "尿糖", "血圧", "視力"};
  for (int r = 1; r <= 6; ++r) {
    s.SetText(1, r, items[r - 1]);
    s.SetText(2, r, "K" + std::to_string(r));
  }
  s.SetCellType(grid::Range::Block(1, 1, 1, 6), grid::CellType::kStaticText);
  s.SetText(3, 1, "陰性");
  s.SetText(3, 2, "陽性");
  s.SetText(4, 1, "1");
  s.rows_frozen = 1;
  s.SetBackColor(grid::Range::Row(2), kSampleAbnormalBack);
  s.SetForeColor(grid::Range::Row(2), kSampleAbnormalFore);
  s.SetLock(grid::Range::Row(2), true);
  s.text_tip = 1;

  grid::ListGrid& g = grdList;
  g.Move(120, 3720, 5400, 1500);
  g.SetCols(3);
  g.SetRows(1);
  g.SetColWidth(0, 600);
  g.SetColWidth(1, 2400);
  g.SetColWidth(2, 2100);
  g.SetTextMatrix(0, 0, "No");
  g.SetTextMatrix(0, 1, "所見");
  g.SetTextMatrix(0, 2, "部位");
  g.AddItem("1\t異常なし\t");
  g.AddItem("2\t要経過観察\t右肺");
  g.SetCellBackColorAt(2, 1, kSampleAbnormalBack);

  txtMemo.Move(5640, 3720, 3180, 360);
  txtMemo.SetText("ﾒﾓ：特記なし");
  cmdOk.caption = "登録(&S)";
  cmdOk.Move(7320, 5760, 1500, 480);
  cmdOk.on_click = [this] { ++ok_clicks; };
  sprResult.tab_index = 0;
  tabKind.tab_index = 1;
  grdList.tab_index = 2;
  txtMemo.tab_index = 3;
  cmdOk.tab_index = 4;
}

}  // namespace qz::testkit
