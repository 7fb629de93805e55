// The external edit programs and end messages of the version-up.
//
// An external-edit section ("External", "External_001" …) names a program
// shipped with the release (key PG) that edits the installed suite: the
// section backs up the files listed in Backup001 … Backup100, prepares a
// copy of its settings file (key Setting) in the run folder with every
// folder macro and %CURDIR% resolved and a "Path" section of the folders
// added, and starts the program from its own folder with Param (or, without
// Param, the path of the prepared copy), waiting for it. An end-message
// section ("EndMessage", "EndMessage_001" …) names a text file (key File)
// whose text is shown in an information box.
//
// The program runs on this machine: every path it receives (the prepared
// copy, the folders of its "Path" section, the folder macros and %CURDIR%
// in Param and in the copy's values) is a path of this machine
// (ForProgram), with the files' names as they are on disk (QZPPATH.ini as
// it is named).
//
// The path of the prepared copy lasts for the run: a section without
// Setting passes the copy of an earlier section. Single-threaded, like the
// program.
#ifndef QZ_UPDATE_EXTERNAL_STEP_H_
#define QZ_UPDATE_EXTERNAL_STEP_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz::update {

// External section `n`. True when done, not applicable or absent.
bool Fnc_External(std::int32_t n);

// Backs up the file of key "Backup" & Format(k, "000") of the running
// section. True when backed up or the key is empty.
bool Fnc_ExternalBackup(std::int32_t k);

// Prepares the settings copy of the running section. True when prepared or
// the section has no Setting.
bool Fnc_ExternalSetting();

// End-message section `n`. True when shown, not applicable or absent;
// false for a missing or blank text file.
bool Fnc_EndMessage(std::int32_t n);

// The text of the file `path` (CP932), with trailing CR LF pairs removed.
// False (text empty) when the file is missing, unreadable, empty or blank.
bool Fnc_ReadText(std::string_view path, std::string& text);

// %CURDIR% resolved to the release folder, with or without a following
// "\" ("%CURDIR%\a" and "%CURDIR%a" both give RootPath & "a").
std::string ResolveCurDir(std::string_view text);

// `path` (the suite's form or this machine's) as the external program
// opens it on this machine: drive letters mapped, every part named as on
// disk, "/" separators, a closing separator kept.
std::string ForProgram(std::string_view path);

// `text` with the folder macros and %CURDIR% made folders of this machine
// (ForProgram); in a word that holds a macro, "" separators become "/".
std::string ResolveForProgram(std::string_view text);

// Forgets the settings-copy path of the run (tests).
void ForgetSettingCopy();

}  // namespace qz::update

#endif  // QZ_UPDATE_EXTERNAL_STEP_H_
