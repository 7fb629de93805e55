#include "loading/jump_group_index.h"

#include <exception>

#include "loading/group_forms.h"
#include "loading/load_messages.h"
#include "platform/text/vb.h"

namespace qz {

namespace {

// The column of the jump list that holds the group's NgrpIndex.
constexpr int kGroupIndexCol = 3;

}  // namespace

std::int16_t Fnc_GetJumpGroupIndex(std::int16_t group) {
  try {
    const grid::ListGrid& list = frmGrpJmp->flxGroop;
    for (int i = 0; i < list.rows(); ++i) {
      if (vb::Val(list.TextMatrix(i, kGroupIndexCol)) == group) return static_cast<std::int16_t>(i);
    }
  } catch (const std::exception& e) {
    ShowLoadErrorReport("入力グループ（ジャンプ画面）の添字取得処理でエラーが発生しました。", e);
  }
  return -1;
}

}  // namespace qz
