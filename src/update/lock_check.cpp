// The lock check of the data folder, the first step of the sequence.
//
// The folder is renamed away and back: where a program holds a file in it
// open, the rename fails. This machine renames a folder whatever is open in
// it, so before the rename two things count as a failed rename: a program
// of this machine that holds a file in the folder open (or works in it),
// and a record-manager file (*.BTR) whose exclusive lock cannot be had
// within a moment, which also finds the files that programs of other users
// or other terminals are reading or writing. The record manager keeps every
// file open for as long as a program uses it, so the first test finds every
// program here that could write to the files while they are converted.
// A data folder on the database server has no files to hold: there, every
// program that has the folder open holds its folder lock on the server,
// which the check asks for exclusively, and a transaction holding one of
// its tables is found on the server too, whichever terminal runs them.
#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/path/no_case.h"
#include "platform/record/definitions.h"
#include "platform/record/file_busy.h"
#include "platform/record/folder_users.h"
#include "platform/record/status.h"
#include "platform/system/open_files.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/step_support.h"
#include "update/steps.h"

namespace qz::update {

namespace {

// True when no other session of the database server uses the data folder
// (true for a folder that is not on a server); logs each that does, or
// that the server cannot be asked (which counts as in use).
bool ServerFolderFree() {
  const auto definitions = record::Definitions::Load(record::FindDefinitionsFile(basPublic.SpecIniPath));
  if (!definitions) return true;  // no server named: the files are checked as files
  std::vector<record::FolderUser> users;
  const int status = record::ServerFolderUsers(*definitions, basPublic.DataPath, &users);
  if (status != record::kStatusOk) {
    Sub_Log("  サーバーに使用状況を確認できません。 : " + basPublic.DataPath + " (ステータス " +
            std::to_string(status) + ")");
    return false;
  }
  for (const record::FolderUser& u : users) {
    Sub_Log("  使用中の端末 : " + u.who + " (サーバーのプロセスID " + std::to_string(u.pid) + ")" +
            (u.table.empty() ? std::string() : " : " + u.table));
  }
  return users.empty();
}

// True when no other program uses the data folder; logs each that does.
bool DataFolderFree() {
  if (!ServerFolderFree()) return false;
  const std::vector<system::OpenFileHolder> users =
      system::ProcessesUsingFolder(path::ResolveSuitePath(basPublic.DataPath));
  for (const system::OpenFileHolder& u : users) {
    Sub_Log("  使用中のファイル : " + u.file + " (プロセスID " + std::to_string(u.pid) + ")");
  }
  bool free = users.empty();
  std::error_code ec;
  const std::filesystem::path folder = path::ResolveSuitePath(basPublic.DataPath);
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() < 4 || !path::EqualNoCase(name.substr(name.size() - 4), ".BTR")) continue;
    if (!it->is_regular_file(ec)) continue;
    if (record::RecordFileBusy(it->path().string(), std::chrono::milliseconds(200))) {
      Sub_Log("  使用中のファイル : " + basPublic.DataPath + name);
      free = false;
    }
  }
  return free;
}

}  // namespace

bool Fnc_LockCheck() {
  Sub_Log("");
  Sub_Log("◆ ロック状態の確認開始 ◆");
  if (!basPublic.LockCheck) {
    Sub_Log("ファイルのロック状態チェックが不要のため無視します。");
    return true;
  }
  std::string folder = basPublic.DataPath;
  if (!folder.empty()) folder.pop_back();
  const std::string check_name = folder + ".Check_" + NowStamp();
  Sub_Log("リネーム開始 : " + basPublic.DataPath);
  if (!DataFolderFree() || !MoveAside(basPublic.DataPath, check_name)) {
    CriticalBox(
        "ファイルを使用中の可能性があります。\r\n全てのプログラムを終了して下さい。\r\n他の端末は電源を切って下さい。"
        "\r\n\r\nそれでも無理な場合は、コンピュータを再起動してからバージョンアップを行って下さい。\r\n\r\nフォルダ : " +
        basPublic.DataPath);
    return false;
  }
  Sub_Log("リネームを戻す : " + check_name);
  if (Fnc_ReName(check_name, basPublic.DataPath)) {
    Sub_Log("ロック状態の確認が正常終了しました。");
    return true;
  }
  CriticalBox("致命的なエラーが発生しました。\r\n\r\nサポートセンターに連絡して下さい。");
  return false;
}

}  // namespace qz::update
