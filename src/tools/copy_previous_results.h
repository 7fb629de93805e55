// Sub_CopyPreviousResults: the previous-result copy. The results of the
// previous consultation (result column 1) of copyable items whose current
// result is still empty are offered in frmCopy; the chosen ones are entered
// as if the operator had typed them.
//
// Called by Alt+F6 and the sub-menu (ask -1) and at the end of a
// consultation load (ask 0), on the user-interface thread with the
// consultation loaded (frmResultIn's tables and grid).
#ifndef QZ_TOOLS_COPY_PREVIOUS_RESULTS_H_
#define QZ_TOOLS_COPY_PREVIOUS_RESULTS_H_

#include <cstdint>
#include <string>

namespace qz {

// The previous-result copy. `ask` -1 is the operator's request, 0 the
// automatic one at the end of a load: only the operator's request says
// "過去歴がありません。" (no earlier consultation) or
// "コピー対象のマスタがありません。" (nothing to offer), information boxes
// titled "結果入力".
//
// Offered: items with KomInfo.Copy not 0, booked now (Past 0), editable,
// without the done-check, with an empty current result (findings: Syoken;
// judgement items: Han; numeric: Knsach) and no measurement class, whose
// previous result gives a text: the findings text, the judgement mark, or
// the value edited to the item's digits (right-aligned in 10 characters;
// a value the digits refuse is not offered). Copy class 1 is offered
// checked. A numeric item without a grid line is offered unchecked and
// locked, reading "(画面に表示されていません)".
//
// Each chosen item (basPublic.CopySelection after frmCopy closed) with a
// grid line is entered exactly as if typed: the earlier value (a numeric
// value, a judgement item's mark) goes into its result cell and the grid's
// key handler (frmResultIn.sprResult's KeyDown, key 13) gets an Enter
// there, so the Enter processing validates, judges, carries it into
// calculated items and group judgements and stamps it as for a typed value,
// and refuses what it would refuse typed. A findings item's earlier text is
// stored and shown as it was (never checked against its list, never an
// option row's trigger), and only its earlier judgement is entered, as
// typed into its judgement cell with an Enter to the key handler, so that
// the judgement finding, the summary findings, the group judgement and the
// stamp follow; a finding without a judgement is followed and stamped
// alike, and a refused judgement takes the text back. An item without a grid
// line takes the earlier value and judgement in the result matrix and is
// carried into its judgement finding, the summary findings and (judged
// automatically, a group item or a finding of any class) its group and
// overall judgements, stamped with the logon user and now. A finding copied
// onto its line judges its group whatever its class too, as the same
// finding picked from its list does. A value still being typed in
// the grid goes in before anything is offered (refused: nothing is
// copied). With basPublic.PastCopySumi 1 the done-check
// of copied numeric and findings items whose value went in is set too.
// Afterwards the cursor goes back to the current input group of frmGrpJmp.
//
// A run-time error shows the error report
// "前回結果コピー処理でエラーが発生しました。"; what was copied stays.
void Sub_CopyPreviousResults(std::int16_t ask);

}  // namespace qz

#endif  // QZ_TOOLS_COPY_PREVIOUS_RESULTS_H_
