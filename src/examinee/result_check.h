// The result check before saving (Fnc_CheckResultsBeforeSave of the main
// form): walks every item of the loaded consultation once before its
// results are written anywhere. It refuses an unconfirmed required item,
// a numeric result that does not fit its digit format and an
// unknown judgement code; it rewrites every numeric result in the form of
// its digit format (result matrix column 0 and, for a shown item
// without measurement class, its result cell); and it tells whether there
// is anything to save at all.
//
// Called by the save (done-checks tested unless forced), the preview and
// the external automatic judgement (not tested) on the user-interface
// thread, with the masters open and the settings record read. Shows the
// progress window while it runs. Messages are titled "結果入力".
#ifndef QZ_EXAMINEE_RESULT_CHECK_H_
#define QZ_EXAMINEE_RESULT_CHECK_H_

namespace qz {

// Returns true when every check passed. `save_needed` is true unless every
// item is empty (or booked only earlier) and the results file holds no
// record of the consultation.
//
// A failed check shows its message, moves the grid cursor to the item's
// done-check or result cell (when the item is shown) and returns false;
// items after it are not examined. A read failure of the results file shows
// its warning with the status and returns false (the examinee stays on
// screen for another try). A run-time error
// shows the error report "検査結果情報のチェック処理でエラーが発生しました。"
// and returns false.
bool Fnc_CheckResultsBeforeSave(bool check_done_checks, bool& save_needed);

}  // namespace qz

#endif  // QZ_EXAMINEE_RESULT_CHECK_H_
