#include "judgement/edit_permission.h"

#include <exception>
#include <string>

#include "grid/item_row_map.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {
namespace {

bool CheckEditPermission(std::int32_t row) {
  const std::int16_t item = Fnc_RowToItem(row);
  if (item == 0) return false;
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (k.Editable) return true;
  ShowLoadWarning("「" + k.KomName + "」の" + std::string(kCrLf) + "入力ご担当者に連絡して下さい。");
  return false;
}

}  // namespace

bool Fnc_CheckEditPermission(std::int32_t row) {
  try {
    return CheckEditPermission(row);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("編集権限のチェック処理でエラーが発生しました。", e);
    return false;
  }
}

}  // namespace qz
