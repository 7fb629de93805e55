// frmChkInput ("未確定項目チェック"): the modal list of the result-grid rows
// whose done-check is not set, shown by the save and by the 未確定項目
// button before a save.
//
// It answers through basPublic.ChkInputAnswer: 0 when it loads (also what a
// close by 戻る or the close box leaves), 1 after 保存終了. A click on a line
// of the list makes the done-check cell of that row the active cell of
// frmResultIn.sprResult, brings it into view and closes the dialog with
// the answer 0. Each activation fills the list anew from the grid:
// column 0 (hidden) the grid row, column 1 the text of the item column.
// Rows of items shown only for earlier consultations (row-header back
// colour basPublic.ColorPast) are not listed. lblCheck keeps
// "全てチェック済みです。" when the list stays empty and says
// "自動判定が未実行です" whenever the automatic judgement has not run.
//
// The caller shows it modally and reads the answer when Show returns.
// User-interface thread only.
#ifndef QZ_TOOLS_FRM_CHK_INPUT_H_
#define QZ_TOOLS_FRM_CHK_INPUT_H_

#include "platform/grid/list_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmChkInput : public ui::Form {
 public:
  FrmChkInput();

  grid::ListGrid& flxItem;      // column 0 grid row (hidden), column 1 item
  ui::Label& lblCheck;
  ui::CommandButton& cmdSave;   // 保存終了
  ui::CommandButton& cmdClose;  // 戻る

  void Form_Load();
  void Form_Activate();
  void cmdSave_Click();
  void cmdClose_Click();
  void flxItem_MouseUp();
  void flxItem_Click();

 private:
  // Refills the list from frmResultIn.sprResult.
  void FillList();

  int highlighted_row_ = -1;  // the list row last highlighted, -1 none
};

extern ui::FormSlot<FrmChkInput> frmChkInput;

}  // namespace qz

#endif  // QZ_TOOLS_FRM_CHK_INPUT_H_
