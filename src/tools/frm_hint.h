// frmHint ("操作説明"): the modal list of the result screen's shortcut keys,
// shown by Alt+F1. It holds no answer; the operator closes it with its
// close box. User-interface thread only.
#ifndef QZ_TOOLS_FRM_HINT_H_
#define QZ_TOOLS_FRM_HINT_H_

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmHint : public ui::Form {
 public:
  FrmHint();

  ui::ListBox& lstHint;

  // Fills lstHint with the help lines, one key per line, the colons lined
  // up by the blanks inside the texts.
  void Form_Load();
};

extern ui::FormSlot<FrmHint> frmHint;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_HINT_H_
