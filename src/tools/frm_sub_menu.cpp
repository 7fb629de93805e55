#include "tools/frm_sub_menu.h"

#include <array>

#include "examinee/bas_public.h"

namespace qz {

ui::FormSlot<FrmSubMenu> frmSubMenu;

namespace {

constexpr std::array<const char*, kSubMenuButtons> kMenuCaptions = {
    "最終更新者表示",     "更新日時表示",           "判定欄表示",               "判定所見表示",
    "済チェック クリア", "済チェック 全てチェック", "所見のデフォルト値セット", "過去結果コピー",
};
constexpr int kButtonHeight = 495;

}  // namespace

FrmSubMenu::FrmSubMenu() : Form("frmSubMenu"), cmdClose(Add<ui::CommandButton>("cmdClose")) {
  caption = "結果入力 サブメニュー";
  width = 3600;
  height = kButtonHeight * (kSubMenuButtons + 2) + 600;
  for (int i = 0; i < kSubMenuButtons; ++i) {
    ui::CommandButton& b = Add<ui::CommandButton>("cmdMenu", i);
    b.caption = kMenuCaptions[static_cast<std::size_t>(i)];
    b.Move(120, 120 + i * kButtonHeight, 3240, kButtonHeight - 60);
    b.tab_index = i;
    b.on_click = [this, i] { cmdMenu_Click(i); };
  }
  cmdClose.caption = "閉じる";
  cmdClose.is_cancel = true;
  cmdClose.Move(120, 120 + kSubMenuButtons * kButtonHeight + 120, 3240, kButtonHeight - 60);
  cmdClose.tab_index = kSubMenuButtons;
  on_load = [this] { Form_Load(); };
  cmdClose.on_click = [this] { cmdClose_Click(); };
}

void FrmSubMenu::Form_Load() { basPublic.SubMenuChoice = kSubMenuNone; }

void FrmSubMenu::cmdMenu_Click(int index) {
  basPublic.SubMenuChoice = static_cast<std::int16_t>(index);
  Unload();
}

void FrmSubMenu::cmdClose_Click() { Unload(); }

}  // namespace qz
