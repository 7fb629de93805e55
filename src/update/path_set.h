// basPathEdit: which installation the version-up brings up to date, and
// that installation's folders and settings files.
//
// The installed program folder comes from the command line or, without
// one, from the one running copy of the suite's main program VANTORIK.EXE;
// the other folders from its QZPPATH.INI (section FILE_PATH). Fills the path
// fields of basPublic; every failure is shown (critical box) and logged.
// Called by the start after the log is ready and a double start excluded.
#ifndef QZ_UPDATE_PATH_SET_H_
#define QZ_UPDATE_PATH_SET_H_

#include <string_view>

namespace qz::update {

// The suite's main program, by which the installation is found.
inline constexpr const char* kMainProgram = "VANTORIK.EXE";

// Sets ProgramPath from `command_line` (the whole text, blanks and one pair
// of enclosing quotes removed; logged as passed) or from the running main
// program, checks that it is a folder, makes it the current folder and sets
// every other path (Fnc_PathSet), logging them. False on any failure.
bool Fnc_PathEdit(std::string_view command_line);

// ProgramPath = the folder of the one running VANTORIK.EXE. False (shown)
// when none or more than one runs.
bool Fnc_FindRunning();

// RootPath (the program's own folder), UpdateIniPath, and from ProgramPath's
// QZPPATH.INI the master, data and CSV folders (each must exist; they get a
// closing "\"), CPFSPEC and QZPCSV.INI (each must exist). False at the first
// failure.
bool Fnc_PathSet();

}  // namespace qz::update

#endif  // QZ_UPDATE_PATH_SET_H_
