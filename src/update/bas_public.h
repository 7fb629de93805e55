// basPublic of the version-up program: the state every step of the run
// reads, written once by its one writer before the main form is shown (the
// folders by the path set-up, the versions and flags by the start checks,
// the log fields by the log initialisation), plus the list of files moved
// aside during one conversion section.
//
// Paths are kept as the suite writes them (drive letters, "\" separators,
// a closing "\" on folders) or as paths of this machine when they came so;
// the file routines map them (file_routines.h). Tests reset the state by
// assigning a fresh BasPublic.
#ifndef QZ_UPDATE_BAS_PUBLIC_H_
#define QZ_UPDATE_BAS_PUBLIC_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "update/file_system_object.h"

namespace qz::update {

// Title of every message box and of the windows of the program.
inline constexpr const char* kTitle = "バントリク バージョンアップ";

// One file moved aside during a conversion section, to be put back at its
// end.
struct RenameBackEntry {
  std::string FileId;       // file ID of the conversion definition
  std::string BtrName;      // record-manager file name
  std::string OwnName;      // the file's own (full) name
  std::string MovedName;    // the name it was moved aside to
};

struct BasPublic {
  std::string RootPath;       // the program's own folder, closing "\"
  std::string ProgramPath;    // installed program folder, closing "\" (%VLMP%)
  std::string MasterPath;     // FILE_PATH VLMP_MASTER, full (%VLMP_MASTER%)
  std::string DataPath;       // FILE_PATH VLMF, full (%VLMF%)
  std::string CsvPath;        // FILE_PATH CSV, full (%CSV%)
  std::string UpdateIniPath;  // RootPath & exe name & ".INI", full
  std::string PathIniPath;    // ProgramPath & "QZPPATH.INI", full
  std::string SpecIniPath;    // FILE_PATH CPFSPEC, full (a file)
  std::string CsvIniPath;     // ProgramPath & "QZPCSV.INI"

  bool VersionCheck = false;
  std::string NewVersion;
  double NewVersionNum = 0;
  std::string CurrentVersion;
  double CurrentVersionNum = 0;
  std::string TargetMin;
  double TargetMinNum = 0;
  std::string TargetMax;
  double TargetMaxNum = 0;

  bool MasterLocal = false;
  bool LockCheck = false;
  bool RunCheck = false;
  std::int32_t ConvertMax = 100;
  std::int32_t ImportMax = 100;
  std::int32_t QzpcnvMax = 100;

  bool WaitProceed = false;   // set by the wait window

  std::string LogFolder;      // run folder, closing "\"
  std::string LogFile;        // LogFolder & "Update.log"

  // Indexed from 1; element 0 is always present and unused.
  std::vector<RenameBackEntry> RenameBackList = std::vector<RenameBackEntry>(1);

  // The one file-system object of the run (created by the main form's load,
  // released by its unload). Copies through it fail while it is missing.
  std::shared_ptr<FileSystemObject> FileSystem;
};

extern BasPublic basPublic;

}  // namespace qz::update

#endif  // QZ_UPDATE_BAS_PUBLIC_H_
