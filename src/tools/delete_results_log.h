// Deleting the stored results of the consultation on screen with a deletion
// log: every QZKKKLF record of basPublic.ExamineeNo on basPublic.ConsultDate
// is written to the log and then deleted, so that a person can read the
// removed data back.
//
// The log is "<basPublic.SvworkPath>del<examinee>_<yyyymmdd>_<hhnnss>.log"
// (date and time of now, taken once), opened for appending before the first
// record is looked at: a run that finds nothing leaves an empty file, and
// two runs within one second share the file. CP932 text, CR LF lines. Each
// deleted record is one block of 22 lines:
//
//   ★★★★★ 以下の検査結果データを削除しました ★★★★★
//   (empty)
//   ユーザ ： <basPublic.LogonUserId>
//   受診者番号 ： <basPublic.ExamineeNo>
//   受診日 ： <basPublic.ConsultDate>
//   (empty)
//   CODE ： <value> ... SOKUTEI ： <value>    (the 14 fields of the record)
//   (empty)
//   (empty)
//
// Numbers as plain decimal digits, texts as the record holds them. Reads and
// deletes through basFileAccess.QZKKKLFObj (and QZJRKLFObj for the
// reception row), both open. User-interface thread only.
#ifndef QZ_TOOLS_DELETE_RESULTS_LOG_H_
#define QZ_TOOLS_DELETE_RESULTS_LOG_H_

#include <cstdint>
#include <string>

namespace qz {

// The outcome of one deletion.
struct DeleteResultsOutcome {
  bool ok = false;             // every record was logged and deleted
  int deleted = 0;             // records deleted
  std::string log_path;        // the log file written (this machine's path), or ""
  std::uintmax_t log_offset = 0;  // bytes the log held before this run
  bool log_created = false;       // this run created the log
};

// Deletes the consultation's stored results with the log.
//
// `quiet` (the save's history write-back): results only, no message, the
// reception row of QZJRKLF stays (the write-back writes it right after).
// Not quiet (the operator's deletion tool): afterwards, when nothing was
// deleted, "新規入力データです。" (OK, "結果入力"); then the consultation's
// reception row is deleted when present.
//
// A failure (the log cannot be opened or written, a delete or read status
// other than 0 and 9, a run-time error) shows the error report
// "結果の削除処理でエラーが発生しました。" (with the status when the record
// manager failed, and "検査結果マスタの読み込みに失敗しました。" or
// "検査結果マスタの削除に失敗しました。" as its description) and stops: records deleted before stay deleted unless the
// caller's transaction is aborted, and the reception row is not touched.
// A record is logged before it is deleted and counted only once its delete
// succeeded; the block of a record whose delete is refused is taken out of
// the log again, so the log holds exactly the records deleted.
DeleteResultsOutcome Fnc_DeleteResultsWithLog(bool quiet);

// The program's entry, without the outcome.
void Sub_DeleteResultsWithLog(bool quiet);

// Takes back the log of deletion `run` whose deletes were undone (the
// save's transaction aborted): a log the run created is removed, one it
// appended to is cut back to what it held before. Nothing for a run that
// wrote no log. Failures of the file system are ignored.
void Sub_WithdrawDeletionLog(const DeleteResultsOutcome& run);

}  // namespace qz

#endif  // QZ_TOOLS_DELETE_RESULTS_LOG_H_
