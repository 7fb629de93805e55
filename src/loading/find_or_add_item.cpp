#include "loading/find_or_add_item.h"

#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

namespace {

// Appends a record for `code`, known not to be in the table; as
// Fnc_FindOrAddItem from there.
bool AppendItem(Currency code, std::int16_t& index) {
  OneBasedList<KomInfo>& table = frmResultIn.ItemTable;
  if (table.Count() >= kMaxItemCount) {
    ShowLoadErrorReport("検査項目の格納処理でエラーが発生しました。", RunTimeError(kErrOverflow));
    return false;
  }
  KomInfo added;
  added.KomCode = code;
  table.Append(std::move(added));
  index = static_cast<std::int16_t>(table.Count());
  return true;
}

}  // namespace

bool Fnc_FindOrAddItem(Currency code, std::int16_t& index) {
  index = 0;
  if (code == basPublic.HassouCode) return false;
  const OneBasedList<KomInfo>& table = frmResultIn.ItemTable;
  for (int i = 1; i <= table.Count(); ++i) {
    if (table[i].KomCode == code) {
      index = static_cast<std::int16_t>(i);
      return false;
    }
  }
  return AppendItem(code, index);
}

ItemFinder::ItemFinder() {
  const OneBasedList<KomInfo>& table = frmResultIn.ItemTable;
  for (int i = 1; i <= table.Count(); ++i) index_.emplace(table[i].KomCode.raw(), static_cast<std::int16_t>(i));
}

bool ItemFinder::Known(Currency code) const {
  return code == basPublic.HassouCode || index_.count(code.raw()) != 0;
}

bool ItemFinder::FindOrAdd(Currency code, std::int16_t& index) {
  index = 0;
  if (code == basPublic.HassouCode) return false;
  auto it = index_.find(code.raw());
  if (it != index_.end()) {
    index = it->second;
    return false;
  }
  const bool added = AppendItem(code, index);
  if (index != 0) index_.emplace(code.raw(), index);
  return added;
}

}  // namespace qz
