// Deleting the stored results of the consultation on screen with a deletion
// log: every QZKKKLF record of basPublic.ExamineeNo on basPublic.ConsultDate
// is written to the log file "<work folder>del<examinee>_<yyyymmdd>_<hhnnss>.log"
// (CP932; the date and time of now) and then deleted.
//
// The log: "★★★★★ 以下の検査結果データを削除しました ★★★★★", the user
// (basPublic.LogonUserId), the examinee number and the consultation date,
// then for each record one "<FIELD> ： <value>" line for each of its 14
// fields. Reads and deletes through basFileAccess.QZKKKLFObj. Called by the
// history write-back (quiet) on the user-interface thread; the operator's
// deletion tool, which asks first and ends the examinee cycle, builds on it.
// The form that is not quiet shows nothing more than the quiet one here.
#ifndef QZ_TOOLS_DELETE_RESULTS_LOG_H_
#define QZ_TOOLS_DELETE_RESULTS_LOG_H_

#include <string>

namespace qz {

// The outcome of one deletion.
struct DeleteResultsOutcome {
  bool ok = false;       // every record was logged and deleted
  int deleted = 0;       // records deleted
  std::string log_path;  // the log file written (this machine's path), or ""
};

// Deletes the consultation's stored results with the log. With `quiet` it
// shows nothing on success. A failure (the log cannot be written, a delete
// or read status other than 0 and 9, a run-time error) shows the error
// report "結果の削除処理でエラーが発生しました。" (with the status when the
// record manager failed) and stops: records already deleted stay deleted
// unless the caller's transaction is aborted.
DeleteResultsOutcome Fnc_DeleteResultsWithLog(bool quiet);

// The program's entry, without the outcome.
void Sub_DeleteResultsWithLog(bool quiet);

}  // namespace qz

#endif  // QZ_TOOLS_DELETE_RESULTS_LOG_H_
