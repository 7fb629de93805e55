#include "grid/column_toggles.h"

#include <string_view>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/grid_procedure.h"
#include "platform/grid/spread.h"

namespace qz {

namespace {

// Column `col` of the result grid, addressed whole (Row -1).
void AddressColumn(grid::Spread& spr, int col) {
  spr.block_mode = false;
  spr.row = -1;
  spr.col = col;
}

// Switches column `col` between hidden and `width`.
void ToggleColumn(std::string_view job_text, int col, int width) {
  RunGridProcedure(job_text, [&] {
    grid::Spread& spr = ResultGrid();
    AddressColumn(spr, col);
    spr.SetColWidth(spr.col, spr.ColWidth(spr.col) == 0 ? width : 0);
  });
}

bool MeasureClassShown() { return frmResultInForm->chkSokutei.value() == 1; }

}  // namespace

void Sub_ToggleUpdaterColumn() {
  ToggleColumn("更新者欄の幅変更処理でエラーが発生しました。", basPublic.UpdateCol, basPublic.WidthUpdate);
}

void Sub_ToggleUpdateTimeColumn() {
  ToggleColumn("更新日時欄の幅変更処理でエラーが発生しました。", basPublic.UptimeCol, basPublic.WidthUptime);
}

void Sub_ToggleJudgeColumn() {
  ToggleColumn("判定欄の幅変更処理でエラーが発生しました。", basPublic.HanCol, basPublic.WidthHan);
}

void Sub_ToggleJudgeFindingColumn() {
  ToggleColumn("判定所見欄の幅変更処理でエラーが発生しました。", basPublic.HanSyoCol, basPublic.WidthHanSyo);
}

void Sub_ToggleMeasureClassColumn() {
  RunGridProcedure("測定区分欄の幅変更処理でエラーが発生しました。", [] {
    grid::Spread& spr = ResultGrid();
    AddressColumn(spr, basPublic.SokuteiCol);
    spr.SetColWidth(spr.col, MeasureClassShown() ? basPublic.WidthSokutei : 0);
  });
}

void Sub_FitResultColumn(std::int32_t col, bool toggle) {
  RunGridProcedure("結果欄の幅変更処理でエラーが発生しました。", [&] {
    grid::Spread& spr = ResultGrid();
    AddressColumn(spr, col);
    const int long_width = MeasureClassShown() ? basPublic.WidthLong - basPublic.WidthSokutei : basPublic.WidthLong;
    const bool is_short = spr.ColWidth(col) == basPublic.WidthShort;
    if (is_short && !toggle) return;
    spr.SetColWidth(col, is_short || !toggle ? long_width : basPublic.WidthShort);
  });
}

}  // namespace qz
