#include "tools/frm_hint.h"

#include <array>

namespace qz {

ui::FormSlot<FrmHint> frmHint;

namespace {

// The help lines in order; "" is an empty line between key groups.
constexpr std::array<const char*, 30> kHintLines = {
    "Ctrl  + F1  : ﾊﾞｰｼﾞｮﾝ情報",
    "Alt   + F1  : この画面",
    "",
    "Ctrl  + F2  : 最終更新者表示",
    "Ctrl  + F11 : 更新日時表示",
    "",
    "Ctrl  + F9  : 結果再読み込",
    "",
    "Ctrl  + F6  : 自動判定更新",
    "",
    "Ctrl  + F3  : ﾃﾞｰﾀｸﾘｱ",
    "Alt   + F3  : 結果削除",
    "",
    "Ctrl  + F4  : ﾁｪｯｸｸﾘｱ",
    "Ctrl  + F5  : 全てﾁｪｯｸ",
    "",
    "Ctrl  + F8  : 判定欄表示",
    "Ctrl  + F7  : 判定所見表示",
    "",
    "Shift + F10 : ﾌﾟﾚﾋﾞｭｰ帳票選択",
    "",
    "Alt   + F2  : デバッグウィンドウ表示",
    "",
    "Alt   + F4  : デバッグ用結果ダミーセット",
    "",
    "Alt   + F5  : 所見のデフォルト値自動セット",
    "",
    "Alt   + F6  : 過去結果コピー",
    "",
    "保存終了ボタンの右クリック : 全てのチェックを無視して保存",
};

}  // namespace

FrmHint::FrmHint() : Form("frmHint"), lstHint(Add<ui::ListBox>("lstHint")) {
  caption = "操作説明";
  width = 6600;
  height = 7800;
  lstHint.Move(120, 120, 6300, 7200);
  on_load = [this] { Form_Load(); };
}

void FrmHint::Form_Load() {
  lstHint.Clear();
  for (const char* line : kHintLines) lstHint.AddItem(line);
}

}  // namespace qz
