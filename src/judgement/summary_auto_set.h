// The summary-findings auto-set: when an item's judgement is set or
// changed, the first rule of the settings (basPublic.AutoSougouSyoken) that
// has the item as its source and whose conditions hold writes its standard
// finding, with that finding's judgement, into a summary-findings item of
// the consultation (frmResultIn's SougouItems, summary_findings.h).
//
// A source claims a summary item (KomInfo::SougouDest) when a finding of
// it is written there, and keeps it for its later findings until another
// source claims it while it is empty, or the source marks are rebuilt
// (Sub_MarkSummaryAutoSetSources). A summary item that holds no finding is
// free for any source, so no finding is overwritten by another source.
// Reads the findings master through basFileAccess.QZSYO3LFObj (key CODE,
// SCODE). The result screen's thread only.
#ifndef QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_
#define QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_

#include <cstdint>

namespace qz {

// The first free summary-findings item, as an item-table index: for the
// summary item numbers of the settings in their order, the first one the
// consultation books now (SougouItems entry non-zero, Past 0) whose current
// result has no done-check and a finding text that is blank after
// trimming. 0 when there is none or the settings list no summary item. A
// run-time error shows the error report "総合所見セット処理でエラーが
// 発生しました。" and gives 0.
std::int16_t Fnc_FindSummaryFindingItem();

// Item `item` (an item-table index) has written a finding into summary
// item `summary`: it becomes the item's destination (KomInfo::SougouDest),
// and any other item that held it as its destination has none again
// (kSougouSourceOpen), so that it never writes over this finding.
void Sub_ClaimSummaryItem(std::int16_t item, std::int16_t summary);

// Applies the auto-set for source item `item` (an item-table index).
// Nothing when the settings list no summary item or the item is no rule's
// source (SougouDest -1). The first rule for the item's
// number that applies is taken: its judgement must equal the item's current
// judgement and, for a numeric or calculated item, rule "H" needs the value
// above the standard high (99999.9999 when none), rule "L" below the
// standard low (0 when none); the value's numeric reading is the number it
// begins with (0 for none); no rule applies: nothing. The destination is
// the item's SougouDest, or else Fnc_FindSummaryFindingItem; none found:
// nothing. A done-checked destination is never rewritten. The rule's
// findings code is read under the destination's finding type:
// - not found: warning "コード「<code>」は所見マスタに登録されていません。";
// - a heading row: warning "タイトル用所見は選択できません。";
// - another read failure: warning "所見マスタ３の読み込みに失敗しました。"
//   with the finding type and the status (the screen stays);
// each with no change. Otherwise the destination's current result takes
// the trimmed finding text (replacing the old one), its judgement, the
// stamp of the logged-on user and measurement class 0, and the item claims
// it (Sub_ClaimSummaryItem); when it is on the
// screen its result, updater, update-time, measurement-class and judgement
// cells are redrawn and the result and judgement cells take the colour of
// the judgement (the default colour letter for a source without judgement).
// A judgement without a mark warns "判定変換に失敗しました。" with the code
// and the source item's name and leaves the screen as it was. A run-time
// error shows the error report "総合所見自動セット処理でエラーが発生しました。".
void Sub_AutoSetSummaryFindings(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_SUMMARY_AUTO_SET_H_
