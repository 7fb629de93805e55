// Sub_LoadResults: creates the result matrix of the loaded consultation and
// fills it from the examination-result file or from its preview work file,
// with the not-performed class and the default findings for missing current
// results where the settings ask for them, and records where the group items
// and the overall-judgement item are.
//
// Run by the load after the item rows, and again by the screen reload (from
// the preview work file after the external judgement). Needs the sorted item
// table and frmResultIn.HistoryDates. Shows its progress on the gauge of
// frmGuide and yields before every read.
#ifndef QZ_LOADING_RESULT_LOAD_H_
#define QZ_LOADING_RESULT_LOAD_H_

#include <string_view>

namespace qz {

// `file_name` is "QZKKKLF" (basFileAccess.QZKKKLFObj) or "QJKKKLF"
// (basFileAccess.QJKKKLFObj); it is also the definition of the reads. Any
// other name shows "ファイル名が不正です。" and changes nothing (true).
//
// Replaces frmResultIn.ResultMatrix with [1..ItemCount, 0..HistoryCount],
// frmResultIn.GroupItems and frmResultIn.OverallItem, and reads one result
// per item and column. A stored result gives its fields (the value trimmed
// with one blank after it, empty for a findings item; the findings trimmed;
// YMD and HMS 0 when not numeric). A missing one is empty; in the current
// column an item booked now gets the class "(未実施)" when
// basPublic.NewMijissi is 1, and a findings item its type's default finding
// when basPublic.AutoDefaultSyoken is 1.
//
// Returns false, after the warning "検査結果マスタの読み込みに失敗しました。"
// and unloading the result screen, when a result cannot be read. A run-time
// error (a stored value that does not convert) ends it the same way, after
// the report "検査結果情報の取得処理でエラーが発生しました。": a part-read
// matrix is never left on a screen that could save it.
bool Sub_LoadResults(std::string_view file_name);

}  // namespace qz

#endif  // QZ_LOADING_RESULT_LOAD_H_
