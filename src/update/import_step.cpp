#include "update/import_step.h"

#include <exception>
#include <string>
#include <vector>

#include "data/ini_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/org_ini.h"
#include "update/frm_main.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/step_support.h"
#include "update/target_check.h"

namespace qz::update {

namespace {

constexpr const char* kNumInitProgram = "QZPCNV.EXE";

// The name under which the running section set the suite's QZPCSV.INI
// aside, and the File list of the running numeric-initialisation section.
std::string g_moved;
std::string g_files;
// Set when a failed import could not be undone: the section must not go on.
bool g_undo_failed = false;

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (true) {
    std::size_t at = text.find(separator, pos);
    parts.emplace_back(text.substr(pos, at == std::string_view::npos ? std::string_view::npos : at - pos));
    if (at == std::string_view::npos) break;
    pos = at + 1;
  }
  return parts;
}

// Checks that the record-manager file of `id` named by `definition` exists
// and backs it up; returns its path, or "" after a failure (shown, logged).
std::string CheckedRecordFile(std::string_view id, const std::string& definition) {
  const std::string in_file = DefinedFileName(id, "InFile", "Btrieve", definition);
  if (in_file.empty()) return {};
  const std::string path = basPublic.DataPath + in_file;
  Sub_Log("Btrieveファイル名 : " + path);
  if (!Fnc_FileExists(path)) {
    Report("Btrieveファイルが見つかりません。", "ファイル : ", path);
    return {};
  }
  if (!Fnc_FileBackup(path)) {
    Report("Btrieveファイルのバックアップに失敗しました。", "ファイル : ", path);
    return {};
  }
  return path;
}

// The body of Fnc_Import after the CSV at `target` may have been set aside
// under `moved`. The copied CSV is deleted on every way out, so that the
// CSV folder keeps only its own files.
bool ImportBody(std::string_view id, const std::string& source, const std::string& mode, const std::string& target) {
  if (Fnc_FileCopy(source, target, kAlwaysCopy, false) == kCopyError) return false;
  const bool ran = ChangeDirOrReport(basPublic.ProgramPath) && RunGenericConverter(std::string(id) + mode);
  if (!Fnc_FileDel(target)) return false;
  if (ran) Sub_Log("コピーしたCSVファイルを削除しました。 : " + target);
  return ran;
}

// Where the record file `record` is kept as it is just before its import:
// the run folder's Import folder (made here). "" after a failure (logged).
std::string PreImportCopyPath(const std::string& record) {
  const std::string folder = WithClosingSeparator(basPublic.LogFolder + "Import");
  if (!Fnc_MakeDir(folder)) {
    Sub_Log("  バックアップ先フォルダの作成に失敗しました。 : " + folder);
    return {};
  }
  return folder + Fnc_FileName(record);
}

// Puts `record` back from `copy` after its import failed: a converter that
// fails may have written part of the file. Logs either way; false (and the
// section may not go on) when it cannot be put back.
bool UndoImport(const std::string& record, const std::string& copy) {
  try {
    CopyBackupOver(copy, record);
    Sub_Log("  インポート前の状態に戻しました。 : " + record);
    return true;
  } catch (const RunTimeError& e) {
    Sub_Log("  インポート前の状態に戻せませんでした。 : " + record);
    Sub_ErrorLog("Fnc_Import", e.number(), e.description());
    return false;
  }
}

}  // namespace

bool Fnc_ImportSection(std::int32_t n) {
  g_moved.clear();
  const std::string section = SectionName("Import", n);
  Sub_Log("");
  Sub_Log("◆◇◆ インポート処理開始 ◆◇◆");
  Sub_Log("セクション : " + section);
  Sub_Log("");

  bool result = true;
  const std::int16_t target = Fnc_TargetCheck(section);
  if (TargetMalformed(target, section)) {
    Sub_Log("");
    Sub_Log("※インポート処理が異常終了しました。");
    result = false;
  } else if (target != kTargetApplies) {
    Sub_Log("");
    Sub_Log("※インポート処理が正常終了しました。");
  } else {
    Sub_Log("");
    Sub_Log("◆ オリジナルQZPCSV.INIの準備 ◆");
    if (!Fnc_OrgINI(section, "INI", g_moved)) {
      Sub_Log("");
      Sub_Log("※インポート処理が異常終了しました。");
      result = false;
    } else {
      Sub_Log("");
      Sub_Log("◆ 処理対象ファイルの取得 ◆");
      std::vector<std::string> keys, values;
      std::int16_t count = 0;
      Sub_GetSection(basPublic.UpdateIniPath, section, keys, values, count);
      for (std::int16_t i = 1; i <= count && result; ++i) {
        const std::string& key = keys[static_cast<std::size_t>(i)];
        if (key == "INI" || key == "TargetMin" || key == "TargetMax") continue;
        if (Fnc_Import(key, values[static_cast<std::size_t>(i)])) continue;
        const std::string failed = "「" + key + "」のインポートに失敗しました。";
        if (g_undo_failed) {
          // Half imported: going on would keep the half.
          CriticalBox(failed + "\r\n\r\nインポート前の状態に戻せませんでした。");
          Sub_Log("インポート前の状態に戻せなかったため、終了します。");
        } else if (ui::MsgBox(failed + "\r\n\r\n続行しますか？", ui::MsgButtons::kYesNo, ui::MsgIcon::kCritical, kTitle,
                              1) == ui::MsgResult::kYes) {
          Sub_Log("インポートエラーで続行を選択されたため、インポート前の状態で続行します。 : " + key);
          NoteFailurePassedOver();
          continue;
        } else {
          Sub_Log("インポートエラーで続行キャンセルを選択されたため、終了します。");
        }
        Sub_Log("");
        Sub_Log("※インポート処理が異常終了しました。");
        result = false;
      }
      if (result) {
        Sub_Log("");
        Sub_Log("※インポート処理が正常終了しました。");
      }
    }
  }
  if (!Fnc_ReNameBack(g_moved, basPublic.CsvIniPath)) result = false;
  g_moved.clear();
  Sub_Log("");
  Sub_Log("◆◇◆ インポート処理終了 ◆◇◆");
  return result;
}

bool Fnc_Import(std::string_view id, std::string_view value) {
  std::string target;
  std::string moved;
  std::string record;  // the record file, and its copy from before the import
  std::string copy;
  bool result = false;
  g_undo_failed = false;
  try {
    SetStepGuide(id);
    Sub_Log("");
    Sub_Log("◆ インポート開始 ◆");
    Sub_Log("ファイルID : " + std::string(id));
    if (!ChangeDirOrReport(basPublic.RootPath)) return false;

    const std::vector<std::string> parts = Split(value, ';');
    std::string source = parts[0];
    Sub_Log("インポート元CSVファイルのパス : " + source);
    std::string mode;
    if (parts.size() >= 2) {
      mode = parts[1];
      Sub_Log("モード : " + mode);
    }
    source = Fnc_FullPath(source);
    Sub_Log("インポートコピー元 : " + source);

    const std::string out_file = DefinedFileName(id, "OutFile", "CSV", basPublic.CsvIniPath);
    if (out_file.empty()) return false;
    const std::string csv_target = basPublic.CsvPath + out_file;
    Sub_Log("インポートコピー先 : " + csv_target);
    record = CheckedRecordFile(id, basPublic.CsvIniPath);
    if (record.empty()) return false;
    // The file as it is now, to put back when the import fails.
    const std::string before = PreImportCopyPath(record);
    if (before.empty()) return false;
    CopyToBackup(record, before);
    copy = before;

    // Any file at the target is set aside, however small, so that the CSV
    // folder holds the same files before and after the import.
    if (AnyFileExists(csv_target)) {
      const std::string aside = csv_target + ".Import_" + NowStamp();
      if (!MoveAside(csv_target, aside)) return false;
      moved = aside;
    }
    target = csv_target;
    NoteAddedFile(target);
    result = ImportBody(id, source, mode, target);
  } catch (const RunTimeError& e) {
    Sub_ErrorLog("Fnc_Import", e.number(), e.description());
    result = false;
  } catch (const std::exception& e) {
    Sub_ErrorLog("Fnc_Import", 5, e.what());
    result = false;
  }
  if (!moved.empty() && !Fnc_ReNameBack(moved, target)) result = false;
  if (!result && !copy.empty() && !UndoImport(record, copy)) g_undo_failed = true;
  return result;
}

bool Fnc_NumInit(std::int32_t n) {
  g_moved.clear();
  g_files.clear();
  const std::string section = SectionName("QZPCNV", n);
  Sub_Log("");
  Sub_Log("◆◇◆ 数値項目初期化処理開始 ◆◇◆");
  Sub_Log("セクション : " + section);
  Sub_Log("");

  auto abnormal = [] {
    Sub_Log("");
    Sub_Log("※数値項目初期化処理が異常終了しました。");
    return false;
  };
  bool result = true;
  const std::int16_t target = Fnc_TargetCheck(section);
  if (TargetMalformed(target, section)) {
    result = abnormal();
  } else if (target != kTargetApplies) {
    result = true;
  } else if (!ChangeDirOrReport(basPublic.ProgramPath)) {
    result = abnormal();
  } else if (!Fnc_NumInitFile(section)) {
    result = true;
  } else if (!Fnc_NumInitCheck()) {
    result = abnormal();
  } else if (!ProgramPresent(kNumInitProgram)) {
    Report("数値項目初期化プログラムが見つかりません。", "プログラム : ", kNumInitProgram);
    result = abnormal();
  } else {
    bool ran = false;
    if (Fnc_OrgINI(section, "INI", g_moved) && ChangeDirOrReport(basPublic.ProgramPath)) {
      Sub_Log(std::string("数値項目初期化処理を呼び出します。 : ") + kNumInitProgram + " " + g_files);
      if (!ProgramPresent(kNumInitProgram)) {
        Report("数値項目初期化プログラムが見つかりません。", "プログラム : ", kNumInitProgram);
      } else {
        ran = RunProgramAndWait(kNumInitProgram, g_files);
      }
    }
    const bool back = Fnc_ReNameBack(g_moved, basPublic.CsvIniPath);
    if (ran && back) {
      Sub_Log("");
      Sub_Log("※数値項目初期化処理が正常終了しました。");
      result = true;
    } else {
      result = abnormal();
    }
  }
  g_moved.clear();
  Sub_Log("");
  Sub_Log("◆◇◆ 数値項目初期化処理終了 ◆◇◆");
  return result;
}

bool Fnc_NumInitFile(std::string_view section) {
  Sub_Log("");
  Sub_Log("◆ 処理対象ファイルの取得 ◆");
  g_files = Fnc_GetIni(section, "File", "", basPublic.UpdateIniPath);
  if (g_files.empty()) {
    Sub_Log("処理対象ファイルが指定されていません。");
    return false;
  }
  Sub_Log("処理対象ファイル : " + g_files);
  return true;
}

bool Fnc_NumInitCheck() {
  Sub_Log("");
  Sub_Log("◆ 処理対象ファイルのチェック ◆");
  for (const std::string& id : Split(g_files, ',')) {
    if (CheckedRecordFile(id, basPublic.CsvIniPath).empty()) return false;
  }
  return true;
}

}  // namespace qz::update
