#include "update/run_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "data/ini_access.h"
#include "platform/clock/clock.h"
#include "platform/path/host_path.h"
#include "platform/runtime/app.h"
#include "platform/path/no_case.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/frm_main.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/server_files.h"

namespace qz::update {

namespace {

vb::DateTime NowAsDate() {
  LocalDateTime t = Now();
  return vb::DateTime{t.year, t.month, t.day, t.hour, t.minute, t.second};
}

// The run folder of this process's run, open and locked (flock) while the
// run lives; -1 before the first run.
int& RunFolderLock() {
  static int fd = -1;
  return fd;
}

// Takes the lock of the run folder `host` (a path of this machine) in place
// of an earlier run's of this process. The descriptor is not inherited by
// the programs the run starts.
void HoldRunFolder(const std::string& host) {
  if (RunFolderLock() >= 0) ::close(RunFolderLock());
  RunFolderLock() = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (RunFolderLock() >= 0) ::flock(RunFolderLock(), LOCK_EX | LOCK_NB);
}

void SetBackupNote(const std::string& text) {
  if (FrmMain* f = frmMain()) {
    f->lblBackup.caption = text;
    ProcessEvents();
  }
}

}  // namespace

std::string LogRootFolder() {
  const std::string ini = path::JoinPath(App().path, App().exe_name + ".INI");
  std::string root = vb::Trim(Fnc_GetIni("Setting", "LogRoot", "", ini));
  if (!root.empty()) {
    if (!path::HasDriveLetter(root) && !path::IsNetworkPath(root) && root[0] != '/' && root[0] != '\\') {
      root = path::JoinPath(App().path, root);
    }
    return WithClosingSeparator(root);
  }
  if (path::ToHostPath("C:\\") != "/") return kLogRoot;
  const char* home = std::getenv("HOME");
  return WithClosingSeparator(path::JoinPath(home != nullptr && *home != '\0' ? home : "/tmp", "Vantork.Update"));
}

bool Fnc_LogInit() {
  try {
    const std::string root = LogRootFolder();
    std::string stamp = vb::Format(NowAsDate(), "yyyymmdd_hhnnss");
    std::string folder = root + stamp + SeparatorOf(root);
    for (int n = 2; n < 1000; ++n) {
      std::error_code ec;
      if (!std::filesystem::exists(path::ResolveSuitePath(folder + "Update.log"), ec)) break;
      folder = root + stamp + "_" + std::to_string(n) + SeparatorOf(root);
    }
    basPublic.LogFolder = folder;
    basPublic.LogFile = folder + "Update.log";
    if (!Fnc_MakeDir(basPublic.LogFolder)) {
      ui::MsgBox("ログフォルダの作成に失敗しました。\r\n\r\nパス : " + basPublic.LogFolder, ui::MsgButtons::kOk,
                 ui::MsgIcon::kCritical, kTitle);
      return false;
    }
    HoldRunFolder(path::ResolveSuitePath(basPublic.LogFolder));
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void ReleaseRunFolder() {
  if (RunFolderLock() >= 0) ::close(RunFolderLock());
  RunFolderLock() = -1;
}

bool AnotherRunInProgress() {
  namespace fs = std::filesystem;
  struct stat own {};
  const bool holding = RunFolderLock() >= 0 && ::fstat(RunFolderLock(), &own) == 0;
  std::error_code ec;
  for (fs::directory_iterator it(path::ResolveSuitePath(LogRootFolder()), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code sec;
    if (!it->is_directory(sec) || it->is_symlink(sec)) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // This run's own folder, which it holds itself.
    const bool mine = holding && ::fstat(fd, &st) == 0 && st.st_dev == own.st_dev && st.st_ino == own.st_ino;
    const bool held = !mine && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (held) return true;
  }
  return false;
}

void Sub_Log(std::string_view text) {
  if (basPublic.LogFile.empty()) return;
  try {
    std::string line = vb::Format(NowAsDate(), "yyyy/mm/dd hh:nn:ss") + " " + std::string(text);
    std::string bytes = text::ToCp932(line) + "\r\n";
    std::string host = path::ResolveSuitePath(basPublic.LogFile);
    if (std::FILE* f = std::fopen(host.c_str(), "ab")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
  } catch (const std::exception&) {
    // a line that cannot be written is lost; the run goes on
  }
}

void Sub_ErrorLog(std::string_view module, std::int32_t number, std::string_view text) {
  Sub_Log("  エラーが発生しました。");
  Sub_Log("  モジュール : " + std::string(module));
  Sub_Log("  エラー番号 : " + std::to_string(number));
  Sub_Log("  エラー内容 : " + std::string(text));
}

std::string BackupPathOf(std::string_view file) {
  std::string folder = ReplaceAll(Fnc_FolderName(file), ":", "$");
  if (folder.size() >= 2 && (folder[0] == '\\' || folder[0] == '/') && (folder[1] == '\\' || folder[1] == '/')) {
    folder = "$$" + folder.substr(2);
  }
  // A path of this machine ("/srv/qzp") is kept below the run folder too.
  std::size_t skip = 0;
  while (skip < folder.size() && (folder[skip] == '/' || folder[skip] == '\\')) ++skip;
  std::string out = basPublic.LogFolder + folder.substr(skip);
  out = WithClosingSeparator(out);
  return out + Fnc_FileName(file);
}

bool Fnc_FileBackup(std::string_view file) {
  bool result = false;
  try {
    SetBackupNote(std::string(file) + " のバックアップ中です。");
    std::string target = BackupPathOf(file);
    std::string folder = Fnc_FolderName(target) + "\\";
    if (!Fnc_MakeDir(folder)) {
      Sub_Log("  バックアップ先フォルダの作成に失敗しました。 : " + folder);
    } else {
      Sub_Log("  バックアップ : " + std::string(file) + " -> " + target);
      if (AnyFileExists(target)) {
        Sub_Log("    既にバックアップ済みです。");
      } else {
        CopyToBackup(file, target);
        NoteBackup(file, target);
        SetBackupNote(std::string(file) + " のバックアップ中です。");
        Sub_Log("    バックアップが正常終了しました。");
      }
      result = true;
    }
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_FileBackup", e.number(), e.description());
    result = false;
  }
  SetBackupNote("");
  return result;
}

}  // namespace qz::update
