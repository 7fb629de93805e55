// The handlers of frmGrpJmp, the jump of the result grid to an input group.
#include <exception>

#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

// The column of the jump list that holds the grid line of the group's first
// item.
constexpr int kFirstLineCol = 1;

}  // namespace

void FrmGrpJmp::flxGroop_Click() {
  try {
    if (flxGroop.rows() == 0) return;
    flxGroop.enabled = false;
    const int chosen = flxGroop.row_sel();
    for (int r = 0; r < flxGroop.rows(); ++r) flxGroop.SetCellBackColorAt(r, 0, NgrpDefaultColor());
    flxGroop.SetRow(chosen);
    flxGroop.SetCellBackColorAt(chosen, 0, NgrpSelectColor());

    grid::Spread* spr = frmResultIn.sprResult;
    if (spr != nullptr) {
      const int line = static_cast<int>(vb::Val(flxGroop.TextMatrix(chosen, kFirstLineCol)));
      spr->col = basPublic.ResultCol;
      spr->row = line + basPublic.DataRow - 1;
      spr->SetAction(grid::kActionGotoTop);
      spr->SetAction(grid::kActionActiveCell);
      spr->SetFocus();
    }
  } catch (const std::exception& e) {
    ShowErrorReport("入力グループ選択のクリック処理でエラーが発生しました", e);
  }
  flxGroop.enabled = true;
}

void FrmGrpJmp::flxGroop_KeyUp(int& key_code, int /*shift*/) {
  try {
    if (key_code == grid::kKeyReturn) flxGroop_Click();
  } catch (const std::exception& e) {
    ShowErrorReport("入力グループ選択のキーボード処理でエラーが発生しました", e);
  }
}

}  // namespace qz
