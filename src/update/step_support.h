// What the steps of the version-up share: the critical box with the
// program's title, the progress captions of the main form, the time stamp
// of moved-aside files, and the start of the suite's outside programs from
// the current folder.
//
// Outside programs are named by bare file name and found in the current
// folder (without regard to case, with or without ".EXE"); they are waited
// for in slices of 100 ms with pending events processed between. A program
// that ends with a non-zero exit status has failed, whatever files it
// left; the callers also judge them by the files they leave.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_STEP_SUPPORT_H_
#define QZ_UPDATE_STEP_SUPPORT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qz::update {

// Runs `body` and turns a run-time error (or any other exception) into the
// four error lines under `module` and a failure; otherwise its result.
bool Guarded(std::string_view module, const std::function<bool()>& body);

// An OK box with the critical icon and the program's title.
void CriticalBox(std::string_view text);

// CriticalBox(text) and the same text logged.
void ShowAndLog(std::string_view text);

// The box `label` & CR LF CR LF & caption & value, and the log line
// `label` & " : " & value: a failure of a conversion or import section.
void Report(std::string_view label, std::string_view caption, std::string_view value);

// The file name that key `key` ("InFile" or "OutFile") of section `id` of
// the conversion definitions `definition` gives, when it is set and names a
// file inside its folder (IsNameInsideFolder). Otherwise "" after the
// Report "<kind>ファイル名が定義されていません。" or "<kind>ファイル名が不正です。"
// with the section's ID.
std::string DefinedFileName(std::string_view id, const char* key, std::string_view kind,
                            const std::string& definition);

// The box "「" & folder & "」に移動できません。" and its log line.
void CannotMoveTo(std::string_view folder);

// Changes the current folder to `folder` (network folders refused); on
// failure shows and logs CannotMoveTo and returns false.
bool ChangeDirOrReport(std::string_view folder);

// The captions lblTitle and lblGuide of the main form, each change followed
// by processing the pending events. Nothing without a main form.
void SetStepTitle(std::string_view text);
void SetStepGuide(std::string_view text);

// The current time formatted "yyyymmddhhnnss".
std::string NowStamp();

// True when `name` names a file inside the folder it is relative to: not
// empty, no drive, no leading separator and no ".." part. The conversion
// definitions name record-manager and CSV files so, and a name that points
// elsewhere must never be deleted or overwritten by a conversion.
bool IsNameInsideFolder(std::string_view name);

// True when the program `file` is in the current folder.
bool ProgramPresent(std::string_view file);

// Starts `file` from the current folder with `parameters` and waits for its
// end (100 ms slices). False when it could not be started or waited for
// (the start routine has shown its box) or ended with a non-zero exit
// status (logged with the status); whether a program that ended well did
// its work is for the caller to judge by the files present afterwards.
bool RunProgramAndWait(std::string_view file, std::string_view parameters);

}  // namespace qz::update

#endif  // QZ_UPDATE_STEP_SUPPORT_H_
