#include "update/path_set.h"

#include <string>
#include <vector>

#include "data/ini_access.h"
#include "platform/runtime/app.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/path_routines.h"
#include "update/process_list.h"
#include "update/run_log.h"

namespace qz::update {

namespace {

void Critical(const std::string& text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle);
}

// Shows `box` and logs `line`; false for the caller to return.
bool Refuse(const std::string& box, const std::string& line) {
  Critical(box);
  Sub_Log(line);
  return false;
}

// A folder of FILE_PATH, made full, with a closing separator when it names
// anything.
std::string FolderOf(std::string_view key) {
  std::string full = Fnc_FullPath(Fnc_GetIni("FILE_PATH", key, "", basPublic.PathIniPath));
  return full.empty() ? full : WithClosingSeparator(full);
}

std::string CommandPath(std::string_view command_line) {
  std::string p = vb::Trim(command_line);
  if (p.size() >= 2 && p.front() == '"' && p.back() == '"') p = vb::Trim(p.substr(1, p.size() - 2));
  return p;
}

}  // namespace

bool Fnc_PathEdit(std::string_view command_line) {
  basPublic.ProgramPath.clear();
  Sub_Log("コマンドライン : " + std::string(command_line));
  std::string given = CommandPath(command_line);
  if (!given.empty()) {
    basPublic.ProgramPath = given;
    Sub_Log("コマンドラインを使用します。");
  } else {
    Sub_Log("バントリクが実行されているか確認します。");
    if (!Fnc_FindRunning()) return false;
  }
  basPublic.ProgramPath = WithClosingSeparator(basPublic.ProgramPath);
  const std::string& p = basPublic.ProgramPath;
  if (!Fnc_FolderExists(p)) return Refuse("「" + p + "」が見つかりません。", "「" + p + "」が見つかりません。");
  if (!Fnc_ChangeDir(p, false)) return Refuse("「" + p + "」に移動できません。", "「" + p + "」に移動できません。");
  if (!Fnc_PathSet()) return false;
  Sub_Log("ルートフォルダ : " + basPublic.RootPath);
  Sub_Log("VLMP_MASTER    : " + basPublic.MasterPath);
  Sub_Log("VLMP           : " + basPublic.ProgramPath);
  Sub_Log("VLMF           : " + basPublic.DataPath);
  Sub_Log("CSV            : " + basPublic.CsvPath);
  Sub_Log("UPDATE.INI     : " + basPublic.UpdateIniPath);
  Sub_Log("QZPPATH.INI    : " + basPublic.PathIniPath);
  Sub_Log("CPFSPEC.INI    : " + basPublic.SpecIniPath);
  return true;
}

bool Fnc_FindRunning() {
  std::vector<std::string> list;
  std::int32_t n = Fnc_GetProcessPaths(kMainProgram, list);
  const std::string name = kMainProgram;
  if (n == 0) {
    return Refuse("バントリクが見つかりません。\r\n\r\nバントリクを起動してから実行して下さい。",
                  "「" + name + "」が見つかりません。");
  }
  if (n >= 2) {
    return Refuse("バントリクが" + std::to_string(n) +
                      "個見つかりました。\r\n\r\nバージョンアップを行いたいバントリクを\r\n１つだけ起動した状態で実行して下さい。",
                  "「" + name + "」が" + std::to_string(n) + "個見つかりました。");
  }
  basPublic.ProgramPath = Fnc_FolderName(list[1]);
  return true;
}

bool Fnc_PathSet() {
  BasPublic& b = basPublic;
  Sub_Log("");
  Sub_Log("◆◇◆ パス編集処理開始 ◆◇◆");
  b.RootPath = WithClosingSeparator(App().path);
  b.UpdateIniPath = Fnc_FullPath(b.RootPath + App().exe_name + ".INI");
  if (!Fnc_FileExists(b.UpdateIniPath)) {
    return Refuse("バージョンアップ定義ファイルが見つかりません。\r\n\r\nパス : " + b.UpdateIniPath,
                  "「" + b.UpdateIniPath + "」が見つかりません。");
  }
  b.PathIniPath = Fnc_FullPath(b.ProgramPath + "QZPPATH.INI");
  if (!Fnc_FileExists(b.PathIniPath)) {
    return Refuse("QZPPATH.INIが見つかりません。\r\n\r\nパス : " + b.PathIniPath,
                  "「" + b.PathIniPath + "」が見つかりません。");
  }
  struct Folder {
    const char* key;
    std::string* field;
  } folders[] = {{"VLMP_MASTER", &b.MasterPath}, {"VLMF", &b.DataPath}, {"CSV", &b.CsvPath}};
  for (const Folder& f : folders) {
    *f.field = FolderOf(f.key);
    if (!Fnc_FolderExists(*f.field)) {
      return Refuse(std::string(f.key) + "フォルダが見つかりません。\r\n\r\nパス : " + *f.field,
                    "フォルダ「" + *f.field + "」が見つかりません。");
    }
  }
  b.SpecIniPath = Fnc_FullPath(Fnc_GetIni("FILE_PATH", "CPFSPEC", "", b.PathIniPath));
  if (!Fnc_FileExists(b.SpecIniPath)) {
    return Refuse("CPFSPEC.INIが見つかりません。\r\n\r\nパス : " + b.SpecIniPath,
                  "「" + b.SpecIniPath + "」が見つかりません。");
  }
  b.CsvIniPath = b.ProgramPath + "QZPCSV.INI";
  if (!Fnc_FileExists(b.CsvIniPath)) {
    return Refuse("QZPCSV.INIが見つかりません。\r\n\r\nパス : " + b.CsvIniPath,
                  "「" + b.CsvIniPath + "」が見つかりません。");
  }
  return true;
}

}  // namespace qz::update
