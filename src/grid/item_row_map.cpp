#include "grid/item_row_map.h"

#include <exception>

#include "data/error_report.h"
#include "examinee/bas_public.h"
#include "loading/load_state.h"

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

}  // namespace qz
