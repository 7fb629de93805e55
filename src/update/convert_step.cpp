#include "update/convert_step.h"

#include <exception>
#include <string>
#include <vector>

#include "data/ini_access.h"
#include "platform/runtime/run_time_error.h"
#include "update/bas_public.h"
#include "update/file_routines.h"
#include "update/ini_routines.h"
#include "update/org_ini.h"
#include "update/path_routines.h"
#include "update/run_journal.h"
#include "update/run_log.h"
#include "update/step_support.h"
#include "update/target_check.h"

namespace qz::update {

namespace {

constexpr const char* kExportProgram = "QZPCSV.EXE";
constexpr const char* kRebuildProgram = "QZPCBR85.EXE";
constexpr const char* kClearProgram = "QZPCLR.EXE";

// The names under which each phase set the suite's QZPCSV.INI aside.
std::string g_export_moved;
std::string g_import_moved;
// Whether the rebuild of this phase has begun deleting the listed files.
bool g_deleted = false;

std::size_t LastIndex() { return basPublic.RenameBackList.size() - 1; }

std::string JoinedIds() {
  std::string ids;
  for (std::size_t i = 1; i <= LastIndex(); ++i) {
    if (i > 1) ids += ",";
    ids += basPublic.RenameBackList[i].FileId;
  }
  return ids;
}

// Puts every listed record-manager file back from its backup of this run,
// after a rebuild that failed once the files were deleted, so that the data
// folder holds the data as it was rather than empty or half-filled files.
// False when a file could not be restored (logged).
bool RestoreFromBackups() {
  bool ok = true;
  Sub_Log("");
  Sub_Log("バックアップからマスタを復元します。");
  for (std::size_t i = 1; i <= LastIndex(); ++i) {
    const std::string& file = basPublic.RenameBackList[i].BtrName;
    if (file.empty()) continue;
    const std::string backup = BackupPathOf(file);
    try {
      CopyBackupOver(backup, file);
      Sub_Log("  復元しました。 : " + backup + " -> " + file);
    } catch (const RunTimeError& e) {
      Sub_Log("  復元に失敗しました。 : " + file);
      Sub_ErrorLog("Fnc_Convert2", e.number(), e.description());
      ok = false;
    }
  }
  return ok;
}

}  // namespace

bool Fnc_Convert1(std::string_view section) {
  g_export_moved.clear();
  SetStepTitle("ファイルのコンバート中です。");
  SetStepGuide("コンバートの準備中です。");
  Sub_Log("");
  Sub_Log("◆◇◆ コンバート①処理開始 ◆◇◆");

  bool result = false;
  if (!ChangeDirOrReport(basPublic.RootPath)) {
    result = false;
  } else {
    bool ok = false;
    bool finished = false;
    Sub_Log("");
    Sub_Log("◆ 変換用QZPCSV.INIの準備 ◆");
    if (Fnc_OrgINI(section, "Export", g_export_moved)) {
      if (g_export_moved.empty()) {
        Sub_Log("変換用のQZPCSV.INIが指定されていません。");
        result = true;
        finished = true;
      } else {
        Sub_Log("");
        Sub_Log("◆ 処理対象ファイルの取得 ◆");
        // The swapped definition goes back below whatever happens here.
        ok = Guarded("Fnc_Convert1", [&] {
          std::vector<std::string> names;
          std::int16_t count = 0;
          Sub_GetSectionNames(basPublic.CsvIniPath, names, count);
          bool checked = true;
          for (std::int16_t i = 1; i <= count && checked; ++i) {
            if (names[static_cast<std::size_t>(i)] == "SysInfo") continue;
            checked = Fnc_FileCheck(names[static_cast<std::size_t>(i)]);
          }
          return checked && Fnc_MakeCSV();
        });
      }
    }
    if (!finished) {
      Sub_Log("");
      Sub_Log(ok ? "※コンバート①処理が正常終了しました。" : "※コンバート①処理が異常終了しました。");
      result = ok;
    }
  }
  if (!Fnc_ReNameBack(g_export_moved, basPublic.CsvIniPath)) result = false;
  g_export_moved.clear();
  Sub_Log("");
  Sub_Log("◆◇◆ コンバート①処理終了 ◆◇◆");
  return result;
}

bool Fnc_FileCheck(std::string_view id) {
  return Guarded("Fnc_FileCheck", [&] {
    SetStepGuide(std::string(id) + " の確認中です。");
    Sub_Log("");
    Sub_Log("◆ ファイルチェック開始 ◆");
    Sub_Log("ファイルID : " + std::string(id));
    if (!ChangeDirOrReport(basPublic.ProgramPath)) return false;

    basPublic.RenameBackList.push_back(RenameBackEntry{std::string(id), {}, {}, {}});
    const std::size_t at = LastIndex();
    const std::string in_file = DefinedFileName(id, "InFile", "Btrieve", basPublic.CsvIniPath);
    if (in_file.empty()) return false;
    const std::string path = basPublic.DataPath + in_file;
    basPublic.RenameBackList[at].BtrName = path;
    Sub_Log("Btrieveファイル名 : " + path);
    if (!Fnc_FileExists(path)) {
      Report("Btrieveファイルが見つかりません。", "ファイル : ", path);
      return false;
    }
    if (!Fnc_FileBackup(path)) {
      Report("Btrieveファイルのバックアップに失敗しました。", "ファイル : ", path);
      return false;
    }
    const std::string out_file = DefinedFileName(id, "OutFile", "CSV", basPublic.CsvIniPath);
    if (out_file.empty()) return false;
    const std::string csv = basPublic.CsvPath + out_file;
    basPublic.RenameBackList[at].OwnName = csv;
    Sub_Log("CSVファイル名 : " + csv);
    if (!AnyFileExists(csv)) return true;
    const std::string moved = csv + ".Convert_" + NowStamp();
    basPublic.RenameBackList[at].MovedName = moved;
    return MoveAside(csv, moved);
  });
}

bool Fnc_MakeCSV() {
  return Guarded("Fnc_MakeCSV", [&] {
    SetStepGuide("CSVファイルの作成中です。");
    Sub_Log("");
    Sub_Log("◆ CSV作成開始 ◆");
    if (!ChangeDirOrReport(basPublic.ProgramPath)) return false;
    const std::string ids = JoinedIds();
    Sub_Log("");
    Sub_Log(std::string("CSV作成処理を呼び出します。 : ") + kExportProgram + " " + ids);
    if (!ProgramPresent(kExportProgram)) {
      Report("CSV作成プログラムが見つかりません。", "プログラム : ", kExportProgram);
      return false;
    }
    for (std::size_t i = 1; i <= LastIndex(); ++i) {
      const RenameBackEntry& e = basPublic.RenameBackList[i];
      // A CSV where none was before is this run's: a failed run removes it.
      if (e.MovedName.empty() && !AnyFileExists(e.OwnName)) NoteAddedFile(e.OwnName);
    }
    const bool ran = RunProgramAndWait(kExportProgram, ids);
    if (!ran) {
      Report("CSV作成プログラムが異常終了しました。", "プログラム : ", kExportProgram);
      return false;
    }
    for (std::size_t i = 1; i <= LastIndex(); ++i) {
      const RenameBackEntry& e = basPublic.RenameBackList[i];
      if (!Fnc_FileExists(e.OwnName)) {
        Report("CSVファイルの作成に失敗しました。", "ファイルID : ", e.FileId);
        return false;
      }
    }
    return true;
  });
}

bool Fnc_Convert2(std::string_view section) {
  g_import_moved.clear();
  SetStepTitle("ファイルのコンバート中です。");
  SetStepGuide("コンバートの準備中です。");
  Sub_Log("");
  Sub_Log("◆◇◆ コンバート②処理開始 ◆◇◆");

  bool result = false;
  if (LastIndex() == 0) {
    Sub_Log("コンバート①が行われていません。");
    result = true;
  } else if (ChangeDirOrReport(basPublic.RootPath)) {
    Sub_Log("");
    Sub_Log("◆ 変換用QZPCSV.INIの準備 ◆");
    g_deleted = false;
    // The swapped definition goes back below whatever happens here.
    bool ok = Guarded("Fnc_Convert2", [&] {
      if (!Fnc_OrgINI(section, "Import", g_import_moved) || !Fnc_MasterClear()) return false;
      for (std::size_t i = 1; i <= LastIndex(); ++i) {
        if (Fnc_ConvertImport(static_cast<std::int32_t>(i))) continue;
        const std::string& id = basPublic.RenameBackList[i].FileId;
        CriticalBox("「" + id + "」のインポートに失敗しました。");
        Sub_Log("インポートに失敗しました。 : " + id);
        return false;
      }
      return true;
    });
    if (!ok && g_deleted) RestoreFromBackups();
    g_deleted = false;
    Sub_Log("");
    Sub_Log(ok ? "※コンバート②処理が正常終了しました。" : "※コンバート②処理が異常終了しました。");
    result = ok;
  }
  if (!Fnc_ReNameBack(g_import_moved, basPublic.CsvIniPath)) result = false;
  g_import_moved.clear();
  Sub_Log("");
  Sub_Log("◆◇◆ コンバート②処理終了 ◆◇◆");
  return result;
}

bool Fnc_MasterClear() {
  return Guarded("Fnc_MasterClear", [&] {
    SetStepGuide("マスタの初期化中です。");
    Sub_Log("");
    Sub_Log("◆ マスタクリア開始 ◆");
    if (!ChangeDirOrReport(basPublic.ProgramPath)) return false;
    // Both programs are looked for before the first file is deleted, so
    // that a missing program never leaves the data folder without its files.
    for (const char* program : {kRebuildProgram, kClearProgram}) {
      if (ProgramPresent(program)) continue;
      if (program == kRebuildProgram) {
        Report("QZPCBR85プログラムが見つかりません。", "プログラム : ", program);
      } else {
        Report("マスタクリアプログラムが見つかりません。", "プログラム : ", program);
      }
      return false;
    }
    Sub_Log("");
    Sub_Log("マスタを削除します。");
    for (std::size_t i = 1; i <= LastIndex(); ++i) {
      const std::string& path = basPublic.RenameBackList[i].BtrName;
      g_deleted = true;
      if (!Fnc_FileDel(path)) {
        Report("ファイルの削除に失敗しました。", "ファイル : ", path);
        return false;
      }
    }
    Sub_Log("");
    Sub_Log(std::string("QZPCBR85を呼び出します。 : ") + kRebuildProgram);
    if (!RunProgramAndWait(kRebuildProgram, "")) {
      Report("QZPCBR85プログラムが異常終了しました。", "プログラム : ", kRebuildProgram);
      return false;
    }
    const std::string ids = JoinedIds();
    Sub_Log("");
    Sub_Log(std::string("マスタクリア処理を呼び出します。 : ") + kClearProgram + " " + ids);
    if (!RunProgramAndWait(kClearProgram, ids)) {
      Report("マスタクリアプログラムが異常終了しました。", "プログラム : ", kClearProgram);
      return false;
    }
    for (std::size_t i = 1; i <= LastIndex(); ++i) {
      const RenameBackEntry& e = basPublic.RenameBackList[i];
      if (!Fnc_FileExists(e.BtrName)) {
        Report("マスタクリアに失敗しました。", "ファイル : ", e.FileId);
        return false;
      }
    }
    Sub_Log("マスタが正常に作成されました。");
    return true;
  });
}

bool Fnc_ConvertImport(std::int32_t index) {
  return Guarded("Fnc_Import", [&] {
    const std::string id = basPublic.RenameBackList.at(static_cast<std::size_t>(index)).FileId;
    SetStepGuide(id + " のコンバート中です。");
    Sub_Log("");
    Sub_Log("◆ インポート開始 ◆");
    Sub_Log("ファイルID : " + id);
    return ChangeDirOrReport(basPublic.ProgramPath) && RunGenericConverter(id);
  });
}

}  // namespace qz::update
