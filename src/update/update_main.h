// basMain: the start of the version-up program.
//
// Main makes the run log, refuses a second copy (of this user, or any run
// under way under the log root: run_log.h AnotherRunInProgress), finds the
// installation,
// puts back a run of it that did not finish (unfinished_run.h), checks the
// versions, reads the settings, asks for the start and waits for
// the suite's programs to close (RunCheck), then shows frmMain, whose first
// activation runs the version-up. Every refusal is shown, logged and ends
// the program (Sub_End), so Main must run inside the shell's driver (the
// end unwinds as ui::EndProgram). UI thread only.
#ifndef QZ_UPDATE_UPDATE_MAIN_H_
#define QZ_UPDATE_UPDATE_MAIN_H_

#include <memory>
#include <string_view>

#include "platform/ui/shell.h"
#include "update/frm_main.h"

namespace qz::update {

// The program's start; `command_line` the installed program folder or
// empty. Returns after showing frmMain (modeless, the shell's main form).
void Main(std::string_view command_line);

// Logs an empty line and "■■■■■ バージョンアップ処理終了 ■■■■■" and ends the
// program.
[[noreturn]] void Sub_End();

// The main form made by the last Main (null before, and after a refusal).
std::unique_ptr<FrmMain>& TheMainForm();

// The program's exit status: 0 only when the last Main showed the main form
// and its run completed (RunCompleted); 2 when the run went to its end past
// a failure the operator chose to go on from (RunPassedOverFailure); 1
// after any refusal or failure.
int ExitStatus();

// The program as its executable runs it on `shell`: Main inside the shell's
// driver, then the main form's events until the program ends (the form's
// unload ends it after the run). Returns ExitStatus() of that run.
int ProgramMain(ui::Shell& shell, std::string_view command_line);

}  // namespace qz::update

#endif  // QZ_UPDATE_UPDATE_MAIN_H_
