// The result-input program's log for administrators: one line for each
// event an administrator needs to follow a terminal's work or find a
// failure. The program calls one function at each event; the log does the
// rest and never stops or slows the program for its own sake.
//
//   2026-12-09 10:15:02.123 start terminal=TERM01 user=U01 os-user=sato program=/srv/qz140/QZP140 ...
//   2026-12-09 10:15:09.482 loaded examinee=0000000001 date=20261209 online=3
//   2026-12-09 10:21:40.017 saved examinee=0000000001 date=20261209 records=24 ms=38
//   2026-12-09 10:21:40.105 released examinee=0000000001 date=20261209 online=3
//   2026-12-09 10:22:13.660 error title=結果入力 text=... | エラー番号 : 13 | エラー内容 : ...
//   2026-12-09 10:25:31.007 error title=BTRVエラー text=... status=2 file=/srv/qz140/DATA/QZONLLF.BTR
//   2026-12-09 18:02:55.311 end
//
// The file is "QZP140_<terminal>.log", appended to. Its folder is [Log]
// Folder of QZP140.INI (the suite's path form is understood), by default
// the folder LOG beside the data folder (…/DATA/ gives …/LOG/); it is made
// when missing. [Log] Encoding is "UTF-8" (the default) or "CP932", in
// any case; another value is reported on the standard error and gives UTF-8.
//
// Until the start is complete, lines wait in memory. Every message the
// start shows is written at once with the lines before it, so that it can
// be read while the box stands: into [Log] Folder when set, else beside the
// data folder when it was read, else into LOG in the program folder when
// that can be written, else into $XDG_STATE_HOME/qz140
// (~/.local/state/qz140): never into the program folder itself. A log that
// cannot be written says so once on the standard error and drops its lines;
// the program goes on.
//
// Logged: the start (terminal, logon user, the user of the machine,
// folders), each examinee loaded and released (number, consultation date,
// on-line row), each save (records written, milliseconds taken, or its
// failure), every message box that is an error report, reports a
// record-manager status or shows the stop icon (its title and text, lines
// joined by " | "), and while the start runs any other box ("message"), the
// end. A box's line carries the failure noted before it (failure_note.h):
// the record-manager status and file, or the file or folder and the
// system's reason; a note is forgotten once a load or a save completes. A
// start that stops has a start line before its first box. Result values
// never appear: no event carries one, and the error texts name items and
// statuses only; a PostgreSQL table is named without the password of its
// connection string.
//
// User-interface thread only, like the program.
#ifndef QZ_DATA_PROGRAM_LOG_H_
#define QZ_DATA_PROGRAM_LOG_H_

namespace qz::program_log {

// The run begins: forgets any earlier run's log and starts watching the
// message boxes. First thing of the start.
void Begin();

// The start has its folders and logon user (basPublic): reads [Log] of
// ./QZP140.INI (the current folder is the program folder), opens the file,
// writes the waiting lines and the start line.
void Started();

// The examinee of basPublic (ExamineeNo, ConsultDate, OnlineRen) is on
// screen, or is about to leave it with its on-line row released (an end
// with neither an examinee nor a row is not logged).
void ExamineeLoaded();
void ExamineeReleased();

// A save's write-back begins; each record it writes is counted; it ends
// committed (`saved`) or undone.
void SaveBegun();
void RecordWritten();
void SaveEnded(bool saved);

// The program ends: the end line; the log is closed and stops watching.
void Ended();

}  // namespace qz::program_log

#endif  // QZ_DATA_PROGRAM_LOG_H_
