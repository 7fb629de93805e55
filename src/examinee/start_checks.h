// The checks of a terminal's set-up at the start of the result-input
// program, before the suite's own checks: a program folder that cannot be
// entered or holds no QZPPATH.ini, and a data folder this operator may not
// write. Each refusal is one message box (stop icon, "結果入力") that names
// the folder and says what to do, with the failure and its reason noted for
// the program's log (runtime/failure_note.h). One thread only.
#ifndef QZ_EXAMINEE_START_CHECKS_H_
#define QZ_EXAMINEE_START_CHECKS_H_

namespace qz {

// The box for the program folder App().path that the program could not
// change into ("「<folder>」への移動に失敗しました。" and how to make one or
// name another).
void ShowChangeDirFailure();

// True when the current folder (the program folder, App().path) holds
// QZPPATH.ini (its name in any case); otherwise shows that the folder is no
// program folder, how to make one or name another, and returns false.
bool Fnc_CheckProgramFolder();

// True unless the data folder basPublic.VlmfPath, on this machine's disk,
// or one of the record files there that the program writes (examinee
// master, history, results, on-line table; of the definitions
// basPublic.SpecPath) may not be written by this process; then shows which, why and what rights the
// operator needs, and returns false. A folder on the PostgreSQL server, a
// missing folder or missing definitions pass (the opens report them).
bool Fnc_CheckDataFolder();

// Warns (a message box, warning icon, "結果入力", which the program's log
// keeps) when the
// [STORAGE] section of the definitions basPublic.SpecPath names a folder
// that is neither the data folder basPublic.VlmfPath nor the work folder
// basPublic.SvworkPath in this machine's form: the folder it meant would be
// opened as SQLite files. Missing or malformed definitions pass (the opens
// report them). The start goes on.
void Sub_WarnUnmatchedStorage();

// Notes for the program's log the system's reason why QZPPATH.ini of the
// current folder cannot be read (a file without read rights, a folder of
// that name); notes nothing when it can be read. Shows nothing: the path
// settings' own message follows.
void NotePathIniUnreadable();

}  // namespace qz

#endif  // QZ_EXAMINEE_START_CHECKS_H_
