// Opening and closing all masters and the preview work files.
#include <array>
#include <exception>

#include "data/bas_file_access.h"
#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

struct OpenStep {
  const char* caption;
  bool (*open)();
};

// The order in which the start opens the masters.
constexpr std::array<OpenStep, 20> kOpenSteps = {{
    {"受診者マスタオープン中", Fnc_OpenJsnMaster},
    {"団体マスタオープン中", Fnc_OpenDanMaster},
    {"受診項目マスタオープン中", Fnc_OpenJkoMaster},
    {"受診歴マスタオープン中", Fnc_OpenJrkMaster},
    {"コースマスタオープン中", Fnc_OpenKosMaster},
    {"コース項目マスタオープン中", Fnc_OpenKskMaster},
    {"検査項目マスタオープン中", Fnc_OpenKomMaster},
    {"入力グループマスタオープン中", Fnc_OpenGrpMaster},
    {"検査結果マスタオープン中", Fnc_OpenKkkMaster},
    {"判定マスタオープン中", Fnc_OpenHatMaster},
    {"所見マスタオープン中", Fnc_OpenSyoMaster},
    {"所見マスタオープン中", Fnc_OpenSyo2Master},
    {"所見マスタオープン中", Fnc_OpenSyo3Master},
    {"所見マスタオープン中", Fnc_OpenSyo4Master},
    {"設定マスタオープン中", Fnc_OpenSysMaster},
    {"設定マスタオープン中", Fnc_OpenSysChohyoMaster},
    {"所見タブマスタオープン中", Fnc_OpenOcl2Master},
    {"政管受付番号履歴マスタオープン中", Fnc_OpenCarMaster},
    {"診断項目マスタ２オープン中", Fnc_OpenSyn2Master},
    {"受診券履歴マスタオープン中", Fnc_OpenJkrMaster},
}};

// Slots 1 to 22 in slot order: every master, the user master included.
constexpr std::array<BtrObject BasFileAccess::*, 22> kMasterSlots = {
    &BasFileAccess::QZJSNLFObj,  &BasFileAccess::QZJSN2LFObj, &BasFileAccess::QZDANLFObj,
    &BasFileAccess::QZJKOLFObj,  &BasFileAccess::QZJRKLFObj,  &BasFileAccess::QZKOSLFObj,
    &BasFileAccess::QZKSKLFObj,  &BasFileAccess::QZKOMLFObj,  &BasFileAccess::QZGRPLFObj,
    &BasFileAccess::QZKKKLFObj,  &BasFileAccess::QZHATLFObj,  &BasFileAccess::QZSYOLFObj,
    &BasFileAccess::QZSYO2LFObj, &BasFileAccess::QZSYO3LFObj, &BasFileAccess::QZSYO4LFObj,
    &BasFileAccess::SysObj,      &BasFileAccess::SysChohyoObj, &BasFileAccess::QZOCL2LFObj,
    &BasFileAccess::QZUSRLFObj,  &BasFileAccess::QZCARLFObj,  &BasFileAccess::QZSYN2LFObj,
    &BasFileAccess::QZJKRLFObj,
};

bool OpenWorkFile(BtrObject& slot, const data::FileLayout& layout) {
  slot = std::make_unique<record::BtrAccess>();
  return slot->OpenFile(layout.file, layout.definition, basPublic.SvworkPath, basPublic.SpecPath);
}

void CloseSlot(BtrObject& slot) {
  if (slot) slot->CloseFile();  // the status is not looked at
  slot.reset();
}

}  // namespace

bool Fnc_OpenAllMasters(GuideProgress& guide) {
  try {
    guide.SetGageWidth(0);
    ui::DoEvents();
    const int total = static_cast<int>(kOpenSteps.size());
    for (int k = 1; k <= total; ++k) {
      const OpenStep& step = kOpenSteps[k - 1];
      guide.SetGageWidth(GageWidth(k, total, guide.StateWidth()));
      guide.SetStateCaption(step.caption);
      ui::DoEvents();
      if (!step.open()) return false;  // the step has shown its message
    }
    return true;
  } catch (const std::exception& e) {
    ShowErrorReport("ファイルのオープン処理処理でエラーが発生しました。", e);
    return false;
  }
}

bool Fnc_OpenAllMasters() {
  LabelGuideProgress guide(frmGuide->lblState, frmGuide->lblGage);
  return Fnc_OpenAllMasters(guide);
}

void Sub_CloseAllMasters() {
  LabelGuideProgress guide(frmGuide->lblState, frmGuide->lblGage);
  Sub_CloseAllMasters(&guide);
}

void Sub_CloseAllMasters(GuideProgress* guide) {
  // The program is ending: every failure here is passed over on purpose so
  // that the remaining files are still closed.
  try {
    if (guide != nullptr) guide->SetGageWidth(0);
    ui::DoEvents();
  } catch (...) {
  }
  const int total = static_cast<int>(kMasterSlots.size());
  for (int k = 1; k <= total; ++k) {
    try {
      if (guide != nullptr) guide->SetGageWidth(GageWidth(k, total, guide->StateWidth()));
      ui::DoEvents();
    } catch (...) {
    }
    BtrObject& slot = basFileAccess.*kMasterSlots[k - 1];
    try {
      if (slot) slot->CloseFile();
    } catch (...) {
    }
    slot.reset();
  }
}

bool Sub_OpenPreviewFiles() {
  try {
    bool ok = OpenWorkFile(basFileAccess.QJJRKLFObj, data::QjjrklfLayout());
    if (ok) ok = OpenWorkFile(basFileAccess.QJKKKLFObj, data::QjkkklfLayout());
    if (!ok) {
      ui::MsgBox("プレビュー用受診歴マスタオープンエラー", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "エラー");
      return false;
    }
    DefineLayoutFields(*basFileAccess.QJJRKLFObj, data::QjjrklfLayout());
    DefineLayoutFields(*basFileAccess.QJKKKLFObj, data::QjkkklfLayout());
    return true;
  } catch (const std::exception& e) {
    ShowErrorReport("プレビューファイルのオープン処理でエラーが発生しました。", e);
    return false;
  }
}

void Sub_ClosePreviewFiles() {
  try {
    CloseSlot(basFileAccess.QJJRKLFObj);
    CloseSlot(basFileAccess.QJKKKLFObj);
  } catch (const std::exception& e) {
    ShowErrorReport("プレビューファイルのクローズ処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
