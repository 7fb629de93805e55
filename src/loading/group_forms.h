// frmGrpSel and frmGrpJmp: the two modeless companion forms of the result
// screen that list the input groups.
//
// frmGrpSel ("入力グループ選択") lists every shown input group in its grid
// flxGroop, one row per group from row 0; the back colour of column 0 is the
// selection (basPublic.ColorNgrpSelect selected, ColorNgrpDefault not).
// frmGrpJmp ("入力グループ") lists the selected groups with four columns:
// 0 name, 1 the grid line of the group's first item (hidden), 2 the group
// judgement mark, 3 the group's position in frmResultIn.InputGroups minus 1
// (hidden). Both grids have no fixed rows or columns.
//
// In frmGrpSel a click or Enter toggles the selection of the rows of the
// list's selected range, "選択終了" rebuilds the result screen for the
// selected groups and "戻る" minimises the form. In frmGrpJmp a click or
// Enter on a group moves the result grid's active cell to the group's first
// line. Neither form closes from its control menu; the program may unload
// them. The handlers report a run-time error with the program's error
// report under the application's title.
//
// The result screen is the form of frmResultIn.sprResult; while the screen
// has no grid the handlers act on their lists alone. The slots make each
// form on first use. The result screen's thread only.
#ifndef QZ_LOADING_GROUP_FORMS_H_
#define QZ_LOADING_GROUP_FORMS_H_

#include "platform/grid/list_grid.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

class FrmGrpSel : public ui::Form {
 public:
  FrmGrpSel();

  grid::ListGrid& flxGroop;
  ui::CommandButton& cmdSelectEnd;  // "選択終了"
  ui::CommandButton& cmd;           // "戻る"

  // Toggles every row from the current row to the selection end (either
  // order) by itself between selected and not. Nothing on an empty list.
  void flxGroop_Click();
  // Enter (13) acts as a click; other keys do nothing.
  void flxGroop_KeyUp(int& key_code, int shift);
  // With no row selected shows "グループが選択されていません。" and does
  // nothing else. Otherwise, under the progress window, hides this form,
  // the result screen and frmGrpJmp, rebuilds the jump list, the item lines,
  // the result cells, the cell kinds, locks and frozen rows for the
  // selected groups, shows the result screen at the top-left corner of the
  // screen with frmGrpJmp, and puts the active cell on the current result of
  // the first line. The results in the result matrix stay. After a run-time
  // error the report is shown and the result screen and frmGrpJmp are shown
  // again and the progress window closed.
  void cmdSelectEnd_Click();
  // Minimises the form.
  void cmd_Click();
  // Cancels a close from the control menu (mode 0); any other goes ahead.
  void Form_QueryUnload(int& cancel, int unload_mode);
};

class FrmGrpJmp : public ui::Form {
 public:
  FrmGrpJmp();

  grid::ListGrid& flxGroop;
  ui::Label& lblInfo;  // the comment of the current input group

  // The row at the selection end becomes the only selected row (column 0
  // in basPublic.ColorNgrpSelect, every other row ColorNgrpDefault) and the
  // current row; the result grid scrolls the group's first line (column 1)
  // to the top, makes its current result the active cell and takes the
  // focus. The list takes no clicks meanwhile and is enabled again after,
  // also after an error. Nothing on an empty list.
  void flxGroop_Click();
  // Enter (13) acts as a click; other keys do nothing.
  void flxGroop_KeyUp(int& key_code, int shift);
  // Cancels a close from the control menu (mode 0); any other goes ahead.
  void Form_QueryUnload(int& cancel, int unload_mode);
};

extern ui::FormSlot<FrmGrpSel> frmGrpSel;
extern ui::FormSlot<FrmGrpJmp> frmGrpJmp;

// The back colours of column 0 of a selected and of an unselected row
// (basPublic.ColorNgrpSelect, basPublic.ColorNgrpDefault).
ui::Color NgrpSelectColor();
ui::Color NgrpDefaultColor();

// The twips of one row of the jump list, by which its height says how many
// rows fit.
inline constexpr int kJumpRowTwips = 289;

}  // namespace qz

#endif  // QZ_LOADING_GROUP_FORMS_H_
