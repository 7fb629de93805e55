#include "examinee/frm_guide.h"

#include <cmath>
#include <string>

#include "examinee/bas_public.h"
#include "platform/runtime/app.h"
#include "platform/ui/msgbox.h"

namespace qz {

ui::FormSlot<FrmGuide> frmGuide;

namespace {

constexpr ui::Color kGaugeColor = 0xFF0000;  // blue (0xBBGGRR)
constexpr ui::Color kWhite = 0xFFFFFF;

}  // namespace

FrmGuide::FrmGuide()
    : Form("frmGuide"),
      lblGuide(Add<ui::Label>("lblGuide")),
      lblState(Add<ui::Label>("lblState")),
      lblGage(Add<ui::Label>("lblGage")),
      lblCopyRight(Add<ui::Label>("lblCopyRight")),
      lblVersion(Add<ui::Label>("lblVersion")),
      tmrGuide(Add<ui::Timer>("tmrGuide")) {
  // The designed window: a plain box without title bar or close box.
  caption.clear();
  system_menu.clear();
  width = 6000;
  height = 2400;
  back_color = kWhite;

  const ui::Font gothic{"ＭＳ ゴシック", 12, true};
  const ui::Font p_gothic{"ＭＳ Ｐゴシック", 9, false};
  lblGuide.caption = "データ読み込み中です．．．";
  lblGuide.font = gothic;
  lblGuide.alignment = 2;
  lblGuide.Move(360, 300, 5280, 360);
  lblState.caption = "処理状況";
  lblState.font = gothic;
  lblState.font.bold = false;
  lblState.Move(360, 900, 5280, 300);
  // The gauge lies under the state line and grows from its left edge.
  lblGage.font = gothic;
  lblGage.back_color = kGaugeColor;
  lblGage.Move(360, 1260, 0, 240);
  lblCopyRight.font = p_gothic;
  lblCopyRight.Move(360, 1800, 3900, 240);
  lblVersion.font = p_gothic;
  lblVersion.alignment = 1;
  lblVersion.Move(4320, 1800, 1320, 240);
  tmrGuide.interval = 300;

  on_load = [this] { Form_Load(); };
  tmrGuide.on_timer = [this] { tmrGuide_Timer(); };
}

void FrmGuide::Form_Load() {
  lblGuide.visible = true;
  tmrGuide.interval = basPublic.GuideInterval;
  if (basPublic.GuideInterval == 0) tmrGuide.enabled = false;
  lblGage.width = 0;
  lblCopyRight.caption = basPublic.CopyRight;
  const AppInfo& app = App();
  lblVersion.caption = "Ver." + std::to_string(app.major) + "." + std::to_string(app.minor) + "." +
                       std::to_string(app.revision);
}

void FrmGuide::tmrGuide_Timer() {
  lblGuide.visible = !lblGuide.visible;
  ui::DoEvents();
}

void FrmGuide::SetGauge(int done, int total) {
  if (total <= 0) {
    lblGage.width = 0;
    return;
  }
  lblGage.width = static_cast<int>(std::lround(static_cast<double>(done) / total * lblState.width));
}

}  // namespace qz
