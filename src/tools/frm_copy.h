// frmCopy ("前回結果コピー"): the modal list of the previous consultation's
// results that the previous-result copy offers (Sub_CopyPreviousResults
// fills it).
//
// List columns of sprList: 1 check box, 2 item name, 3 the previous value
// as text, 4 the item index (width 0). A check cell may be locked (the
// item cannot be copied): 全てﾁｪｯｸ leaves it unchecked. The dialog answers
// through basPublic.CopySelection: emptied to the single unused element 0
// when it loads; 確定 appends the item index of every checked row in row
// order and closes; 閉じる and the close box leave it empty. The handlers
// go on past a row that cannot be read, without a message.
// User-interface thread only.
#ifndef QZ_TOOLS_FRM_COPY_H_
#define QZ_TOOLS_FRM_COPY_H_

#include "platform/grid/spread.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmCopy : public ui::Form {
 public:
  FrmCopy();

  grid::Spread& sprList;
  ui::CommandButton& cmdAllCheck;    // 全てﾁｪｯｸ
  ui::CommandButton& cmdAllUnCheck;  // 全てﾁｪｯｸ解除
  ui::CommandButton& cmdEnter;       // 確定
  ui::CommandButton& cmdClose;       // 閉じる

  void Form_Load();
  void cmdAllCheck_Click();
  void cmdAllUnCheck_Click();
  void cmdEnter_Click();
  void cmdClose_Click();
};

extern ui::FormSlot<FrmCopy> frmCopy;

// Columns of frmCopy.sprList.
inline constexpr int kCopyCheckCol = 1;
inline constexpr int kCopyNameCol = 2;
inline constexpr int kCopyValueCol = 3;
inline constexpr int kCopyIndexCol = 4;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_COPY_H_
