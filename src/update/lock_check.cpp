// The lock check of the data folder, the first step of the sequence.
//
// The folder is renamed away and back: where a program holds a file in it
// open, the rename fails. This machine renames a folder whatever is open in
// it, so before the rename the programs that hold a file in the folder open
// (or work in it) are looked for, and any such program counts as a failed
// rename. The record manager keeps every file open for as long as a program
// uses it, so this finds every program that could write to the files while
// they are converted.
#include <string>
#include <vector>

#include "platform/path/no_case.h"
#include "platform/system/open_files.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/run_log.h"
#include "update/step_support.h"
#include "update/steps.h"

namespace qz::update {

namespace {

// True when no other program uses the data folder; logs each that does.
bool DataFolderFree() {
  const std::vector<system::OpenFileHolder> users =
      system::ProcessesUsingFolder(path::ResolveSuitePath(basPublic.DataPath));
  for (const system::OpenFileHolder& u : users) {
    Sub_Log("  使用中のファイル : " + u.file + " (プロセスID " + std::to_string(u.pid) + ")");
  }
  return users.empty();
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
  if (!DataFolderFree() || !Fnc_ReName(basPublic.DataPath, check_name)) {
    CriticalBox(
        "ファイルを使用中の可能性があります。\r\n全てのプログラムを終了して下さい。\r\n他の端末は電源を切って下さい。"
        "\r\n\r\nそれでも無理な場合は、コンピュータを再起動してからバージョンアップを行って下さい。");
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
