#include "update/step_support.h"

#include "data/create_process.h"
#include "data/ini_access.h"
#include "platform/clock/clock.h"
#include "platform/process/child_process.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/frm_main.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"

namespace qz::update {

bool Guarded(std::string_view module, const std::function<bool()>& body) {
  try {
    return body();
  } catch (const RunTimeError& e) {
    Sub_ErrorLog(module, e.number(), e.description());
  } catch (const std::exception& e) {
    Sub_ErrorLog(module, 5, e.what());
  }
  return false;
}

void CriticalBox(std::string_view text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
}

void Report(std::string_view label, std::string_view caption, std::string_view value) {
  CriticalBox(std::string(label) + "\r\n\r\n" + std::string(caption) + std::string(value));
  Sub_Log(std::string(label) + " : " + std::string(value));
}

std::string DefinedFileName(std::string_view id, const char* key, std::string_view kind,
                            const std::string& definition) {
  const std::string name = Fnc_GetIni(id, key, "", definition);
  if (name.empty()) {
    Report(std::string(kind) + "ファイル名が定義されていません。", "ファイルID : ", id);
    return {};
  }
  if (!IsNameInsideFolder(name)) {
    Report(std::string(kind) + "ファイル名が不正です。", "ファイルID : ", id);
    return {};
  }
  return name;
}

void ShowAndLog(std::string_view text) {
  CriticalBox(text);
  Sub_Log(text);
}

void CannotMoveTo(std::string_view folder) { ShowAndLog("「" + std::string(folder) + "」に移動できません。"); }

bool ChangeDirOrReport(std::string_view folder) {
  if (Fnc_ChangeDir(folder, false)) return true;
  CannotMoveTo(folder);
  return false;
}

void SetStepTitle(std::string_view text) {
  if (FrmMain* f = frmMain()) {
    f->lblTitle.caption = std::string(text);
    ProcessEvents();
  }
}

void SetStepGuide(std::string_view text) {
  if (FrmMain* f = frmMain()) {
    f->lblGuide.caption = std::string(text);
    ProcessEvents();
  }
}

std::string NowStamp() {
  const LocalDateTime t = Now();
  return vb::Format(vb::DateTime{t.year, t.month, t.day, t.hour, t.minute, t.second}, "yyyymmddhhnnss");
}

bool IsNameInsideFolder(std::string_view name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.size() >= 2 && name[1] == ':') return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

bool ProgramPresent(std::string_view file) { return process::FindProgram(file).has_value(); }

bool RunProgramAndWait(std::string_view file, std::string_view parameters) {
  try {
    NoteProgramRun(file, parameters);
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Sub_CreateProcess", e.number(), e.description());
    return false;
  }
  FrmMain* f = frmMain();
  CreateProcessResult r = Sub_CreateProcess(f != nullptr ? f->hWnd() : 0, file, parameters, 100);
  if (!r.finished()) return false;
  if (r.exit_status != 0) {
    Sub_Log("  プログラムがエラーで終了しました。 : " + std::string(file) + " 終了コード " +
            std::to_string(r.exit_status));
    return false;
  }
  return true;
}

bool RunGenericConverter(std::string_view parameters) {
  constexpr const char* kProgram = "QZPGENCNV.EXE";
  Sub_Log("");
  Sub_Log(std::string("インポート処理を呼び出します。 : ") + kProgram + " " + std::string(parameters));
  if (!ProgramPresent(kProgram)) {
    Report("汎用コンバートプログラムが見つかりません。", "プログラム : ", kProgram);
    return false;
  }
  // A converter that could not be started, or that ended with an error,
  // has not imported the file: that is a failure, not a done import.
  return RunProgramAndWait(kProgram, parameters);
}

}  // namespace qz::update
