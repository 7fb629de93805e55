#include "update/external_step.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "data/ini_access.h"
#include "platform/path/no_case.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/ini_routines.h"
#include "update/path_routines.h"
#include "update/run_log.h"
#include "update/step_support.h"
#include "update/target_check.h"

namespace qz::update {

namespace {

// The running external section and the settings copy of the run.
std::string g_section;
std::string g_setting_copy;

std::string Key(std::string_view key) { return Fnc_GetIni(g_section, key, "", basPublic.UpdateIniPath); }


bool IsBlank(std::string_view text) {
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  }
  return true;
}

}  // namespace

std::string ForProgram(std::string_view path) {
  if (path.empty()) return {};
  std::string host = path::ResolveSuitePath(path);
  if (EndsInSeparator(path) && !EndsInSeparator(host)) host += '/';
  return host;
}

std::string ResolveForProgram(std::string_view text) {
  const std::pair<const char*, const std::string*> macros[] = {
      {"%VLMP_MASTER%", &basPublic.MasterPath}, {"%VLMP%", &basPublic.ProgramPath},
      {"%VLMF%", &basPublic.DataPath},          {"%CSV%", &basPublic.CsvPath},
      {"%CURDIR%", &basPublic.RootPath}};
  std::string out;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string word(text.substr(pos, end - pos));
    bool has_macro = false;
    for (const auto& [macro, folder] : macros) {
      if (word.find(macro) == std::string::npos) continue;
      has_macro = true;
      word = ReplaceAll(ReplaceAll(word, std::string(macro) + "\\", macro), macro, ForProgram(*folder));
    }
    if (has_macro) word = ReplaceAll(word, "\\", "/");
    out += word;
    if (end < text.size()) out += ' ';
    pos = end + 1;
  }
  return out;
}

std::string ResolveCurDir(std::string_view text) {
  return ReplaceAll(ReplaceAll(text, "%CURDIR%\\", "%CURDIR%"), "%CURDIR%", basPublic.RootPath);
}

void ForgetSettingCopy() {
  g_setting_copy.clear();
  g_section.clear();
}

bool Fnc_External(std::int32_t n) {
  g_section = SectionName("External", n);
  const std::string pg_key = Key("PG");
  if (pg_key.empty()) return true;
  const std::string comment = Fnc_GetIni(g_section, "Comment", g_section, basPublic.UpdateIniPath);
  Sub_Log("");
  Sub_Log("◆◇◆ 外部編集処理開始 ◆◇◆");
  Sub_Log("セクション : " + g_section);
  Sub_Log("");
  SetStepGuide(comment + "の準備中です．．．");

  bool result = false;
  auto body = [&]() -> bool {
    if (!ChangeDirOrReport(basPublic.RootPath)) return false;
    for (std::int32_t k = 1; k <= 100; ++k) {
      if (!Fnc_ExternalBackup(k)) return false;
    }
    if (!Fnc_ExternalSetting()) return false;
    Sub_Log("");
    Sub_Log("◆ 外部編集プログラムの呼び出し ◆");
    const std::string pg = Fnc_FullPath(pg_key);
    if (!Fnc_FileExists(pg)) {
      ShowAndLog("「" + pg + "」が見つかりません。");
      return false;
    }
    const std::string param = Key("Param");
    const std::string parameters = param.empty() ? ForProgram(g_setting_copy) : ResolveForProgram(param);
    const std::string folder = Fnc_FolderName(pg);
    if (!ChangeDirOrReport(folder)) return false;
    Sub_Log("");
    Sub_Log("外部編集プログラムを呼び出します。 : " + pg + " " + parameters);
    // A program that could not be started has edited nothing.
    return RunProgramAndWait(pg, parameters);
  };
  const std::int16_t target = Fnc_TargetCheck(g_section);
  if (TargetMalformed(target, g_section)) {
    result = false;
  } else if (target != kTargetApplies) {
    result = true;
  } else {
    result = body();
  }
  Sub_Log("");
  Sub_Log(result ? "※外部編集処理が正常終了しました。" : "※外部編集処理が異常終了しました。");
  Sub_Log("");
  Sub_Log("◆◇◆ 外部編集処理終了 ◆◇◆");
  return result;
}

bool Fnc_ExternalBackup(std::int32_t k) {
  const std::string value = Key("Backup" + vb::Format(k, "000"));
  if (value.empty()) return true;
  const std::string path = Fnc_FullPath(Fnc_PathMacro(value, false, false));
  if (Fnc_FileBackup(path)) return true;
  CriticalBox("ファイルのバックアップに失敗しました。\r\n\r\nファイル : " + path);
  Sub_Log("ファイルのバックアップに失敗しました。 : " + path);
  return false;
}

bool Fnc_ExternalSetting() {
  Sub_Log("");
  Sub_Log("◆ 設定ファイルの準備 ◆");
  Sub_Log("");
  std::string setting = Key("Setting");
  if (setting.empty()) return true;
  Sub_Log("設定ファイル : " + setting);
  Sub_Log("");
  setting = Fnc_FullPath(setting);
  if (!Fnc_FileExists(setting)) {
    ShowAndLog("「" + setting + "」が見つかりません。");
    return false;
  }
  g_setting_copy = basPublic.LogFolder + g_section + "\\" + Fnc_FileName(setting);
  if (Fnc_FileCopy(setting, g_setting_copy, kAlwaysCopy, true) == kCopyError) {
    CriticalBox("設定ファイルのコピーに失敗しました。\r\n\r\nファイル : " + setting);
    Sub_Log("設定ファイルのコピーに失敗しました。 : " + setting);
    return false;
  }
  std::vector<std::string> sections;
  std::int16_t section_count = 0;
  Sub_GetSectionNames(g_setting_copy, sections, section_count);
  for (std::int16_t s = 1; s <= section_count; ++s) {
    const std::string& name = sections[static_cast<std::size_t>(s)];
    std::vector<std::string> keys, values;
    std::int16_t count = 0;
    Sub_GetSection(g_setting_copy, name, keys, values, count);
    for (std::int16_t i = 1; i <= count; ++i) {
      const std::size_t at = static_cast<std::size_t>(i);
      if (!Fnc_PutIni(name, keys[at], ResolveForProgram(values[at]), g_setting_copy)) return false;
    }
  }
  const std::string work = WithClosingSeparator(Fnc_FolderName(g_setting_copy));
  const std::pair<const char*, const std::string*> path_keys[] = {
      {"Base", &basPublic.RootPath},       {"QZPPATH", &basPublic.PathIniPath},
      {"VLMP_MASTER", &basPublic.MasterPath}, {"VLMP", &basPublic.ProgramPath},
      {"VLMF", &basPublic.DataPath},       {"CSV", &basPublic.CsvPath},
      {"CPFSPEC", &basPublic.SpecIniPath}, {"Work", &work},
  };
  for (const auto& [key, value] : path_keys) {
    if (!Fnc_PutIni("Path", key, ForProgram(*value), g_setting_copy)) return false;
  }
  return true;
}

bool Fnc_EndMessage(std::int32_t n) {
  const std::string section = SectionName("EndMessage", n);
  const std::string file = Fnc_GetIni(section, "File", "", basPublic.UpdateIniPath);
  if (file.empty()) return true;
  Sub_Log("");
  Sub_Log("◆◇◆ 終了メッセージ編集処理開始 ◆◇◆");
  Sub_Log("セクション : " + section);
  Sub_Log("");
  bool result = true;
  const std::int16_t target = Fnc_TargetCheck(section);
  if (TargetMalformed(target, section)) {
    result = false;
  } else if (target == kTargetApplies) {
    std::string text;
    if (Fnc_ReadText(file, text)) {
      ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kInformation, kTitle);
    } else {
      result = false;
    }
  }
  Sub_Log("");
  Sub_Log(result ? "※終了メッセージ編集処理が正常終了しました。" : "※終了メッセージ編集処理が異常終了しました。");
  Sub_Log("");
  Sub_Log("◆◇◆ 終了メッセージ編集処理終了 ◆◇◆");
  return result;
}

bool Fnc_ReadText(std::string_view path, std::string& text) {
  text.clear();
  if (!AnyFileExists(path)) {
    Sub_Log("「" + std::string(path) + "」が見つかりません。");
    return false;
  }
  std::ifstream in(path::ResolveSuitePath(path), std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.empty()) return false;
  std::string read = text::FromCp932(bytes);
  while (read.size() >= 2 && read.compare(read.size() - 2, 2, "\r\n") == 0) read.resize(read.size() - 2);
  if (IsBlank(read)) return false;
  text = std::move(read);
  return true;
}

}  // namespace qz::update
