// frmDelList ("削除データリスト"): the modal list of the stored results of the
// consultation for items that are not booked for it, shown before a save
// (Fnc_ShowDeleteList fills it).
//
// It answers through basPublic.DelListAnswer, the index of the button
// pressed: 1 戻る (also when it loads, so a close by the close box means
// "back": the save does not happen), 2 削除する (the save deletes the
// stored results first), 3 削除しない. List columns of sprList: 1 item
// number right-aligned in 10 characters, 2 item name, 3 the stored value
// as text, 4 the done mark. User-interface thread only.
#ifndef QZ_TOOLS_FRM_DEL_LIST_H_
#define QZ_TOOLS_FRM_DEL_LIST_H_

#include "platform/grid/spread.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// The answers (the indexes of cmdRet).
enum DelListAnswer : int {
  kDelListNotShown = 0,
  kDelListBack = 1,
  kDelListDelete = 2,
  kDelListKeep = 3,
};

class FrmDelList : public ui::Form {
 public:
  FrmDelList();

  grid::Spread& sprList;
  // cmdRet(index), index kDelListBack .. kDelListKeep.
  ui::CommandButton& cmdRet(int index) const { return Get<ui::CommandButton>("cmdRet", index); }

  void Form_Load();
  void cmdRet_Click(int index);
};

extern ui::FormSlot<FrmDelList> frmDelList;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_DEL_LIST_H_
