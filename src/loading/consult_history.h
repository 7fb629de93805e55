// Sub_LoadHistory: the history step of every examinee load. It decides which
// consultations are shown as result columns: the current one
// (basPublic.ConsultDate) and at most basPublic.MaxJrk earlier ones of the
// examinee, newest first, into frmResultIn.HistoryDates. It also takes the
// result dispatch date (frmResultIn.SendDateText) and the automatic-
// judgement mark (basPublic.AutoJudgeDone) of the current consultation, and
// resets the per-load answers basPublic.DelListAnswer and
// basPublic.ReportCode.
//
// Needs the examinee record left current by Sub_LoadExamineeHeader.
#ifndef QZ_LOADING_CONSULT_HISTORY_H_
#define QZ_LOADING_CONSULT_HISTORY_H_

namespace qz {

// An earlier consultation whose consultation-items record carries a main
// course (PCODE not 0) gets that course as its Cno1. Returns false when the
// history cannot be read: the warning "受診歴マスタの読み込みに失敗しました。"
// was shown and the result screen unloaded. A run-time error shows the
// report "受診歴情報の取得処理でエラーが発生しました。" and returns true.
bool Sub_LoadHistory();

}  // namespace qz

#endif  // QZ_LOADING_CONSULT_HISTORY_H_
