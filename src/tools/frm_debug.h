// frmDebug ("結果入力　デバッグウィンドウ"): the inspection window of the
// result screen (Alt+F2). It lists every attribute of every record of the
// item table frmResultIn.ItemTable in one row of the item grid sprDebug(0),
// and the courses booked for the consultation with their names from the
// course master in the course grid sprDebug(1). It only shows: it changes
// nothing and has no event handlers; the operator closes it.
//
// Every showing empties and refills both grids, so the window shows the item
// table of that moment. User-interface thread only; the course master
// (basFileAccess.QZKOSLFObj) must be open.
#ifndef QZ_TOOLS_FRM_DEBUG_H_
#define QZ_TOOLS_FRM_DEBUG_H_

#include <string>

#include "loading/consult_records.h"
#include "platform/grid/spread.h"
#include "platform/ui/form.h"
#include "platform/ui/form_slot.h"

namespace qz {

// Columns of the item grid, and of the course grid.
inline constexpr int kDebugItemColumns = 39;
inline constexpr int kDebugCourseColumns = 3;

class FrmDebug : public ui::Form {
 public:
  FrmDebug();

  // sprDebug(0) the item grid, sprDebug(1) the course grid.
  grid::Spread& sprDebug(int index) const { return Get<grid::Spread>("sprDebug", index); }
};

extern ui::FormSlot<FrmDebug> frmDebug;

// The text of column `col` (1 .. kDebugItemColumns) of the item grid for
// `kom`. Pure.
std::string Fnc_DebugItemCell(const KomInfo& kom, int col);

// Fills both grids of frmDebug, shows it modally and, when it closes, gives
// the result grid the focus. A run-time error (a failing read of the course
// master, for one) shows "デバッグウィンドウの表示処理でエラーが発生しました。"
// with the error's number and description; the window is then not shown.
void Sub_ShowDebugWindow();

}  // namespace qz

#endif  // QZ_TOOLS_FRM_DEBUG_H_
