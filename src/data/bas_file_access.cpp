#include "data/bas_file_access.h"

#include <exception>
#include <string_view>

#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "platform/ui/msgbox.h"

namespace qz {

BasFileAccess basFileAccess;

namespace {

void ShowOpenError(std::string_view message) {
  ui::MsgBox(message, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, "エラー");
}

bool OpenOnly(record::BtrAccess& obj, const data::FileLayout& layout) {
  return obj.OpenFile(layout.file, layout.definition, basPublic.VlmfPath, basPublic.SpecPath);
}

// The steps every single-definition open procedure runs.
bool OpenMaster(BtrObject& slot, const data::FileLayout& layout, std::string_view open_error,
                std::string_view job_text) {
  try {
    slot = std::make_unique<record::BtrAccess>();
    if (!OpenOnly(*slot, layout)) {
      ShowOpenError(open_error);
      return false;
    }
    DefineLayoutFields(*slot, layout);
    return true;
  } catch (const std::exception& e) {
    ShowErrorReport(job_text, e);
    return false;
  }
}

}  // namespace

bool Fnc_OpenJsnMaster() {
  try {
    basFileAccess.QZJSNLFObj = std::make_unique<record::BtrAccess>();
    basFileAccess.QZJSN2LFObj = std::make_unique<record::BtrAccess>();
    if (!OpenOnly(*basFileAccess.QZJSNLFObj, data::QzjsnlfLayout())) {
      ShowOpenError("受診者マスタオープンエラー");
      return false;
    }
    if (!OpenOnly(*basFileAccess.QZJSN2LFObj, data::Qzjsn2lfLayout())) {
      ShowOpenError("受診者マスタ２オープンエラー");
      return false;
    }
    DefineLayoutFields(*basFileAccess.QZJSNLFObj, data::QzjsnlfLayout());
    DefineLayoutFields(*basFileAccess.QZJSN2LFObj, data::Qzjsn2lfLayout());
    return true;
  } catch (const std::exception& e) {
    ShowErrorReport("受診者マスタのオープン処理でエラーが発生しました。", e);
    return false;
  }
}

bool Fnc_OpenDanMaster() {
  return OpenMaster(basFileAccess.QZDANLFObj, data::QzdanlfLayout(), "団体マスタオープンエラー",
                    "団体マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenJkoMaster() {
  return OpenMaster(basFileAccess.QZJKOLFObj, data::QzjkolfLayout(), "受診項目マスタオープンエラー",
                    "受診項目マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenJrkMaster() {
  return OpenMaster(basFileAccess.QZJRKLFObj, data::QzjrklfLayout(), "受診歴マスタオープンエラー",
                    "受診歴マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenKkkMaster() {
  return OpenMaster(basFileAccess.QZKKKLFObj, data::QzkkklfLayout(), "検査結果マスタオープンエラー",
                    "検査結果マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenCarMaster() {
  return OpenMaster(basFileAccess.QZCARLFObj, data::QzcarlfLayout(), "政管受付番号履歴マスタオープンエラー",
                    "政管受付番号履歴マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenJkrMaster() {
  return OpenMaster(basFileAccess.QZJKRLFObj, data::QzjkrlfLayout(), "受診券履歴マスタオープンエラー",
                    "受診券履歴マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenKosMaster() {
  return OpenMaster(basFileAccess.QZKOSLFObj, data::QzkoslfLayout(), "コースマスタオープンエラー",
                    "コースマスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenKskMaster() {
  return OpenMaster(basFileAccess.QZKSKLFObj, data::QzksklfLayout(), "コース項目マスタオープンエラー",
                    "コース項目マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenKomMaster() {
  return OpenMaster(basFileAccess.QZKOMLFObj, data::QzkomlfLayout(), "検査項目マスタオープンエラー",
                    "検査項目マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenGrpMaster() {
  return OpenMaster(basFileAccess.QZGRPLFObj, data::QzgrplfLayout(), "入力グループマスタオープンエラー",
                    "入力グループマスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenHatMaster() {
  return OpenMaster(basFileAccess.QZHATLFObj, data::QzhatlfLayout(), "判定マスタオープンエラー",
                    "判定マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSyoMaster() {
  return OpenMaster(basFileAccess.QZSYOLFObj, data::QzsyolfLayout(), "所見マスタオープンエラー",
                    "所見マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSyo2Master() {
  return OpenMaster(basFileAccess.QZSYO2LFObj, data::Qzsyo2lfLayout(), "所見マスタ２オープンエラー",
                    "所見マスタ２のオープン処理でエラーが発生しました。");
}

// The error reports of the third and fourth findings definitions name the
// master without its number.
bool Fnc_OpenSyo3Master() {
  return OpenMaster(basFileAccess.QZSYO3LFObj, data::Qzsyo3lfLayout(), "所見マスタ３オープンエラー",
                    "所見マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSyo4Master() {
  return OpenMaster(basFileAccess.QZSYO4LFObj, data::Qzsyo4lfLayout(), "所見マスタ４オープンエラー",
                    "所見マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSysMaster() {
  return OpenMaster(basFileAccess.SysObj, data::SysSettingsLayout(), "設定マスタオープンエラー",
                    "設定マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSysChohyoMaster() {
  return OpenMaster(basFileAccess.SysChohyoObj, data::SysChohyoLayout(), "設定マスタオープンエラー",
                    "設定マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenOcl2Master() {
  return OpenMaster(basFileAccess.QZOCL2LFObj, data::Qzocl2lfLayout(), "所見タブマスタ２オープンエラー",
                    "所見タブマスタ２のオープン処理でエラーが発生しました。");
}

bool Fnc_OpenUsrMaster() {
  return OpenMaster(basFileAccess.QZUSRLFObj, data::QzusrlfLayout(), "利用者マスタオープンエラー",
                    "利用者マスタのオープン処理でエラーが発生しました。");
}

bool Fnc_OpenSyn2Master() {
  return OpenMaster(basFileAccess.QZSYN2LFObj, data::Qzsyn2lfLayout(), "診断項目マスタ２オープンエラー",
                    "診断項目マスタ２のオープン処理でエラーが発生しました。");
}

}  // namespace qz
