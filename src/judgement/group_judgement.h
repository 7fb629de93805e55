// Sub_JudgeGroup: the group and overall judgement after an item's result or
// judgement changed.
//
// Decision groups 1..998 (KomInfo::Hgrp) may each have a group item in the
// consultation (frmResultIn.GroupItems); its judgement is the most severe
// judgement of the group's members, severity being the rank that
// basPublic.HanSort gives each code (a higher rank is more severe, rank 0
// never wins, on equal rank the lower item index wins). The overall item
// (entry 999 of GroupItems) takes the most severe judgement of the group
// items that are members of group 999, leaving out the codes of
// basPublic.AutoSougouOut; it is recomputed from 0 on every call.
//
// Works on column 0 of frmResultIn.ResultMatrix, the grid frmResultIn.
// sprResult, the status label of the main form and, when
// basPublic.UserDspKbn is 1, the group-jump list frmGrpJmp.flxGroop. The
// result screen's thread only.
#ifndef QZ_JUDGEMENT_GROUP_JUDGEMENT_H_
#define QZ_JUDGEMENT_GROUP_JUDGEMENT_H_

#include <cstdint>

namespace qz {

// Values of Sub_JudgeGroup's mode and force.
inline constexpr std::int16_t kJudgeModeEntry = 0;      // the operator or a calculation changed it
inline constexpr std::int16_t kJudgeModeExternal = -1;  // the external automatic judgement did
inline constexpr std::int16_t kJudgeForceNo = 0;
inline constexpr std::int16_t kJudgeForceYes = -1;      // also update done-checked group items

// Recomputes the groups of item `item` (an item-table index) and then the
// overall judgement.
//
// Nothing happens when the item's first group is 0. With mode
// kJudgeModeExternal an item of kind 4 also recomputes the group its number
// ends in. A group item that is past-only is passed over; a missing one
// only shows "  受診項目に「 9999999ggg 」が登録されていません" in the status
// label (the last such group wins); a done-checked one keeps its judgement
// unless `force` is kJudgeForceYes. A group item whose judgement changes
// (or whose measurement class is set, or with force) is stamped and, when
// on the screen, redrawn (result and judgement cells, colours, stamp cells,
// the group-jump mark) and followed by its judgement finding and summary
// auto-set; the item the operator changed itself (mode kJudgeModeEntry)
// keeps its judgement. The overall item is recomputed unless the consultation
// has none, `item` is the overall item, or it is done-checked; it is always
// stamped and, on the screen, redrawn; its judgement finding follows unless
// `item` is the item that receives it. A judgement without a mark warns
// "判定変換に失敗しました。" with the code and the item name ("総合判定"
// for the overall item) and ends the call; what was written stays. A
// run-time error shows the error report "グループ判定処理でエラーが発生しま
// した。".
void Sub_JudgeGroup(std::int16_t item, std::int16_t mode, std::int16_t force);

// Whether item `item` (an item-table index) is the group item of one of the
// decision groups 1..998 of the loaded consultation: a judgement set on it,
// whatever its automatic-judgement class, is followed by Sub_JudgeGroup, so
// that the overall judgement takes it.
bool Fnc_IsGroupItem(std::int16_t item);

}  // namespace qz

#endif  // QZ_JUDGEMENT_GROUP_JUDGEMENT_H_
