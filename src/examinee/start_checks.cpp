#include "examinee/start_checks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/path/no_case.h"
#include "platform/record/btr_file.h"
#include "platform/record/definitions.h"
#include "platform/record/storage_location.h"
#include "platform/runtime/app.h"
#include "platform/runtime/failure_note.h"
#include "platform/system/system_info.h"
#include "platform/ui/msgbox.h"

namespace qz {
namespace {

constexpr const char* kTitle = "結果入力";
constexpr const char* kPathIni = "./QZPPATH.ini";

void Refuse(const std::string& text) { ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, kTitle); }

// The program folder without a closing separator.
std::string ProgramFolder() {
  std::filesystem::path folder = std::filesystem::path(App().path).lexically_normal();
  if (!folder.has_filename() && folder.has_parent_path()) folder = folder.parent_path();
  return folder.string();
}

// How to make `folder` a program folder, or to name another: the launcher's
// command with the folder above it as the root of the shared folders.
std::string ProgramFolderFix(const std::string& folder) {
  const std::string root = std::filesystem::path(folder).parent_path().string();
  return "プログラムフォルダは「qz140 init \"" + folder + "\" \"" + root +
         "\"」で作れます（データは「" + root + "/DATA」）。別のフォルダを使うときは、環境変数 "
         "QZ_FOLDER_QZP140 にそのフォルダを指定して下さい。";
}

}  // namespace

void ShowChangeDirFailure() {
  Refuse("「" + App().path + "」への移動に失敗しました。\r\n" + ProgramFolderFix(ProgramFolder()));
}

bool Fnc_CheckProgramFolder() {
  if (::access(path::ResolveSuitePath(kPathIni).c_str(), F_OK) == 0) return true;
  const std::string folder = ProgramFolder();
  failure_note::NoteSystem(folder + "/QZPPATH.ini", errno);
  Refuse("「" + folder + "」はプログラムフォルダではありません（QZPPATH.iniがありません）。\r\n" +
         ProgramFolderFix(folder));
  return false;
}

void NotePathIniUnreadable() {
  const std::string path = path::ResolveSuitePath(kPathIni);
  const int fd = ::open(path.c_str(), O_RDONLY);
  char byte;
  if (fd >= 0 && ::read(fd, &byte, 1) >= 0) {
    ::close(fd);
    return;
  }
  const int error_number = errno;
  if (fd >= 0) ::close(fd);
  failure_note::NoteSystem(ProgramFolder() + "/QZPPATH.ini", error_number);
}

bool Fnc_CheckDataFolder() {
  int error_number = 0;
  // The files of the data folder that the program writes; the masters it
  // only reads may be kept read-only.
  const std::vector<std::string> written = {data::QzjsnlfLayout().file, data::QzjrklfLayout().file,
                                            data::QzkkklfLayout().file, data::QzonllfLayout().file};
  const std::string path =
      record::UnwritableRecordPath(basPublic.SpecPath, basPublic.VlmfPath, written, &error_number);
  if (path.empty()) return true;
  failure_note::NoteSystem(path, error_number);
  Refuse("データフォルダの「" + path + "」に書き込めません（" + std::strerror(error_number) +
         "）。\r\n利用者「" + system::UserName() +
         "」に、データフォルダとその中のファイル、ログのフォルダへの書き込み権限を与えて下さい。");
  return false;
}

void Sub_WarnUnmatchedStorage() {
  const std::string file = record::FindDefinitionsFile(basPublic.SpecPath);
  if (file.empty()) return;
  const auto definitions = record::Definitions::Load(file);
  if (!definitions) return;
  const std::vector<std::string> unmatched =
      record::UnmatchedStorageFolders(*definitions, {basPublic.VlmfPath, basPublic.SvworkPath});
  if (unmatched.empty()) return;
  std::string text = "定義ファイル「" + file + "」の[STORAGE]に、このプログラムが開くフォルダに当たらない行があります。\r\n";
  for (const std::string& folder : unmatched) text += "[STORAGE] : " + folder + "\r\n";
  text += "データフォルダ : " + basPublic.VlmfPath + "\r\n作業フォルダ : " + basPublic.SvworkPath +
          "\r\n[STORAGE]の行に当たらないフォルダのファイルは、そのフォルダのSQLiteファイルとして開かれます。";
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, kTitle);
}

}  // namespace qz
