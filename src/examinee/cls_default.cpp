#include "examinee/cls_default.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "data/bas_file_access.h"
#include "data/ini_access.h"
#include "data/program_log.h"
#include "examinee/bas_get_user.h"
#include "examinee/bas_get_user_info.h"
#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/settings_reader.h"
#include "examinee/start_checks.h"
#include "platform/ini/profile.h"
#include "platform/record/btr_file.h"
#include "platform/path/no_case.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/system/instance_lock.h"
#include "platform/system/window_finder.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"
#include "suite/qzpclr.h"
#include "suite/runtime_entries.h"

namespace qz {
namespace {

constexpr const char* kTitle = "結果入力";
constexpr const char* kProgramIni = "./QZP140.INI";
constexpr const char* kPathIni = "./QZPPATH.ini";
constexpr const char* kLoadJobText = "結果入力フォームの読み込み処理でエラーが発生しました。";
constexpr const char* kDefaultCopyRight = "Copyright (C) All Rights Reserved.";

void Warn(const std::string& text, const char* title = kTitle) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, title);
}

// A new text of the progress window's state line, painted at once.
void State(const char* text) {
  frmGuide->lblState.caption = text;
  ui::DoEvents();
}

// The work-file initialisation of the start: 10 blanks in, the status in
// characters 9-10 out. True for "00", "05" and two blanks; otherwise the
// failure has been shown with the whole area as returned.
bool InitialiseWorkFiles() {
  std::string area(10, ' ');
  suite::QZPCLR(area);
  const std::string status = area.substr(8, 2);
  if (status == "00" || status == "05" || status == "  ") return true;
  Warn("マスタの初期化に失敗しました。\r\nLNK AREA : 「" + area + "」");
  return false;
}

}  // namespace

ClsDefault::ClsDefault(ui::Form& frm_result_in, ui::Form& frm_grp_jmp)
    : frm_result_in_(frm_result_in), frm_grp_jmp_(frm_grp_jmp) {}

bool ClsDefault::DefaultSetting() {
  program_log::Begin();
  try {
    if (system::AnotherInstanceRunning(App().exe_name)) {
      Warn("既に起動しています。");
      return false;
    }
    if (!Fnc_CheckProgramFolder()) return false;
    if (!Fnc_MenuCheck()) {
      Warn("メニューから実行して下さい。");
      return false;
    }
    basPublic.CopyRight = vb::Trim(Fnc_GetIni("SysInfo", "CopyRight", kDefaultCopyRight, kProgramIni));

    frmGuide->Show(false, &frm_result_in_);
    frmGuide->lblGuide.caption = "結果入力　起動中です．．．";
    frmGuide->lblState.caption.clear();
    ui::DoEvents();

    if (std::optional<SettingsError> error = Sub_ReadSettings()) {
      ui::ShowErrorReport(kLoadJobText, error->number, error->description, ui::MsgIcon::kCritical, kTitle);
      return false;
    }
    // How long a write waits for another terminal writing the same file:
    // never under a second, so that another terminal's moment on a file
    // (its on-line row, the end of its save) is never taken for a failure.
    record::SetBusyTimeout(std::chrono::seconds(std::max<int>(basPublic.WriteWait, kShortestWriteWaitSeconds)));

    WorkAreaInfo& w = basPublic.WorkArea;
    if (!Fnc_GetWorkArea(w.Left, w.Top, w.Right, w.Bottom, w.Width, w.Height)) {
      // Without a work area the forms fill the whole screen rather than
      // shrink to nothing.
      const ui::TwipsRect screen = ui::Shell::Require().ScreenTwips();
      w = WorkAreaInfo{screen.left, screen.top, screen.right, screen.bottom, screen.width(), screen.height()};
    }
    w.Height -= 50;
    Sub_SetFormLayout();

    State("ファイル設定情報取得中");
    if (!Fnc_ReadPathIni(basPublic.HopePath, basPublic.VlmpPath, basPublic.VlmfPath, basPublic.SpecPath,
                         basPublic.ReservePath)) {
      return false;
    }
    if (!Fnc_CheckDataFolder()) return false;
    Sub_WarnUnmatchedStorage();
    if (!Fnc_SetLogonUser()) return false;
    program_log::Started();

    State("ファイル初期化中");
    suite::JMPCINT2();
    if (!InitialiseWorkFiles()) return false;

    if (!Fnc_OpenAllMasters()) return false;

    frmGuide->Unload();
    return true;
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kLoadJobText, e, ui::MsgIcon::kCritical, kTitle);
    return false;
  }
}

bool ClsDefault::Fnc_MenuCheck() {
  const std::int16_t menu_check = vb::CInt(Fnc_GetIni("SysInfo", "MenuCheck", "1", kProgramIni));
  const bool found = system::FindTopLevelWindow(kSuiteMenuTitle);
  return menu_check == 0 || found;
}

bool ClsDefault::Fnc_ReadPathIni(std::string& hope, std::string& vlmp, std::string& vlmf, std::string& spec,
                                 std::string& reserve) {
  const char* failure = nullptr;
  if (::access(path::ResolveSuitePath(kPathIni).c_str(), F_OK) != 0) {
    failure = "INIファイルの取得に失敗しました｡";
  } else {
    const std::array<std::pair<const char*, std::string*>, 5> keys = {{
        {"HOPE", &hope}, {"VLMP", &vlmp}, {"VLMF", &vlmf}, {"CPFSPEC ", &spec}, {"RESERVE", &reserve}}};
    for (const auto& [key, target] : keys) {
      if (!Fnc_GetPathKey("FILE_PATH", key, *target)) {
        failure = "INIファイルの項目の取得に失敗しました。";
        NotePathIniUnreadable();
        break;
      }
    }
  }
  if (failure == nullptr) return true;
  ui::Beep();
  Warn(failure, "INIファイルエラー");
  return false;
}

bool ClsDefault::Fnc_GetPathKey(const std::string& section, const std::string& key, std::string& target) {
  std::string value = ini::GetProfileString(kPathIni, section, key, "", 255);
  if (value.empty()) return false;
  target = std::move(value);
  return true;
}

bool ClsDefault::Fnc_SetLogonUser() {
  State("利用者マスタオープン中");
  if (!Fnc_OpenUsrMaster()) return false;
  State("ログオン情報取得中");
  if (!Fnc_GetLogonUser(basPublic.LogonUserId)) return false;
  return Fnc_GetUserInfo(basPublic.LogonUserId, basPublic.UserFirstGroup, basPublic.UserName,
                         basPublic.UserInputGroups, basPublic.UserDspKbn);
}

}  // namespace qz
