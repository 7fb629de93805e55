// The write-back of the consultation on screen: the examinee master, the
// consultation history and the examination results, in this order.
//
// Sub_UpdateMasters is the save's driver: it writes the three in one
// record-manager transaction, so a save is stored whole or not at all. The
// history and results steps also fill the preview work files ("QJJRKLF",
// "QJKKKLF"), copying the examinee's earlier rows from the real files; the
// preview and the external automatic judgement have them do so, in one
// transaction as well (Fnc_WriteWorkFiles), after emptying the work files.
//
// Reads the item table, result matrix, group judgements, courses and
// history of frmResultIn, the screen values of frmResultInSave and the
// settings of basPublic; writes through the objects of basFileAccess. The
// results are written as the result check left them. Every warning has the
// exclamation icon and the title "結果入力"; a record-manager failure ends
// with "ステータス : " and the status. A failure never ends the program or
// clears the screen: the operator may save again. User-interface thread
// only; the steps yield to window events.
#ifndef QZ_EXAMINEE_UPDATE_MASTERS_H_
#define QZ_EXAMINEE_UPDATE_MASTERS_H_

#include <string_view>

namespace qz {

// Writes examinee master, history and results in one transaction. Returns
// true when all three were written and committed. On the first failing
// step the transaction is rolled back, so none of the three files is
// changed (the deletion log of results it had deleted is removed), and
// then its message is shown. Another terminal's transaction on a file is
// waited for up to the record manager's busy wait (the program sets it from
// QZP140.INI [SysInfo] WriteWait); still busy after it, the step fails with
// status 84 and a line telling that another terminal is writing. A failure
// of the transaction itself shows "マスタの更新に失敗しました。" with the
// examinee and the status; a run-time error "マスタの更新処理でエラーが発生
// しました。".
bool Sub_UpdateMasters();

// The preview and the external judgement: writes the consultation history
// and the results on screen into the emptied work files ("QJJRKLF",
// "QJKKKLF", which must be open) in one transaction, as Sub_UpdateMasters
// does for the real files. True when both were written and committed.
bool Fnc_WriteWorkFiles();

// Raises the examinee's latest consultation date (ZNKDAT) to the
// consultation date when it is earlier; a later or equal one is left.
// Messages: "受診者マスタが見つかりません。", "受診者マスタの読み込みに失敗
// しました。", "受診者マスタの更新に失敗しました。". Outside a transaction
// of its own: Sub_UpdateMasters is the save.
void Sub_UpdateExamineeMaster();

// Writes (updates or inserts) the history row of the consultation in
// `file_name` ("QZJRKLF" or "QJJRKLF"; another name shows "ファイル名が不正
// です。"): courses with the priority courses first, overall judgement
// mark, organisation, insurer reception number, dispatch date, judgement
// state and exam-ticket number. With basPublic.DelListAnswer 2 the stored
// results are deleted with a log first (frmResultInSave.ResultsDeleted).
// For the work file the examinee's earlier rows are copied as well,
// replacing rows of the same key. True when the row was written.
bool Sub_UpdateConsultHistory(std::string_view file_name);

// Writes (updates or inserts) one result record per item booked now (and
// of the examinee's sex) in `file_name` ("QZKKKLF" or "QJKKKLF"); in the
// real file only items the logon user may enter, group pseudo items, or
// all after the stored results were deleted. For the work file the
// examinee's earlier results are copied as well, replacing rows of the same
// key. Shows the progress window. True when every record was written.
bool Sub_UpdateExamResults(std::string_view file_name);

}  // namespace qz

#endif  // QZ_EXAMINEE_UPDATE_MASTERS_H_
