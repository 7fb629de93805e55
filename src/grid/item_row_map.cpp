#include "grid/item_row_map.h"

#include <exception>
#include <limits>

#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "grid/grid_procedure.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

std::int16_t Fnc_FindItemRow(std::int16_t item) {
  try {
    for (int k = 1; k <= frmResultIn.RowCount(); ++k) {
      if (frmResultIn.RowItems[k] == item) return static_cast<std::int16_t>(k);
    }
  } catch (const std::exception& e) {
    ShowErrorReport("画面上の検査項目位置検索処理でエラーが発生しました。", e);
  }
  return 0;
}

std::int32_t Fnc_ItemToRow(std::int16_t line) {
  // line and DataRow are 16-bit: their sum always fits 32 bits.
  return static_cast<std::int32_t>(line) + basPublic.DataRow - 1;
}

namespace {

constexpr const char* kSubscriptJob = "添字の計算処理でエラーが発生しました。";

// row - DataRow + 1 as a 16-bit value; throws the runtime's overflow when
// it does not fit.
std::int16_t LineOfRow(std::int32_t row) {
  const std::int64_t line = static_cast<std::int64_t>(row) - basPublic.DataRow + 1;
  if (line < std::numeric_limits<std::int16_t>::min() || line > std::numeric_limits<std::int16_t>::max()) {
    throw RunTimeError(kErrOverflow);
  }
  return static_cast<std::int16_t>(line);
}

}  // namespace

std::int16_t Fnc_RowToLineIndex(std::int32_t row) {
  std::int16_t line = 0;
  RunGridProcedure(kSubscriptJob, [&] { line = LineOfRow(row); });
  return line;
}

std::int16_t Fnc_RowToItem(std::int32_t row) {
  std::int16_t item = 0;
  RunGridProcedure(kSubscriptJob, [&] { item = frmResultIn.RowItems[LineOfRow(row)]; });
  return item;
}

}  // namespace qz
