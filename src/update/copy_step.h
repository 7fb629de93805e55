// The copy step of the version-up: puts the release's files into the
// installation. It reads the sections Copy_001 … Copy_100 of Update.INI
// (keys From, To, OverWrite, Mask, TargetMin, TargetMax), lists every file
// of every applicable section first (each source folder with its
// sub-folders), then copies the list in order under each section's
// overwrite mode, backing up every file it replaces, and shows its
// progress in the main form. A file that cannot be copied stops the step
// unless the operator chooses to go on.
//
// Run once per run by conversion section 0, between its export and its
// rebuild. Single-threaded, like the program.
#ifndef QZ_UPDATE_COPY_STEP_H_
#define QZ_UPDATE_COPY_STEP_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz::update {

// One file (or sub-folder, a name ending in "\") to copy.
struct CopyEntry {
  std::string From;      // source folder, full, closing "\"
  std::string To;        // destination folder, expanded, full, closing "\"
  std::string File;      // path relative to both folders
  std::int16_t OverWrite = 1;  // 1 always, 2 only newer, 3 only missing
};

struct BasCopy {
  // Indexed from 1; element 0 is always present and unused.
  std::vector<CopyEntry> CopyList = std::vector<CopyEntry>(1);
  // Files actually copied in this run.
  std::int32_t CopyCount = 0;
};

extern BasCopy basCopy;

// The whole step. False when the release folder cannot be reached or a
// failed copy was not passed over ("続行しますか？" answered No); true
// otherwise, also when failures were passed over.
bool Fnc_CopyMain();

// Appends the files of copy section `section` to basCopy.CopyList (nothing
// for an absent section, one without From, or one outside its version
// range). With basPublic.MasterLocal, files aimed at "%VLMP_MASTER%" are
// listed a second time for "%VLMP%". False (nothing listed) when the
// section's version range is malformed: the step then fails.
bool Sub_CopyList(std::string_view section);

// Copies entry `k` (1 … last index) of the list and shows the progress.
// True when copied, skipped under its mode, or its folder is there; false
// on any failure (logged).
bool Fnc_Copy(std::int32_t k);

}  // namespace qz::update

#endif  // QZ_UPDATE_COPY_STEP_H_
