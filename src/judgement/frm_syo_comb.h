// frmSyoComb: the findings search and combination window ("所見ﾏｽﾀ検索").
//
// Not yet built: only the window itself exists, so that the result screen
// can bring it to the front while a search is open and unload it at the
// end of the examinee cycle. Its search list, the combination of findings
// and the hand-back of the decided text come with the findings search.
// User-interface thread only.
#ifndef QZ_JUDGEMENT_FRM_SYO_COMB_H_
#define QZ_JUDGEMENT_FRM_SYO_COMB_H_

#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmSyoComb : public ui::Form {
 public:
  FrmSyoComb();
};

extern ui::FormSlot<FrmSyoComb> frmSyoComb;

}  // namespace qz

#endif  // QZ_JUDGEMENT_FRM_SYO_COMB_H_
