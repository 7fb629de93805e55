// The start's fit of the main form and the group-jump window to the desktop
// work area.
#include <array>
#include <cmath>

#include "examinee/bas_public.h"
#include "examinee/cls_default.h"
#include "platform/ui/controls.h"
#include "platform/ui/shell.h"

namespace qz {
namespace {

// Controls of the main form kept at a fixed distance from its right edge.
struct RightAnchor {
  int offset;
  std::array<const char*, 6> controls;  // nullptr ends a shorter list
};

constexpr std::array<RightAnchor, 5> kRightAnchors = {{
    {2070, {"cmdEnd", "cmdGrpSel", "cmdAutoJudge", "chkPastDisp", "chkSokutei", "chkOperation"}},
    {4350, {"cmdGrpJmp", "cmdAgain", "cmdPreview", "cmdSubMenu", nullptr, nullptr}},
    {5430, {"fraKirikae", nullptr, nullptr, nullptr, nullptr, nullptr}},
    {6510, {"cmdSearch", "cmdChkInput", nullptr, nullptr, nullptr, nullptr}},
    {8190, {"cmdOpchk", nullptr, nullptr, nullptr, nullptr, nullptr}},
}};

constexpr std::array<const char*, 8> kHeaderBoxes = {"txtID",  "txtHassou", "txtKana", "txtName",
                                                     "txtSex", "txtBirth",  "txtAge",  "txtDanname"};

constexpr const char* kStatusToolTip =
    "Ctrl+F1:ﾊﾞｰｼﾞｮﾝ情報,Ctrl+F3:ﾃﾞｰﾀｸﾘｱ,Ctrl+F4:ﾁｪｯｸｸﾘｱ,Ctrl+F5:全てﾁｪｯｸ,Ctrl+F8:判定欄表示,"
    "Ctrl+F9:結果再読み込,Shift+F10:ﾌﾟﾚﾋﾞｭｰ帳票選択,Ctrl+F11:更新日時表示,Alt+F3:結果削除";

}  // namespace

bool ClsDefault::Fnc_GetWorkArea(std::int32_t& left, std::int32_t& top, std::int32_t& right,
                                 std::int32_t& bottom, std::int32_t& width, std::int32_t& height) {
  const ui::ScreenMetrics screen = ui::Shell::Require().Screen();
  if (!screen.work_area_ok) return false;
  const double x = screen.twips_per_pixel_x, y = screen.twips_per_pixel_y;
  const ui::PixelRect& r = screen.work_area_px;
  left = static_cast<std::int32_t>(std::lround(r.left * x));
  top = static_cast<std::int32_t>(std::lround(r.top * y));
  right = static_cast<std::int32_t>(std::lround(r.right * x));
  bottom = static_cast<std::int32_t>(std::lround(r.bottom * y));
  width = static_cast<std::int32_t>(std::lround((r.right - r.left) * x));
  height = static_cast<std::int32_t>(std::lround((r.bottom - r.top) * y));
  return true;
}

void ClsDefault::Sub_SetFormLayout() {
  ui::Form& main = frm_result_in_;
  ui::Form& jmp = frm_grp_jmp_;
  const WorkAreaInfo& w = basPublic.WorkArea;
  auto control = [&](const char* name, int index = -1) -> ui::Control& {
    return main.Get<ui::Control>(name, index);
  };

  main.Move(w.Left, w.Top);
  main.back_color = static_cast<ui::Color>(basPublic.ColorFormBack);
  control("fraHead").back_color = static_cast<ui::Color>(basPublic.ColorFormBack);

  if (basPublic.FormHeight == 1) {
    main.Move(main.left, main.top, -1, w.Height);
    control("sprResult").height = w.Height - 3800;
    control("lblStatus").top = w.Height - 730;
    jmp.Move(jmp.left, jmp.top, -1, w.Height);
    jmp.Get<ui::Control>("flxGroop").height = w.Height - 2540;
    jmp.Get<ui::Control>("lblInfo").top = w.Height - 2310;
  }

  if (basPublic.FormWidth != 0) {
    main.Move(main.left, main.top, basPublic.FormWidth == 1 ? w.Width : w.Width - jmp.width);
    const int f = main.width;
    control("sprResult").width = f - 130;
    control("lblStatus").width = f - 90;
    for (const RightAnchor& anchor : kRightAnchors) {
      for (const char* name : anchor.controls) {
        if (name != nullptr) control(name).left = f - anchor.offset;
      }
    }
  }

  const bool op_check = basPublic.OpChkDisp != 0;
  control("cmdOpchk").visible = op_check;
  control("chkOperation").visible = op_check;

  for (int n = 1; n <= 4; ++n) {
    ui::Control& button = control("cmdOption", n);
    const OptionInfo& option = basPublic.OptionTable[static_cast<std::size_t>(n)];
    button.visible = option.Enable == 1;
    if (button.visible) button.caption = option.Caption;
  }

  // Shown when a consultation is loaded.
  control("sprResult").visible = false;
  control("lblStatus").tool_tip_text = kStatusToolTip;
  for (const char* name : kHeaderBoxes) main.Get<ui::TextControl>(name).SetText("");
}

}  // namespace qz
