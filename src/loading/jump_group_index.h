// Fnc_GetJumpGroupIndex: which row of the group-jump list (frmGrpJmp's
// flxGroop) stands for an input group.
//
// Column 3 of every row of the jump list holds the group's position in
// frmResultIn.InputGroups minus 1, the NgrpIndex of the group's items
// (Sub_NgrpJmpSet writes it). The result cells, the grid's judgement entry
// and the group judgement use the row found to show a group's judgement
// mark. User-interface thread only.
#ifndef QZ_LOADING_JUMP_GROUP_INDEX_H_
#define QZ_LOADING_JUMP_GROUP_INDEX_H_

#include <cstdint>

namespace qz {

// The first row (from 0) of frmGrpJmp.flxGroop whose column 3, read as a
// number, equals `group`; -1 when no row does (an empty list included). A
// run-time error shows the error report "入力グループ（ジャンプ画面）の添字
// 取得処理でエラーが発生しました。" and gives -1.
std::int16_t Fnc_GetJumpGroupIndex(std::int16_t group);

}  // namespace qz

#endif  // QZ_LOADING_JUMP_GROUP_INDEX_H_
