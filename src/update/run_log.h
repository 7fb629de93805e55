// The run log and backups of the version-up program.
//
// Every run gets a run folder "<log root>yyyymmdd_hhnnss\" (the start time)
// holding the log "Update.log" and the backup tree. The log root is
// LogRootFolder(): the setting LogRoot of section Setting in Update.INI
// beside the program, else "C:\Vantork.Update\" where drive C maps to a
// folder of this machine, else "Vantork.Update" in the user's home folder,
// so that nothing is written at the root of the file system. A log line
// is the time "yyyy/mm/dd hh:nn:ss", one blank and the text, CR LF, in
// CP932; the file is opened, appended and closed for every line, so it is
// complete up to the last line whatever happens later. A line that cannot
// be written is lost without a word (the run goes on). Before the log is
// initialised Sub_Log writes nothing.
//
// The backup of a file F is the run folder & F's folder with every ":"
// made "$" and a leading "\\" made "$$", & F's name (C:\Prog\A.EXE ->
// <run folder>C$\Prog\A.EXE). The first backup of a file in a run is kept.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_RUN_LOG_H_
#define QZ_UPDATE_RUN_LOG_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz::update {

// The log root of the suite's form: "C:\Vantork.Update\".
inline constexpr const char* kLogRoot = "C:\\Vantork.Update\\";

// The folder under which the run folders are made (see above), with a
// closing separator. Reads Update.INI of App() (the release's program).
std::string LogRootFolder();

// Sets basPublic.LogFolder and LogFile from the current time and makes the
// folder. When the folder already holds a log (a run started in the same
// second), the run folder takes the suffix "_2", "_3" … instead, so no
// earlier run's log or backups are touched. On a folder that cannot be made
// shows "ログフォルダの作成に失敗しました。" with its path (critical) and
// returns false. The run folder is locked while this process's run lives
// (AnotherRunInProgress); a later Fnc_LogInit of the process gives the
// earlier folder's lock up.
bool Fnc_LogInit();

// True when another run folder under LogRootFolder() is locked by a run that
// is still under way (another process, whatever its user or its runtime
// folder); a run that was killed or cut off by a power failure holds none.
bool AnotherRunInProgress();

// Gives up the lock of this process's run folder: for a process whose run
// is over but which lives on (a test that played a run).
void ReleaseRunFolder();

// Appends one line with the current time and `text` ("" gives the time and
// the blank only).
void Sub_Log(std::string_view text);

// Writes the four error lines: "  エラーが発生しました。", "  モジュール : "
// & module, "  エラー番号 : " & number, "  エラー内容 : " & text.
void Sub_ErrorLog(std::string_view module, std::int32_t number, std::string_view text);

// The backup path of `file` in the run folder (see the file comment).
std::string BackupPathOf(std::string_view file);

// Keeps a copy of the existing file `file` in the run folder (the records of
// a file on the database server, see server_files.h), unless the run has
// kept one already ("    既にバックアップ済みです。"). Shows the file in the
// main form's backup note meanwhile. Returns true when a backup exists
// afterwards; false (logged) when its folder cannot be made or the copy
// fails.
bool Fnc_FileBackup(std::string_view file);

}  // namespace qz::update

#endif  // QZ_UPDATE_RUN_LOG_H_
