// The designed look of the main form: captions, fonts, positions and sizes
// as the start finds them before it fits the form to the work area.
#include <array>
#include <string>

#include "examinee/frm_result_in.h"

namespace qz {

namespace {

// Designed size of the form (twips). The start keeps the right-hand button
// columns at fixed distances from the right edge and the grid 3800 twips
// shorter than the form.
constexpr int kFormWidth = 15270;
constexpr int kFormHeight = 11400;

// A command button at `left` (distance from the right edge: kFormWidth -
// left), row `row` of its column.
void PlaceButton(ui::Control& c, const char* caption, int left, int row, int width) {
  c.caption = caption;
  c.Move(left, 120 + row * 480, width, 420);
}

}  // namespace

void FrmResultIn::Design() {
  caption = "結果入力";
  key_preview = true;
  Move(0, 0, kFormWidth, kFormHeight);
  const ui::Font gothic{"ＭＳ ゴシック", 11, false};
  const ui::Font p_gothic{"ＭＳ Ｐゴシック", 9, false};

  // Examinee header: two lines of read-only boxes.
  fraHead.caption = "受診者情報";
  fraHead.Move(60, 0, 6900, 2760);
  struct HeadBox {
    ui::TextBox* box;
    const char* tip;
    int left, top, width;
  };
  const std::array<HeadBox, 8> boxes = {{
      {&txtID, "受診者番号", 180, 480, 1500},
      {&txtKana, "カナ氏名", 1740, 480, 2700},
      {&txtSex, "性別", 4500, 480, 600},
      {&txtAge, "年齢", 5160, 480, 600},
      {&txtName, "氏名", 180, 1200, 4260},
      {&txtBirth, "生年月日", 4500, 1200, 2280},
      {&txtDanname, "団体名", 180, 1920, 4260},
      {&txtHassou, "結果発送日", 4500, 1920, 1500},
  }};
  for (const HeadBox& b : boxes) {
    ui::Label& caption_label = Add<ui::Label>("lblHead", static_cast<int>(&b - boxes.data()));
    caption_label.caption = b.tip;
    caption_label.container = &fraHead;
    caption_label.font = ui::Font{"ＭＳ Ｐゴシック", 8, false};
    caption_label.Move(b.left, b.top - 210, b.width, 200);
    b.box->Move(b.left, b.top, b.width, 420);
    b.box->container = &fraHead;
    b.box->font = gothic;
    b.box->tool_tip_text = b.tip;
    b.box->locked = b.box != &txtHassou;
    b.box->tab_stop = b.box == &txtHassou;
  }
  txtHassou.max_length = 10;

  // Button columns, right-anchored by the start.
  cmdOpchk.caption = "未実施検査一覧";
  cmdOpchk.Move(kFormWidth - 8190, 120, 1620, 420);
  for (int n = 1; n <= 4; ++n) {
    ui::CommandButton& b = *cmdOption[n];
    b.caption = std::string("オプション") + std::array<const char*, 5>{"", "１", "２", "３", "４"}[n];
    b.Move(kFormWidth - 8190, 120 + n * 480, 1620, 420);
  }
  PlaceButton(cmdSearch, "検索(F5)", kFormWidth - 6510, 0, 1020);
  PlaceButton(cmdChkInput, "未確定項目", kFormWidth - 6510, 1, 1020);
  fraKirikae.caption = "表示";
  fraKirikae.Move(kFormWidth - 5430, 0, 1020, 1560);
  const std::array<const char*, 3> modes = {"問診表示", "結果表示", "問診＋結果表示"};
  for (int i = 0; i <= 2; ++i) {
    optKirikae[i]->caption = modes[i];
    optKirikae[i]->container = &fraKirikae;
    optKirikae[i]->Move(60, 240 + i * 420, 900, 360);
  }
  PlaceButton(cmdGrpJmp, "グループ移動", kFormWidth - 4350, 0, 2160);
  PlaceButton(cmdAgain, "やり直し(F9)", kFormWidth - 4350, 1, 2160);
  PlaceButton(cmdPreview, "プレビュー(F10)", kFormWidth - 4350, 2, 2160);
  PlaceButton(cmdSubMenu, "サブメニュー", kFormWidth - 4350, 3, 2160);
  PlaceButton(cmdEnd, "保存終了(F12)", kFormWidth - 2070, 0, 1950);
  PlaceButton(cmdGrpSel, "グループ選択", kFormWidth - 2070, 1, 1950);
  PlaceButton(cmdAutoJudge, "自動判定", kFormWidth - 2070, 2, 1950);
  chkPastDisp.caption = "全検査項目表示";
  chkPastDisp.Move(kFormWidth - 2070, 1560, 1950, 300);
  chkSokutei.caption = "測定区分表示";
  chkSokutei.Move(kFormWidth - 2070, 1890, 1950, 300);
  chkOperation.caption = "実施チェックを行う";
  chkOperation.Move(kFormWidth - 2070, 2220, 1950, 300);
  for (ui::Control* c : controls()) {
    if (c->kind() == ui::ControlKind::kButton || c->kind() == ui::ControlKind::kCheckBox ||
        c->kind() == ui::ControlKind::kOptionButton) {
      c->font = p_gothic;
    }
  }
  // The display-mode frame is narrow: its captions take the smallest font.
  for (ui::OptionButton* o : optKirikae) o->font.size = 8;

  sprResult.Move(60, 2880, kFormWidth - 130, kFormHeight - 3800);
  lblStatus.font = p_gothic;
  lblStatus.Move(60, kFormHeight - 730, kFormWidth - 90, 300);
  tmrSyoSearch.interval = 1000;
  tmrSyoSearch.enabled = false;
}

}  // namespace qz
