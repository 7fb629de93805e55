// Sub_SetJudgementFinding: when an item's judgement changes and the item
// names a judgement-finding item (KomInfo::Hansyo), that item takes the
// first finding of its finding type that carries the same judgement.
//
// Called after every judgement change (typed entries, list picks, the
// calculated items, the group judgement, the external judgement, the
// findings search). Reads the findings master through
// basFileAccess.QZSYO3LFObj (key CODE, SCODE). The result screen's thread
// only.
#ifndef QZ_JUDGEMENT_JUDGEMENT_FINDING_H_
#define QZ_JUDGEMENT_JUDGEMENT_FINDING_H_

#include <cstdint>

namespace qz {

// For source item `item` (an item-table index): nothing when its Hansyo or
// its current judgement is 0, when no item of the table has the number
// Hansyo, or when that item t (the first with it) is done-checked, or when
// t's finding type has no finding (in SCODE order) with the judgement.
// Otherwise t's current result takes that finding's text (SYKN as the field
// holds it), its judgement (KHANTEI) and the stamp; when t is on the screen
// its result cell shows the text, its findings-code cell is emptied, its
// judgement cell shows the mark, the stamp cells are redrawn and the result
// and judgement cells take the judgement's colour. A judgement without a
// mark warns "判定変換に失敗しました。" with the code and t's name, and the
// finding is still set, with an empty mark and no colour. A run-time error
// shows the error report "判定所見のセット処理でエラーが発生しました。".
void Sub_SetJudgementFinding(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_JUDGEMENT_FINDING_H_
