// Sub_AutoSetDefaultFindings: for every findings item whose findings are
// empty, the default finding of its findings type entered as if typed and
// confirmed (Alt+F5 after a question, the sub-menu without one).
//
// Not yet built: it needs the typed-entry processing of the grid; until
// then it changes no result. User-interface thread only.
#ifndef QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_
#define QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_

namespace qz {

void Sub_AutoSetDefaultFindings();

}  // namespace qz

#endif  // QZ_JUDGEMENT_DEFAULT_FINDINGS_SET_H_
