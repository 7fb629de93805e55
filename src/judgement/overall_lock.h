// The guard of the overall judgement: once the overall-judgement item
// (frmResultIn.OverallItem) is done-checked and the settings master asks for
// the lock (frmResultIn.SouChk "1"), other items may no longer be changed;
// and the stamp of the overall-judger item (basPublic.HanteiCode) when the
// overall judgement is confirmed.
//
// Called by the grid's Enter processing, list changes and done-check clicks
// before they change an item. The result screen's thread only.
#ifndef QZ_JUDGEMENT_OVERALL_LOCK_H_
#define QZ_JUDGEMENT_OVERALL_LOCK_H_

#include <cstdint>

namespace qz {

// Results of Fnc_CheckOverallJudged.
inline constexpr std::int16_t kOverallChangeAllowed = 0;
inline constexpr std::int16_t kOverallChangeRefused = -1;  // message shown

// Whether item `item` (an item-table index) may be changed. Allowed when
// the consultation has no overall item, when the lock is off (SouChk not
// "1") or when `item` is the overall item itself. Otherwise, when the
// overall item's current result is done-checked, warns "総合判定済みのため
// 変更できません。" and refuses. A run-time error shows the error report
// "総合判定済みチェック処理でエラーが発生しました。" and allows.
std::int16_t Fnc_CheckOverallJudged(std::int16_t item);

// Whether the lock above holds for `item`, without a message: for the
// changes the program makes by itself (the automatic done-check), which
// leave a locked item alone rather than warn.
bool OverallLockHolds(std::int16_t item);

// Stamps the overall-judger item: the first item of the table numbered
// basPublic.HanteiCode gets, in its current result, the logged-on user and
// the present date and time (its value is not changed). When it is on the
// screen its result cell shows the logged-on user's name
// (basPublic.UserName), its updater cell the trimmed name of the user and
// its update-time cell the item's last-write text. Nothing when HanteiCode
// is 0 or no item has that number. A run-time error shows the error report
// "総合判定者の更新処理でエラーが発生しました。".
void Sub_UpdateOverallJudge();

}  // namespace qz

#endif  // QZ_JUDGEMENT_OVERALL_LOCK_H_
