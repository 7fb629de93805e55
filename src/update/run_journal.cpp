#include "update/run_journal.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "platform/path/no_case.h"
#include "platform/runtime/run_time_error.h"
#include "update/bas_public.h"
#include "update/file_error.h"
#include "update/file_routines.h"
#include "update/journal_file.h"
#include "update/path_routines.h"
#include "update/run_log.h"
#include "update/server_files.h"

namespace qz::update {

namespace fs = std::filesystem;

namespace {

using Change = JournalEntry;
using Kind = JournalEntry::Kind;

std::vector<Change>& Journal() {
  static std::vector<Change> journal;
  return journal;
}

// The journal file of the running run (a path of this machine), "" before
// the run folder is known.
std::string JournalFileOfRun() {
  if (basPublic.LogFolder.empty()) return {};
  return path::ResolveSuitePath(basPublic.LogFolder + kJournalFileName);
}

// True for a path inside the run folder (the run's own record).
bool InRunFolder(std::string_view path) {
  if (basPublic.LogFolder.empty()) return false;
  const std::string host = path::ResolveSuitePath(path);
  const std::string run = path::ResolveSuitePath(basPublic.LogFolder);
  return !run.empty() && host.compare(0, run.size(), run) == 0;
}

// Whether `journal` notes `kind` for `path` among its first `count` changes.
bool Noted(const std::vector<Change>& journal, Kind kind, std::string_view path,
           std::size_t count = static_cast<std::size_t>(-1)) {
  for (std::size_t i = 0; i < journal.size() && i < count; ++i) {
    if (journal[i].kind == kind && journal[i].path == path) return true;
  }
  return false;
}

// Notes a change on the disk first, then in memory. A file or folder noted
// once for the same kind is not noted again; moves and runs always are.
void Note(Change change) {
  if (InRunFolder(change.path)) return;
  const bool once = change.kind == Kind::kBackedUp || change.kind == Kind::kAddedFile ||
                    change.kind == Kind::kAddedFolder;
  if (once && Noted(Journal(), change.kind, change.path)) return;
  if (const std::string file = JournalFileOfRun(); !file.empty()) {
    AppendJournalEntry(file, basPublic.ProgramPath, change);
  }
  Journal().push_back(std::move(change));
}

// Puts a file or folder moved aside back under its own name, unless it is
// back already (the step that moved it put it back). False (logged) when it
// cannot be.
bool PutBackMovedAside(const Change& c) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path::ResolveSuitePath(c.backup), ec))) return true;
  if (!Fnc_ReName(c.backup, c.path)) {
    Sub_Log("  元の名前に戻せませんでした。 : " + c.backup + " -> " + c.path);
    return false;
  }
  return true;
}

// Makes `c.path` the link it was again when the run replaced it by a file
// (a copy replaces the link, not the file it leads to). Logs; false when
// the link cannot be made.
bool PutBackLink(const Change& c) {
  const fs::path host = path::ResolveSuitePath(c.path);
  std::error_code ec;
  if (fs::is_symlink(host, ec) && fs::read_symlink(host, ec) == fs::path(c.link)) return true;
  fs::path temp = host;
  temp += ".linking";
  fs::remove(temp, ec);
  fs::create_symlink(c.link, temp, ec);
  if (!ec) fs::rename(temp, host, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    Sub_Log("  リンクを戻せませんでした。 : " + c.path + " -> " + c.link);
    Sub_ErrorLog("Fnc_RollBack", ec.value(), ec.message());
    return false;
  }
  Sub_Log("  リンクを戻しました。 : " + c.path + " -> " + c.link);
  return true;
}

// True when `file` holds exactly the bytes of its backup `backup`: the run
// never changed it (a copy that could not replace a read-only file or one in
// use), so there is nothing to put back. Server backups are always put back.
bool Unchanged(const Change& c) {
  if (IsServerBackup(c.backup)) return false;
  const std::string file = path::ResolveSuitePath(c.path);
  const std::string backup = path::ResolveSuitePath(c.backup);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec) || !fs::is_regular_file(backup, ec)) return false;
  if (fs::file_size(file, ec) != fs::file_size(backup, ec) || ec) return false;
  std::ifstream a(file, std::ios::binary), b(backup, std::ios::binary);
  if (!a || !b) return false;
  return std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                    std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>());
}

bool PutBack(const Change& c) {
  if (!c.link.empty() && !PutBackLink(c)) return false;
  if (Unchanged(c)) {
    Sub_Log("  変更されていないため戻しません。 : " + c.path);
    return true;
  }
  try {
    // Through a link, the file it leads to gets the backup's bytes.
    std::error_code ec;
    const std::string file =
        c.link.empty() ? c.path : fs::weakly_canonical(path::ResolveSuitePath(c.path), ec).string();
    CopyBackupOver(c.backup, ec ? c.path : file);
    Sub_Log("  復元しました。 : " + c.backup + " -> " + c.path);
    return true;
  } catch (const RunTimeError& e) {
    Sub_Log("  復元に失敗しました。 : " + c.path);
    Sub_ErrorLog("Fnc_RollBack", e.number(), e.description());
    return false;
  }
}

bool RemoveEmptyFolder(const std::string& folder) {
  std::error_code ec;
  const fs::path host = path::ResolveSuitePath(folder);
  if (!fs::is_directory(host, ec)) return true;
  if (!fs::is_empty(host, ec)) {
    Sub_Log("  フォルダが空でないため残します。 : " + folder);
    return true;
  }
  if (!fs::remove(host, ec) || ec) {
    Sub_Log("  フォルダの削除に失敗しました。 : " + folder);
    return false;
  }
  Sub_Log("  追加したフォルダを削除しました。 : " + folder);
  return true;
}

}  // namespace

void ClearRunJournal() {
  Journal().clear();
  ClearServerBackups();
}

void CopyToBackup(std::string_view file, std::string_view copy) {
  if (const auto server = ServerFileOf(file)) {
    BackUpServerFile(*server, copy);
    return;
  }
  if (!basPublic.FileSystem) throw RunTimeError(kErrObjectRequired);
  basPublic.FileSystem->CopyFile(file, copy, true);
}

void CopyBackupOver(std::string_view backup, std::string_view file) {
  if (IsServerBackup(backup)) {
    RestoreServerFile(backup, file);
    return;
  }
  if (!basPublic.FileSystem) throw RunTimeError(kErrObjectRequired);
  basPublic.FileSystem->CopyFile(backup, file, true);
  // A program killed while writing the file leaves the record manager's
  // journal of its unfinished write beside it; played into the file put
  // back, it would mix that write's pages into it.
  std::error_code ec;
  fs::remove(path::ResolveSuitePath(file) + "-journal", ec);
  if (ec) throw FileError(ec);
}

void NoteBackup(std::string_view file, std::string_view backup) {
  std::error_code ec;
  const fs::path host = path::ResolveSuitePath(file);
  std::string link;
  if (fs::is_symlink(host, ec)) link = fs::read_symlink(host, ec).string();
  Note(Change{Kind::kBackedUp, std::string(file), std::string(backup), ec ? std::string() : link,
              ServerBackupDefinitions(backup)});
}

void NoteAddedFile(std::string_view file) { Note(Change{Kind::kAddedFile, std::string(file), {}, {}, {}}); }

void NoteAddedFolder(std::string_view folder) { Note(Change{Kind::kAddedFolder, std::string(folder), {}, {}, {}}); }

void NoteProgramRun(std::string_view program, std::string_view parameters) {
  Note(Change{Kind::kRan, std::string(program), std::string(parameters), {}, {}});
}

bool MoveAside(std::string_view own, std::string_view moved) {
  try {
    Note(Change{Kind::kMovedAside, std::string(own), std::string(moved), {}, {}});
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_ReName", e.number(), e.description());
    return false;
  }
  return Fnc_ReName(own, moved);
}

bool LoadRunJournal(const std::vector<JournalEntry>& entries) {
  ClearRunJournal();
  for (const Change& c : entries) {
    if (c.kind == Kind::kBackedUp && !c.definitions.empty() && !AdoptServerBackup(c.backup, c.definitions)) {
      return false;
    }
    Journal().push_back(c);
  }
  return true;
}

bool FinishRunJournal() {
  Journal().clear();
  const std::string file = JournalFileOfRun();
  std::error_code ec;
  if (file.empty() || !fs::exists(fs::symlink_status(file, ec))) return true;
  CallJournalHook(Change{Kind::kRan, {}, {}, {}, {}});
  const bool closed = CloseJournal(file);
  if (fs::exists(fs::symlink_status(file, ec))) Sub_Log("  ジャーナルを削除できませんでした。 : " + file);
  return closed;
}

std::vector<std::string> MissingFolders(std::string_view folder) {
  std::vector<std::string> missing;
  std::string at = std::string(folder);
  while (!at.empty() && !Fnc_FolderExists(at)) {
    missing.insert(missing.begin(), at);
    std::string up = Fnc_FolderName(at);
    if (up == at || up.size() >= at.size()) break;
    at = up;
  }
  return missing;
}

bool RunJournalEmpty() { return Journal().empty(); }

bool Fnc_RollBack() {
  Sub_Log("");
  Sub_Log("◆◇◆ バックアップからの復元開始 ◆◇◆");
  bool ok = true;
  std::vector<Change> journal;
  journal.swap(Journal());
  for (std::size_t i = journal.size(); i-- > 0;) {
    const Change* it = &journal[i];
    switch (it->kind) {
      case Kind::kBackedUp:
        if (!PutBack(*it)) ok = false;
        break;
      case Kind::kAddedFile:
        // A backup taken before the file was added shows it was there
        // before the run; one taken after is of the run's own file, which
        // goes.
        if (Noted(journal, Kind::kBackedUp, it->path, i)) break;
        if (AnyFileExists(it->path)) {
          if (Fnc_FileDel(it->path)) {
            Sub_Log("  追加したファイルを削除しました。 : " + it->path);
          } else {
            ok = false;
          }
        }
        break;
      case Kind::kAddedFolder:
        if (!RemoveEmptyFolder(it->path)) ok = false;
        break;
      case Kind::kMovedAside:
        if (!PutBackMovedAside(*it)) ok = false;
        break;
      case Kind::kRan:  // what it changed was backed up before it ran
      case Kind::kFinished:
        break;
    }
  }
  Sub_Log("");
  Sub_Log(ok ? "※バックアップからの復元が正常終了しました。" : "※バックアップからの復元が異常終了しました。");
  Sub_Log("");
  Sub_Log("◆◇◆ バックアップからの復元終了 ◆◇◆");
  return ok;
}

}  // namespace qz::update
