#include "update/copy_step.h"

#include <exception>

#include "data/ini_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/frm_main.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/server_files.h"
#include "update/step_support.h"
#include "update/target_check.h"

namespace qz::update {

BasCopy basCopy;

namespace {

constexpr const char* kCountPattern = "#,###,###,##0";

void ShowCopyCount() {
  if (FrmMain* f = frmMain()) {
    f->lblCopyCount.caption = vb::Format(basCopy.CopyCount, kCountPattern);
    ProcessEvents();
  }
}

std::int16_t ModeOf(std::string_view text) {
  if (text == "2") return kCopyIfNewer;
  if (text == "3") return kCopyIfMissing;
  return kAlwaysCopy;
}

}  // namespace

bool Fnc_CopyMain() {
  basCopy = BasCopy{};
  if (FrmMain* f = frmMain()) {
    f->lblTitle.caption = "ファイルのコピー中です。";
    f->lblCopyCountLabel.visible = true;
    f->lblCopyCount.visible = true;
  }
  ShowCopyCount();
  Sub_Log("");
  Sub_Log("◆◇◆ コピー処理開始 ◆◇◆");

  bool result = false;
  if (!ChangeDirOrReport(basPublic.RootPath)) {
    Sub_Log("");
    Sub_Log("◆◇◆ コピー処理終了 ◆◇◆");
    return false;
  }
  if (FrmMain* f = frmMain()) {
    f->lblGageMax.visible = true;
    f->lblCount.caption = "ファイルリストの作成中です．．．";
    f->lblCount.visible = true;
    ProcessEvents();
  }
  Sub_Log("");
  Sub_Log("◆ コピーするファイルリストの作成 ◆");
  for (std::int32_t i = 1; i <= 100; ++i) {
    if (Sub_CopyList("Copy_" + vb::Format(i, "000"))) continue;
    Sub_Log("");
    Sub_Log("※コピー処理が異常終了しました。");
    Sub_Log("");
    Sub_Log("◆◇◆ コピー処理終了 ◆◇◆");
    return false;
  }

  if (FrmMain* f = frmMain()) {
    f->lblGageNow.width = 0;
    f->lblGageNow.visible = true;
  }
  Sub_Log("");
  Sub_Log("◆ コピー処理 ◆");
  result = true;
  const std::int32_t last = static_cast<std::int32_t>(basCopy.CopyList.size()) - 1;
  for (std::int32_t k = 1; k <= last; ++k) {
    if (Fnc_Copy(k)) continue;
    const std::string text = "「" + basCopy.CopyList[static_cast<std::size_t>(k)].File +
                             "」のコピーに失敗しました。\r\n\r\n続行しますか？";
    if (ui::MsgBox(text, ui::MsgButtons::kYesNo, ui::MsgIcon::kCritical, kTitle, 1) == ui::MsgResult::kYes) {
      NoteFailurePassedOver();  // the file stays as it was
      continue;
    }
    Sub_Log("コピーエラーで続行キャンセルを選択されたため、終了します。");
    result = false;
    break;
  }
  if (result) {
    Sub_Log("");
    Sub_Log("※コピー処理が正常終了しました。");
  }
  Sub_Log("");
  Sub_Log("◆◇◆ コピー処理終了 ◆◇◆");
  return result;
}

bool Sub_CopyList(std::string_view section) {
  const std::string& ini = basPublic.UpdateIniPath;
  std::string from = Fnc_GetIni(section, "From", "", ini);
  if (from.empty()) return true;
  Sub_Log("");
  Sub_Log("セクション : " + std::string(section));
  const std::int16_t t = Fnc_TargetCheck(section);
  if (TargetMalformed(t, section)) return false;
  if (t != kTargetApplies) return true;

  Sub_Log("From : " + from);
  from = WithClosingSeparator(Fnc_FullPath(from));
  Sub_Log("    -> " + from);

  const std::string to = Fnc_GetIni(section, "To", "", ini);
  Sub_Log("To   : " + to);
  const std::string dest1 = Fnc_PathMacro(to, true, true);
  std::string dest2;
  Sub_Log("  -> : " + dest1);
  if (basPublic.MasterLocal && to.find("%VLMP_MASTER%") != std::string::npos) {
    dest2 = Fnc_PathMacro(ReplaceAll(to, "%VLMP_MASTER%", "%VLMP%"), true, true);
    Sub_Log("  -> : " + dest2);
  }

  const std::int16_t mode = ModeOf(Fnc_GetIni(section, "OverWrite", "1", ini));
  Sub_Log("OverWrite : " + std::to_string(mode));
  const std::string mask = Fnc_GetIni(section, "Mask", "*.*", ini);
  Sub_Log("Mask : " + mask);

  Sub_Log("ファイルリストの取得");
  std::vector<std::string> files;
  Sub_FileList(from, mask, true, files);
  for (const std::string* dest : {&dest1, static_cast<const std::string*>(&dest2)}) {
    if (dest->empty()) continue;
    for (std::size_t j = 1; j < files.size(); ++j) basCopy.CopyList.push_back({from, *dest, files[j], mode});
  }
  return true;
}

bool Fnc_Copy(std::int32_t k) {
  try {
    const std::int32_t last = static_cast<std::int32_t>(basCopy.CopyList.size()) - 1;
    const CopyEntry& e = basCopy.CopyList.at(static_cast<std::size_t>(k));
    if (FrmMain* f = frmMain()) {
      f->lblCount.caption = "( " + std::to_string(k) + " / " + std::to_string(last) + " )";
      f->lblGageNow.width = last > 0 ? static_cast<int>(static_cast<long long>(k) * f->lblGageMax.width / last) : 0;
      f->lblGuide.caption = e.File;
      ProcessEvents();
    }
    // What the copy adds to the installation is noted, so that a failed run
    // can take it away again (run_journal.h).
    const std::string destination = e.To + e.File;
    const bool existed = AnyFileExists(destination);
    // Noted before the copy, which may make them even when it fails.
    for (const std::string& folder : MissingFolders(Fnc_FolderName(destination))) NoteAddedFolder(folder);
    if (!existed && !EndsInSeparator(destination)) NoteAddedFile(destination);
    const std::int16_t copied = Fnc_FileCopy(e.From + e.File, destination, e.OverWrite, true);
    // The centre's choice of engines stays with the installation.
    if (copied == kCopied && existed && IsDefinitionsFile(destination) &&
        !KeepStorageEntries(BackupPathOf(destination), destination)) {
      return false;
    }
    switch (copied) {
      case kCopied:
        ++basCopy.CopyCount;
        ShowCopyCount();
        [[fallthrough]];
      case kSkipped:
      case kFolderCreated:
        Sub_Log("  正常終了しました。");
        return true;
      default:
        return false;
    }
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_Copy", e.number(), e.description());
  } catch (const std::exception& e) {
    Sub_ErrorLog("Fnc_Copy", 5, e.what());
  }
  return false;
}

}  // namespace qz::update
