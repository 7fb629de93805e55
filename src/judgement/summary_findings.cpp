#include "judgement/summary_findings.h"

#include <cstddef>
#include <exception>

#include "examinee/bas_public.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {

OneBasedList<std::int16_t> SougouItems;

namespace {

// Entry `k` (1..Count) of a counted array of the settings.
template <typename T>
const T& CountedItem(const CountedArray<T>& list, int k) {
  return list.Items.at(static_cast<std::size_t>(k));
}

std::int16_t SourceMark(Currency item_code) {
  const CountedArray<SougouRule>& rules = basPublic.AutoSougouSyoken;
  for (int r = 1; r <= rules.Count; ++r) {
    if (CountedItem(rules, r).KomCode == item_code) return kSougouSourceOpen;
  }
  return kSougouNotSource;
}

void FindSummaryItems() {
  const CodeList& codes = basPublic.SougouSyokenKomCode;
  if (codes.Count == 0) return;
  SougouItems.Clear();
  for (int k = 1; k <= codes.Count; ++k) {
    const Currency code = CountedItem(codes, k);
    std::int16_t found = 0;
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      const KomInfo& item = frmResultIn.ItemTable[i];
      if (item.Past == kPastBookedNow && item.KomCode == code) {
        found = static_cast<std::int16_t>(i);
        break;
      }
    }
    SougouItems.Append(found);
  }
}

}  // namespace

std::int16_t Fnc_IsSummaryAutoSetSource(Currency item_code) {
  try {
    return SourceMark(item_code);
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合所見自動セット項目のチェック処理でエラーが発生しました。", e);
    return kSougouNotSource;
  }
}

void Sub_MarkSummaryAutoSetSources() {
  try {
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      KomInfo& item = frmResultIn.ItemTable[i];
      item.SougouDest = Fnc_IsSummaryAutoSetSource(item.KomCode);
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合所見自動セット項目の初期化処理でエラーが発生しました。", e);
  }
}

void Sub_CheckSummaryFindingItem() {
  try {
    FindSummaryItems();
  } catch (const std::exception& e) {
    ShowLoadErrorReport("総合所見項目のチェック処理でエラーが発生しました。", e);
  }
}

}  // namespace qz
