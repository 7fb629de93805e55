// frmSubMenu ("結果入力 サブメニュー"): the modal menu of the result screen's
// tools, shown by the サブメニュー button.
//
// Buttons cmdMenu(0..7): 0 "最終更新者表示", 1 "更新日時表示", 2 "判定欄表示",
// 3 "判定所見表示", 4 "済チェック クリア", 5 "済チェック 全てチェック",
// 6 "所見のデフォルト値セット", 7 "過去結果コピー". The dialog answers through
// basPublic.SubMenuChoice: -1 when it loads (also what 閉じる or the close
// box leaves: nothing runs), the index of the button pressed otherwise; the
// caller runs that tool. User-interface thread only.
#ifndef QZ_TOOLS_FRM_SUB_MENU_H_
#define QZ_TOOLS_FRM_SUB_MENU_H_

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// The sub-menu choices (the indexes of cmdMenu).
enum SubMenuChoice : int {
  kSubMenuNone = -1,
  kSubMenuUpdater = 0,
  kSubMenuUpdateTime = 1,
  kSubMenuJudge = 2,
  kSubMenuJudgeFinding = 3,
  kSubMenuResetDoneChecks = 4,
  kSubMenuSetDoneChecks = 5,
  kSubMenuDefaultFindings = 6,
  kSubMenuCopyPrevious = 7,
};
inline constexpr int kSubMenuButtons = 8;

class FrmSubMenu : public ui::Form {
 public:
  FrmSubMenu();

  // cmdMenu(index), index 0 .. kSubMenuButtons - 1.
  ui::CommandButton& cmdMenu(int index) const { return Get<ui::CommandButton>("cmdMenu", index); }
  ui::CommandButton& cmdClose;  // 閉じる

  void Form_Load();
  void cmdMenu_Click(int index);
  void cmdClose_Click();
};

extern ui::FormSlot<FrmSubMenu> frmSubMenu;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_SUB_MENU_H_
