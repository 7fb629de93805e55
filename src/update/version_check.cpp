#include "update/version_check.h"

#include <cmath>
#include <string>

#include "data/ini_access.h"
#include "platform/path/no_case.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/path_routines.h"
#include "update/run_log.h"
#include "update/target_check.h"

namespace qz::update {

namespace {

std::string Setting(std::string_view key, std::string_view default_value) {
  return Fnc_GetIni("Setting", key, default_value, basPublic.UpdateIniPath);
}

const char* TrueFalse(bool b) { return b ? "True" : "False"; }

// A failure about `file`: the box names the file under "パス : ", the log
// line after " : ".
bool FileRefusal(const std::string& text, const std::string& file) {
  ui::MsgBox(text + "\r\n\r\nパス : " + file, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
  Sub_Log(text + " : " + file);
  return false;
}

std::string NowOf(const std::string& file) { return Fnc_GetIni("Version", "Now", "", file); }

std::int32_t Count(std::string_view key) {
  std::string v = Setting(key, "100");
  try {
    if (vb::IsNumeric(v)) return vb::CLng(vb::CDbl(v));
  } catch (const RunTimeError&) {
    // beyond a whole number: the default
  }
  return 100;
}

bool Cancelled() {
  ui::MsgBox("バージョンアップを中止します。", ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
  Sub_Log("「キャンセル」を選択されたため、バージョンアップ処理を終了します。");
  return false;
}

}  // namespace

bool Fnc_GetVersion() {
  BasPublic& b = basPublic;
  Sub_Log("");
  Sub_Log("◆◇◆ バージョンの取得開始 ◆◇◆");
  if (!Fnc_ChangeDir(b.RootPath, false)) {
    std::string text = "「" + b.RootPath + "」に移動できません。";
    ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
    Sub_Log(text);
    return false;
  }
  if (Setting("VersionCheck", "1") != "1") {
    b.VersionCheck = false;
    Sub_Log("バージョンのチェックを行いません。");
    return true;
  }
  b.VersionCheck = true;
  std::string release = Fnc_FullPath(Setting("VersionFile", ""));
  Sub_Log("バージョンアップの定義ファイル : " + release);
  if (!Fnc_FileExists(release)) return FileRefusal("バージョンアップのバージョン定義ファイルが見つかりません。", release);
  b.NewVersion = NowOf(release);
  if (b.NewVersion.empty()) return FileRefusal("バージョンアップのバージョンが定義されていません。", release);
  std::string installed = b.ProgramPath + "Version.ini";
  Sub_Log("現在のバージョンの定義ファイル : " + installed);
  if (!Fnc_FileExists(installed)) return FileRefusal("現在のバージョンの定義ファイルが見つかりません。", installed);
  b.CurrentVersion = NowOf(installed);
  if (b.CurrentVersion.empty()) return FileRefusal("現在のバージョンが定義されていません。", installed);
  Sub_Log("");
  Sub_Log("バージョンアップのバージョン : " + b.NewVersion);
  Sub_Log("現在のバージョン : " + b.CurrentVersion);
  return true;
}

bool Fnc_VersionCheck() {
  BasPublic& b = basPublic;
  Sub_Log("");
  Sub_Log("◆◇◆ バージョンのチェック開始 ◆◇◆");
  if (!b.VersionCheck) {
    Sub_Log("");
    Sub_Log("バージョンチェック不要のため無視します。");
    return true;
  }
  if ((b.NewVersionNum = Fnc_VersionToNum(b.NewVersion)) == -1) return false;
  if ((b.CurrentVersionNum = Fnc_VersionToNum(b.CurrentVersion)) == -1) return false;
  b.TargetMin = Setting("TargetMin", "");
  if ((b.TargetMinNum = Fnc_VersionToNum(b.TargetMin)) == -1) return false;
  b.TargetMax = Setting("TargetMax", "");
  if ((b.TargetMaxNum = Fnc_VersionToNum(b.TargetMax)) == -1) return false;
  Sub_Log("バージョンアップ対象 : " + b.TargetMin + " ～ " + b.TargetMax);
  if (Fnc_TargetCheck("Setting") != kTargetApplies) {
    ui::MsgBox("バージョンアップの対象ではありません。\r\n\r\n現在のバージョン : " + b.CurrentVersion +
                   "\r\n対象のバージョン : " + b.TargetMin + " ～ " + b.TargetMax,
               ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
    Sub_Log("バージョンアップの対象ではありません。");
    return false;
  }
  std::string question;
  if (b.CurrentVersionNum == b.NewVersionNum) {
    Sub_Log("既に同じバージョンです。");
    question = "既に同じバージョンです。\r\n\r\nバージョンアップの必要はありませんが、実行しますか？";
  } else if (b.CurrentVersionNum > b.NewVersionNum) {
    const std::string text = "このバージョンアップよりも、新しいバージョンがセットアップされています。";
    Sub_Log(text);
    question = text + "\r\n\r\nバージョンダウンは不都合が発生する場合がありますが、実行しますか？";
  }
  if (!question.empty() &&
      ui::MsgBox(question, ui::MsgButtons::kYesNo, ui::MsgIcon::kQuestion, kTitle, 1) != ui::MsgResult::kYes) {
    return Cancelled();
  }
  Sub_Log("");
  Sub_Log("バージョンアップ対象です。");
  Sub_Log("  " + b.CurrentVersion + " -> " + b.NewVersion + " に更新します。");
  return true;
}

void Sub_GetSetting() {
  BasPublic& b = basPublic;
  Sub_Log("");
  Sub_Log("◆◇◆ 設定の取得開始 ◆◇◆");
  b.MasterLocal = Setting("Master_Local", "") == "1";
  Sub_Log("");
  Sub_Log(std::string("ファイルのコピー処理で%VLMP_MASTER%を%VLMP%へコピー : ") + TrueFalse(b.MasterLocal));
  // The same folder named in other letter case is still the same folder.
  if (b.MasterLocal && path::EqualNoCase(b.ProgramPath, b.MasterPath)) {
    b.MasterLocal = false;
    Sub_Log("  %VLMP_MASTER%と%VLMP%が同じため、設定を無視します。");
  }
  b.LockCheck = Setting("LockCheck", "1") == "1";
  Sub_Log("");
  Sub_Log(std::string("ファイルのロック状態チェック有無 : ") + TrueFalse(b.LockCheck));
  b.RunCheck = Setting("RunCheck", "1") == "1";
  Sub_Log("");
  Sub_Log(std::string("バントリクの終了チェック有無 : ") + TrueFalse(b.RunCheck));
  Sub_Log("");
  b.ConvertMax = Count("Convert_Max");
  Sub_Log("コンバートのセクション数     : " + std::to_string(b.ConvertMax));
  b.ImportMax = Count("Import_Max");
  Sub_Log("インポートのセクション数     : " + std::to_string(b.ImportMax));
  b.QzpcnvMax = Count("QZPCNV_Max");
  Sub_Log("数値項目初期化のセクション数 : " + std::to_string(b.QzpcnvMax));
}

}  // namespace qz::update
