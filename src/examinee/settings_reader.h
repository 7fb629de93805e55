// The settings reader of the result-input program: reads every setting of
// QZP140.INI, QZPPATH.ini [FILE_PATH] SVWORK, QZP149D.INI, QZP790.INI and
// KWBDISP.ENV once at start into the settings record, and sets the fixed
// layout of the result grid.
//
// Called once by the start sequence, after the progress window is shown and
// before the work area, the form layout and the path check. INI files are
// named relative to the current folder (the program folder during the
// start); KWBDISP.ENV is looked for in App().path. Missing files and keys
// give their defaults. Not thread-safe (writes the record in place).
#ifndef QZ_EXAMINEE_SETTINGS_READER_H_
#define QZ_EXAMINEE_SETTINGS_READER_H_

#include <optional>
#include <string>

#include "examinee/bas_public.h"

namespace qz {

// The first setting that could not be converted: the runtime's error
// number and description (13 not a number, 6 out of range, 5 too short to
// cut) and the setting as "[Section] Key of file".
struct SettingsError {
  int number = 0;
  std::string description;
  std::string setting;
};

// Reads every setting into `settings`, in the fixed reading order. Returns
// nullopt when all were read; otherwise the error of the first setting that
// is not valid, with every setting read before it kept and the rest
// untouched. The start shows the error as its load error report and ends.
std::optional<SettingsError> Sub_ReadSettings(BasPublic& settings);

// The same into `basPublic`.
std::optional<SettingsError> Sub_ReadSettings();

}  // namespace qz

#endif  // QZ_EXAMINEE_SETTINGS_READER_H_
