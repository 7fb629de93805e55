// frmGrpSel and frmGrpJmp: the two companion forms of the result screen that
// list the input groups, as far as the loading steps fill them.
//
// frmGrpSel ("入力グループ選択") lists every shown input group in its grid
// flxGroop, one row per group from row 0; the back colour of column 0 is the
// selection (basPublic.ColorNgrpSelect selected, ColorNgrpDefault not).
// frmGrpJmp ("入力グループ") lists the selected groups with four columns:
// 0 name, 1 the grid line of the group's first item (hidden), 2 the group
// judgement mark, 3 the group's position in frmResultIn.InputGroups minus 1
// (hidden). Both grids have no fixed rows or columns.
//
// The forms' event handlers are added with the group selection and jump;
// the slots make each form on first use. The result screen's thread only.
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
};

class FrmGrpJmp : public ui::Form {
 public:
  FrmGrpJmp();

  grid::ListGrid& flxGroop;
  ui::Label& lblInfo;  // the comment of the current input group
};

extern ui::FormSlot<FrmGrpSel> frmGrpSel;
extern ui::FormSlot<FrmGrpJmp> frmGrpJmp;

// The twips of one row of the jump list, by which its height says how many
// rows fit.
inline constexpr int kJumpRowTwips = 289;

}  // namespace qz

#endif  // QZ_LOADING_GROUP_FORMS_H_
