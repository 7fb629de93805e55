// The check that must pass before the examinee's done-check is accepted:
// the first item, in item-table order, whose required judgement or result
// is missing.
//
// Reads the settings basPublic.SougouChk, SougouChkOut, HissuKomCode and
// HissuGrpKomCode (whose FoundItem and flags it rewrites) and the current
// results. The caller shows its own message and moves the cursor. The
// result screen's thread only.
#ifndef QZ_JUDGEMENT_REQUIRED_JUDGEMENTS_H_
#define QZ_JUDGEMENT_REQUIRED_JUDGEMENTS_H_

#include <cstdint>

namespace qz {

// True, `item` and `col` 0, when nothing is missing. Otherwise false with
// `item` the item-table index of the first failing item and `col` the grid
// column to put the cursor on (basPublic.ResultCol or ChkCol). Items not
// booked now are skipped. In table order:
// - the overall item needs a judgement and a class other than "(未実施)";
// - another group item not in SougouChkOut: unchecked, it fails on the
//   result column without judgement or with "(未実施)", else on the
//   done-check column; checked, with SougouChk 2 and a class other than
//   "(測定不能)", it fails without judgement or with "(未実施)";
// - another item in HissuKomCode fails without done-check, with
//   "(未実施)", or with no class and a blank value (finding text for
//   findings items);
// - other items fill the one-of-group lists that name them.
// Then the first one-of-group list that names an item of the consultation
// but has none of them entered (content and a class other than "(未実施)"
// and "(測定不能)") fails with its last such item. A run-time error shows the
// error report "判定のチェック処理でエラーが発生しました。" and gives false.
bool Fnc_CheckRequiredJudgements(std::int16_t& item, std::int16_t& col);

}  // namespace qz

#endif  // QZ_JUDGEMENT_REQUIRED_JUDGEMENTS_H_
