// The summary-findings set-up of a load: which items of the consultation
// are the summary-findings items of the settings (SougouItems), and whether
// an item is the source of a summary-findings auto-set rule.
//
// Both read the settings record (basPublic.SougouSyokenKomCode,
// basPublic.AutoSougouSyoken) and the item table; no record access. The
// result screen's thread only.
#ifndef QZ_JUDGEMENT_SUMMARY_FINDINGS_H_
#define QZ_JUDGEMENT_SUMMARY_FINDINGS_H_

#include <cstdint>

#include "loading/one_based.h"
#include "platform/text/currency.h"

namespace qz {

// Values of KomInfo::SougouDest before a destination is chosen.
inline constexpr std::int16_t kSougouNotSource = -1;   // no rule has the item as source
inline constexpr std::int16_t kSougouSourceOpen = 0;   // a source, no destination yet

// The summary-findings items of the loaded consultation: entry k
// (1..basPublic.SougouSyokenKomCode.Count) is the item-table index of the
// k-th summary item number of the settings, 0 when the consultation does not
// book it. Rebuilt by Sub_CheckSummaryFindingItem at every load; it belongs
// to the result screen (frmResultIn.SougouItems).
extern OneBasedList<std::int16_t> SougouItems;

// kSougouSourceOpen when some rule of basPublic.AutoSougouSyoken has
// `item_code` as its source item, else kSougouNotSource (also for an empty
// rule table); the value is stored as is into KomInfo::SougouDest. A
// run-time error shows the error report "総合所見自動セット項目のチェック
// 処理でエラーが発生しました。" and gives kSougouNotSource.
std::int16_t Fnc_IsSummaryAutoSetSource(Currency item_code);

// Marks every item of the item table again: its SougouDest becomes
// Fnc_IsSummaryAutoSetSource of its item number, which forgets every
// destination chosen before. Run by the screen reload that reads the
// results again. A run-time error shows the error report "総合所見自動
// セット項目の初期化処理でエラーが発生しました。" and ends the walk.
void Sub_MarkSummaryAutoSetSources();

// Rebuilds SougouItems from the sorted item table: for each summary item
// number, the first item in table order that is booked now (Past 0) with
// that number. Leaves SougouItems as it was when the settings list no
// summary item. A run-time error shows the error report "総合所見項目の
// チェック処理でエラーが発生しました。".
void Sub_CheckSummaryFindingItem();

}  // namespace qz

#endif  // QZ_JUDGEMENT_SUMMARY_FINDINGS_H_
