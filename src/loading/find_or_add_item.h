// Fnc_FindOrAddItem: the one way records enter the item table of the result
// screen (frmResultIn.ItemTable).
#ifndef QZ_LOADING_FIND_OR_ADD_ITEM_H_
#define QZ_LOADING_FIND_OR_ADD_ITEM_H_

#include <cstdint>
#include <unordered_map>

#include "platform/text/currency.h"

namespace qz {

// Finds item number `code` in frmResultIn.ItemTable or appends a record for
// it (only KomCode set, every other field zero or empty).
//
// Returns true only when a record was appended. `index` is the item's
// position (1-based), or 0 when `code` is basPublic.HassouCode (the
// dispatch-date item is never in the table) or the table already holds
// kMaxItemCount records; the latter shows the error report "検査項目の格納
// 処理でエラーが発生しました。" (overflow) and leaves the table as it was.
bool Fnc_FindOrAddItem(Currency code, std::int16_t& index);

// Fnc_FindOrAddItem for a loading step that looks up many items: the same
// answers and the same appends and reports, with a lookup by number instead
// of a walk over the table. Valid while the item table changes only through
// it (within one loading step). Not copyable.
class ItemFinder {
 public:
  // Indexes frmResultIn.ItemTable as it is now.
  ItemFinder();
  ItemFinder(const ItemFinder&) = delete;
  ItemFinder& operator=(const ItemFinder&) = delete;

  // As Fnc_FindOrAddItem(code, index).
  bool FindOrAdd(Currency code, std::int16_t& index);
  // Whether FindOrAdd of `code` would append or report nothing: the item is
  // in the table, or is the dispatch-date item that never is.
  bool Known(Currency code) const;

 private:
  std::unordered_map<std::int64_t, std::int16_t> index_;  // item number (raw) -> position
};

}  // namespace qz

#endif  // QZ_LOADING_FIND_OR_ADD_ITEM_H_
