// frmOpchk ("未実施検査一覧"): the modal list of the consultation's
// unperformed items, shown by the 未実施検査一覧 button and, when
// basPublic.OpChkStart is 1, at the end of each consultation load.
//
// The caller fills flxOpchk (one column, no header; the item names) before
// showing the dialog and empties lblCheck when it listed any item: the
// label says that every item was performed. The dialog answers
// through basPublic.OpchkAnswer: 0 when it loads (also what 戻る or the
// close box leaves: the examinee stays open), 1 after 終了 (the caller ends
// the examinee without saving). User-interface thread only.
#ifndef QZ_TOOLS_FRM_OPCHK_H_
#define QZ_TOOLS_FRM_OPCHK_H_

#include "platform/grid/list_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmOpchk : public ui::Form {
 public:
  FrmOpchk();

  grid::ListGrid& flxOpchk;     // filled by the caller
  ui::Label& lblCheck;          // "未実施の検査はありません。"
  ui::CommandButton& cmdSave;   // 終了
  ui::CommandButton& cmdClose;  // 戻る

  void Form_Load();
  void cmdSave_Click();
  void cmdClose_Click();
};

extern ui::FormSlot<FrmOpchk> frmOpchk;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_OPCHK_H_
