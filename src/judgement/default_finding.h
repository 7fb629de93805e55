// Fnc_GetDefaultFindingCode: the default finding of a findings type, read
// from the findings master by typed code (definition QZSYO2LF).
//
// Used by the result load (a missing current result of a findings item) and
// the default-findings tool. Reads through basFileAccess.QZSYO2LFObj, which
// the start opened; one thread only.
#ifndef QZ_JUDGEMENT_DEFAULT_FINDING_H_
#define QZ_JUDGEMENT_DEFAULT_FINDING_H_

#include "platform/text/currency.h"

namespace qz {

// Walks the rows of findings type `finding_type` in typed-code (RCODE)
// order and stops at the first that is no title row (TITLE 0) and carries
// the default mark (DEFAULT 1).
//
// Returns true when there is one; basFileAccess.QZSYO2LFObj then stays on
// that row, so the caller reads its SYKN, KHANTEI or RCODE. Returns false
// when the type has no such row (the rows of the next type are never taken)
// or the read ends on any status but 0. A run-time error shows the error
// report "所見マスタのデフォルト値取得処理でエラーが発生しました。" and
// returns false.
bool Fnc_GetDefaultFindingCode(Currency finding_type);

}  // namespace qz

#endif  // QZ_JUDGEMENT_DEFAULT_FINDING_H_
