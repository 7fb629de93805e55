#include "update/org_ini.h"

#include "data/ini_access.h"
#include "platform/clock/clock.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"

namespace qz::update {

namespace {

void Critical(const std::string& text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
}

}  // namespace

bool Fnc_OrgINI(std::string_view section, std::string_view key, std::string& moved) {
  moved.clear();
  try {
    if (!Fnc_ChangeDir(basPublic.RootPath, false)) {
      std::string text = "「" + basPublic.RootPath + "」に移動できません。";
      Critical(text);
      Sub_Log(text);
      return false;
    }
    std::string value = Fnc_GetIni(section, key, "", basPublic.UpdateIniPath);
    if (value.empty()) return true;
    value = Fnc_FullPath(value);
    Sub_Log("オリジナルQZPCSV.INI : " + value);
    if (!Fnc_FileExists(value)) {
      Critical("オリジナルファイルが見つかりません。\r\n\r\nファイル : " + value);
      Sub_Log("オリジナルファイルが見つかりません。 : " + value);
      return false;
    }
    if (!Fnc_FileExists(basPublic.CsvIniPath)) {
      Critical("QZPCSV.INIが見つかりません。\r\n\r\nファイル : " + basPublic.CsvIniPath);
      Sub_Log("QZPCSV.INIが見つかりません。 : " + basPublic.CsvIniPath);
      return false;
    }
    LocalDateTime t = Now();
    std::string name = basPublic.CsvIniPath + "." + "Original_" +
                       vb::Format(vb::DateTime{t.year, t.month, t.day, t.hour, t.minute, t.second},
                                  "yyyymmddhhnnss");
    if (!MoveAside(basPublic.CsvIniPath, name)) return false;
    moved = name;
    if (Fnc_FileCopy(value, basPublic.CsvIniPath, kAlwaysCopy, false) == kCopyError) {
      Critical("オリジナルファイルのコピーに失敗しました。\r\n\r\nファイル : " + value);
      Sub_Log("オリジナルファイルのコピーに失敗しました。 : " + value);
      return false;
    }
    return true;
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_OrgINI", e.number(), e.description());
    return false;
  }
}

bool Fnc_ReNameBack(std::string_view moved, std::string_view own) {
  if (moved.empty()) return true;
  Sub_Log("");
  Sub_Log("リネームしたファイル名を元に戻します。 : " + std::string(moved) + " -> " + std::string(own));
  if (!AnyFileExists(moved)) {
    Sub_Log("リネーム後のファイルが見つかりません。 : " + std::string(moved));
    return false;
  }
  return Fnc_ReName(moved, own);
}

}  // namespace qz::update
