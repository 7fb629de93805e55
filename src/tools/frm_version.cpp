#include "tools/frm_version.h"

#include <string>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/record/btr_access.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "tools/system_info_lines.h"

namespace qz {

ui::FormSlot<FrmVersion> frmVersion;

namespace {

void Place(ui::Control& c, int left, int top, int width, int height = 300) { c.Move(left, top, width, height); }

}  // namespace

FrmVersion::FrmVersion()
    : Form("frmVersion"),
      lblVersionTitle(Add<ui::Label>("lblVersionTitle")),
      lblVersion(Add<ui::Label>("lblVersion")),
      lblCopyRight(Add<ui::Label>("lblCopyRight")),
      lblProgressTitle(Add<ui::Label>("lblProgressTitle")),
      lblProgress(Add<ui::Label>("lblProgress")),
      lblUserTitle(Add<ui::Label>("lblUserTitle")),
      lblLogUser(Add<ui::Label>("lblLogUser")),
      lblExplain(Add<ui::Label>("lblExplain")),
      lblInstitutionTitle(Add<ui::Label>("lblInstitutionTitle")),
      lblInstitution(Add<ui::Label>("lblInstitution")),
      lblMessage(Add<ui::Label>("lblMessage")),
      lstInfo(Add<ui::ListBox>("lstInfo")),
      tmrCopyRight(Add<ui::Timer>("tmrCopyRight")),
      tmrProgress(Add<ui::Timer>("tmrProgress")) {
  caption = "結果入力";
  width = 8400;
  height = 7800;
  lblVersionTitle.caption = "バージョン：";
  lblProgressTitle.caption = "コンピュータ起動時間：";
  lblUserTitle.caption = "利用者";
  lblInstitutionTitle.caption = "施設名：";
  lblInstitution.caption = "<施設名>";
  lblMessage.caption = "お問い合わせの際は、下記のシステム情報をお知らせください。";
  Place(lblVersionTitle, 240, 240, 1500);
  Place(lblVersion, 1800, 240, 3000);
  Place(lblCopyRight, 240, 600, 7800);
  Place(lblProgressTitle, 240, 960, 2400);
  Place(lblProgress, 2700, 960, 3000);
  Place(lblUserTitle, 240, 1320, 1000);
  Place(lblLogUser, 1300, 1320, 1500);
  Place(lblExplain, 2900, 1320, 3000);
  Place(lblInstitutionTitle, 240, 1680, 1000);
  Place(lblInstitution, 1300, 1680, 6600);
  Place(lblMessage, 240, 2040, 7800);
  Place(lstInfo, 240, 2400, 7800, 4800);
  lstInfo.font.name = "ＭＳ ゴシック";
  tmrCopyRight.interval = 100;
  tmrProgress.interval = 1000;

  on_load = [this] { Form_Load(); };
  tmrCopyRight.on_timer = [this] { tmrCopyRight_Timer(); };
  tmrProgress.on_timer = [this] { tmrProgress_Timer(); };
}

void FrmVersion::Form_Load() {
  const AppInfo& app = App();
  lblVersion.caption = "Ver." + std::to_string(app.major) + "." + std::to_string(app.minor) + "." +
                       std::to_string(app.revision);
  // The copyright line is typed in by tmrCopyRight from an empty caption, so
  // that it ends as the text once (not the text followed by itself).
  lblCopyRight.caption.clear();
  CopyRightPos = 1;
  lblProgress.caption = Fnc_GetElapsedTime();
  lblLogUser.caption = basPublic.LogonUserId + " ";
  lblExplain.caption = basPublic.UserName + " ";
  Sub_ShowInstitution();
  const std::vector<std::string> lines = Fnc_SystemInfoLines(Sub_CollectSystemInfo(app.path));
  lstInfo.Clear();
  for (const std::string& line : lines) lstInfo.AddItem(line);
}

void FrmVersion::tmrCopyRight_Timer() {
  const std::string& text = basPublic.CopyRight;
  if (vb::Len(text) < CopyRightPos) {
    tmrCopyRight.enabled = false;
    return;
  }
  lblCopyRight.caption += vb::Mid(text, CopyRightPos, 1);
  ++CopyRightPos;
}

void FrmVersion::tmrProgress_Timer() { lblProgress.caption = Fnc_GetElapsedTime(); }

void FrmVersion::Sub_ShowInstitution() {
  const data::FileLayout& layout = data::SysInstitutionLayout();
  record::BtrAccess sys;
  if (!sys.OpenFile(layout.file, layout.definition, basPublic.VlmfPath, basPublic.SpecPath)) {
    ui::MsgBox("設定マスタオープンエラー", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "エラー");
    return;
  }
  DefineLayoutFields(sys, layout);
  sys.SetField("KBN", data::kSysKbnInstitution);
  sys.SetField("CODE", vb::Space(6));
  if (sys.GetEqual(layout.definition) != 0) {
    lblInstitution.caption = "<不明>";
  } else {
    lblInstitution.caption = vb::RTrim(sys.GetField("NAME").ToText());
  }
  sys.CloseFile();
}

}  // namespace qz
