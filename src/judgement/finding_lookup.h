// The findings of a typed code and the check that a finding was picked from
// its list: the two findings-master checks of an entered finding.
//
// Fnc_LookupFindingCode reads the findings master by typed code through
// basFileAccess.QZSYO2LFObj (key CODE, RCODE); Fnc_CheckFindingPickedFromList
// reads the result grid frmResultIn.sprResult and the findings lists of the
// loaded consultation (frmResultIn.SyoComboLists). Used by the Enter
// processing and the grid's edit events. The result screen's thread only.
#ifndef QZ_JUDGEMENT_FINDING_LOOKUP_H_
#define QZ_JUDGEMENT_FINDING_LOOKUP_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/currency.h"

namespace qz {

// Looks up the code `typed` among the findings of type `finding_type`. The
// outputs are reset first (0, "", 0).
//
// Returns true when the code names an ordinary finding: `code_number` (its
// SCODE), `finding` (its trimmed SYKN) and `judgement` (KHANTEI) are set. A
// heading row warns "タイトル用所見は選択できません。"; an unknown code
// warns "コード「<typed>」は所見マスタに登録されていません。"; any other read
// failure warns "所見マスタの読み込みに失敗しました。" with the finding type
// and the status (the action is refused, the screen stays); a run-time
// error shows the error report "所見マスタの読み込み処理でエラーが発生しま
// した。". Each returns false.
bool Fnc_LookupFindingCode(Currency finding_type, std::string_view typed, std::int32_t& code_number,
                           std::string& finding, std::int16_t& judgement);

// Results of Fnc_CheckFindingPickedFromList.
inline constexpr std::int16_t kPickedFromList = 0;
inline constexpr std::int16_t kNotPickedFromList = 1;  // refused, message shown
inline constexpr std::int16_t kPickNotConcerned = 9;

// For the item on grid row `row`: kPickedFromList when its result-cell text
// is an entry of its findings list; kNotPickedFromList after the warning
// "「<item name>」は" CR LF "リストから選択して下さい。" when it is not;
// kPickNotConcerned when the result cell of the active row is no list cell,
// the text is blank, the item is not one of basPublic.ListHissuKomCode, or
// a run-time error occurred (its error report "所見の選択必須チェック処理で
// エラーが発生しました。" shown). A text longer than 11 characters whose last
// 8 are digits (a list entry's code suffix) is compared without its last 11
// characters; trailing blanks never count.
std::int16_t Fnc_CheckFindingPickedFromList(std::int32_t row);

}  // namespace qz

#endif  // QZ_JUDGEMENT_FINDING_LOOKUP_H_
