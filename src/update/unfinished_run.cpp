#include "update/unfinished_run.h"

#include <filesystem>
#include <memory>
#include <string>

#include "platform/path/no_case.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/journal_file.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"

namespace qz::update {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUnfinished = "前回のバージョンアップが完了していませんでした。";

bool SameFolder(const std::string& a, const std::string& b) {
  return path::ResolveSuitePath(WithClosingSeparator(a)) == path::ResolveSuitePath(WithClosingSeparator(b));
}

// Puts back the run whose journal is `file` (a path of this machine), its
// run folder shown as `folder`. False when it could not be put back.
bool PutBack(const std::string& file, const std::vector<JournalEntry>& entries, const std::string& folder) {
  Sub_Log("");
  Sub_Log("前回のバージョンアップが完了していません。 : " + folder);
  // The copies go through the file-system object, which the main form
  // makes only later.
  const bool own_object = !basPublic.FileSystem;
  if (own_object) basPublic.FileSystem = std::make_shared<FileSystemObject>();
  bool ok = LoadRunJournal(entries);
  if (!ok) Sub_Log("  サーバーのバックアップの定義を読み込めません。");
  ok = ok && Fnc_RollBack();
  if (own_object) basPublic.FileSystem.reset();
  if (ok && !RemoveJournal(file)) {
    Sub_Log("  ジャーナルを削除できませんでした。 : " + file);
    ok = false;
  }
  if (!ok) {
    Sub_Log("前回のバージョンアップ前の状態に戻せなかったため、バージョンアップ処理を終了します。");
    ui::MsgBox(std::string(kUnfinished) + "\r\n\r\nバージョンアップ前の状態に戻せませんでした。\r\n\r\nバックアップ : " +
                   folder + "\r\n\r\nサポートセンターに連絡して下さい。",
               ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
    return false;
  }
  Sub_Log("前回のバージョンアップ前の状態に戻しました。");
  ui::MsgBox(std::string(kUnfinished) + "\r\n\r\nバージョンアップ前の状態に戻しました。\r\n\r\nログ : " + folder +
                 "Update.log",
             ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, kTitle);
  return true;
}

}  // namespace

bool Fnc_PutBackUnfinishedRun() {
  const std::string root = LogRootFolder();
  const std::string own = path::ResolveSuitePath(basPublic.LogFolder + kJournalFileName);
  for (const std::string& file : JournalFilesUnder(path::ResolveSuitePath(root))) {
    if (file == own) continue;
    const std::string folder = root + fs::path(file).parent_path().filename().string() + SeparatorOf(root);
    const auto journal = ReadJournal(file);
    if (!journal) {
      Sub_Log("");
      Sub_Log("前回のバージョンアップのジャーナルを読み込めません。 : " + folder + kJournalFileName);
      continue;
    }
    if (journal->entries.empty()) {
      // Killed before its first change was on the disk: nothing to put back.
      RemoveJournal(file);
      continue;
    }
    if (!SameFolder(journal->installation, basPublic.ProgramPath)) continue;
    if (!PutBack(file, journal->entries, folder)) return false;
  }
  return true;
}

}  // namespace qz::update
