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

// Logs and shows that the unfinished run of run folder `folder` could not
// be put back; always false (the start ends).
bool CannotPutBack(const std::string& folder) {
  Sub_Log("前回のバージョンアップ前の状態に戻せなかったため、バージョンアップ処理を終了します。");
  ui::MsgBox(std::string(kUnfinished) + "\r\n\r\nバージョンアップ前の状態に戻せませんでした。\r\n\r\nバックアップ : " +
                 folder + "\r\n\r\nサポートセンターに連絡して下さい。",
             ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
  return false;
}

// Whether the file or folder `path` (a path of this machine, made plain)
// is `folder` or lies in it.
bool Within(const fs::path& path, const fs::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (f->empty()) break;  // the closing separator
    if (p == path.end() || *p != *f) return false;
  }
  return true;
}

// `path` as a plain path of this machine ("." and ".." taken out).
fs::path Plain(std::string_view path) {
  return fs::path(path::ResolveSuitePath(path)).lexically_normal();
}

// Whether every change of `entries` lies where a run of this installation
// makes its changes: files and folders in the installation's folders, their
// backups in the run folder `run` (a path of this machine), a file moved
// aside beside itself under its own name and a suffix. A journal naming
// anything else was not written by the run, and nothing is done from it.
bool Confined(const std::vector<JournalEntry>& entries, const std::string& run) {
  std::vector<fs::path> folders;
  for (const std::string* folder : {&basPublic.ProgramPath, &basPublic.MasterPath, &basPublic.DataPath,
                                    &basPublic.CsvPath}) {
    if (!folder->empty()) folders.push_back(Plain(WithClosingSeparator(*folder)));
  }
  if (!basPublic.SpecIniPath.empty()) folders.push_back(Plain(Fnc_FolderName(basPublic.SpecIniPath)) / "");
  const auto inside = [&](std::string_view p) {
    const fs::path plain = Plain(p);
    for (const fs::path& folder : folders) {
      if (Within(plain, folder)) return true;
    }
    return false;
  };
  const fs::path run_folder = fs::path(run).lexically_normal();
  for (const JournalEntry& e : entries) {
    switch (e.kind) {
      case JournalEntry::kBackedUp:
        if (!inside(e.path) || !Within(Plain(e.backup), run_folder)) return false;
        break;
      case JournalEntry::kAddedFile:
      case JournalEntry::kAddedFolder:
        if (!inside(e.path)) return false;
        break;
      case JournalEntry::kMovedAside: {
        const fs::path own = Plain(e.path);
        const fs::path moved = Plain(e.backup);
        const std::string name = (own.has_filename() ? own : own.parent_path()).filename().string();
        const fs::path beside = (own.has_filename() ? own : own.parent_path()).parent_path();
        if (!inside(e.path) || moved.parent_path() != beside || name.empty() ||
            moved.filename().string().rfind(name + ".", 0) != 0) {
          return false;
        }
        break;
      }
      case JournalEntry::kRan:
      case JournalEntry::kFinished:
        break;  // nothing is done for them
    }
  }
  return true;
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
  if (ok && !CloseJournal(file)) {
    Sub_Log("  ジャーナルを削除できませんでした。 : " + file);
    ok = false;
  }
  if (!ok) return CannotPutBack(folder);
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
      // Whose run it was and what it changed cannot be told: the
      // installation may be half changed.
      Sub_Log("");
      Sub_Log("前回のバージョンアップのジャーナルを読み込めません。 : " + folder + kJournalFileName);
      return CannotPutBack(folder);
    }
    if (journal->finished || (journal->entries.empty() && !journal->damaged)) {
      // Completed, or killed before its first change was on the disk:
      // nothing to put back.
      RemoveJournal(file);
      continue;
    }
    if (!SameFolder(journal->installation, basPublic.ProgramPath)) continue;
    if (journal->damaged || !Confined(journal->entries, fs::path(file).parent_path().string())) {
      Sub_Log("");
      Sub_Log("前回のバージョンアップのジャーナルが正しくありません。 : " + folder + kJournalFileName);
      return CannotPutBack(folder);
    }
    if (!PutBack(file, journal->entries, folder)) return false;
  }
  return true;
}

}  // namespace qz::update
