#include "loading/input_groups.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "examinee/bas_public.h"
#include "loading/group_forms.h"
#include "loading/item_filter.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "loading/user_groups.h"

namespace qz {

namespace {

bool BuildInputGroupList() {
  frmResultIn.InputGroups.Clear();
  std::int32_t previous = 0;
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    KomInfo& item = frmResultIn.ItemTable[i];
    if (!IsItemShown(item)) continue;
    if (item.Ngrp != previous) {
      frmResultIn.InputGroups.Append(NgrpInfo{item.Ngrp, "", static_cast<std::int16_t>(i)});
      previous = item.Ngrp;
    }
    item.NgrpIndex = static_cast<std::int16_t>(frmResultIn.InputGroupCount() - 1);
  }
  return true;
}

bool SetGroupSelectList() {
  grid::ListGrid& list = frmGrpSel->flxGroop;
  list.SetRows(0);
  for (int c = 1; c <= frmResultIn.InputGroupCount(); ++c) {
    const NgrpInfo& group = frmResultIn.InputGroups[c];
    list.AddItem("");
    list.SetTextMatrix(c - 1, 0, group.Name);
    const bool selected = basPublic.UserDspKbn == 1 || IsUserInputGroup(group.Ngrp);
    list.SetCellBackColorAt(c - 1, 0, selected ? NgrpSelectColor() : NgrpDefaultColor());
  }
  list.SetColWidth(0, 4000);
  return true;
}

bool NgrpJmpSet() {
  frmGrpJmp->Hide();
  frmResultIn.JumpStartRow = 0;
  grid::ListGrid& select = frmGrpSel->flxGroop;
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  jump.SetRows(0);
  int row = 0;
  for (int c = 1; c <= frmResultIn.InputGroupCount(); ++c) {
    if (select.CellBackColorAt(c - 1, 0) != NgrpSelectColor()) continue;
    const NgrpInfo& group = frmResultIn.InputGroups[c];
    jump.AddItem("");
    jump.SetTextMatrix(row, 0, group.Name);
    jump.SetTextMatrix(row, 3, std::to_string(c - 1));
    if (group.Ngrp == basPublic.UserFirstGroup) {
      jump.SetCellBackColorAt(row, 0, NgrpSelectColor());
      frmResultIn.JumpStartRow = static_cast<std::int16_t>(row);
    }
    ++row;
  }
  int name_width = 3000;
  if (basPublic.UserDspKbn == 1) {
    const double fitting_rows = static_cast<double>(jump.height) / kJumpRowTwips;
    name_width = fitting_rows > jump.rows() ? 2500 : 2200;
  }
  jump.SetColWidth(0, name_width);
  jump.SetColWidth(1, 0);
  jump.SetColWidth(2, 300);
  jump.SetColWidth(3, 0);
  return true;
}

}  // namespace

bool Sub_BuildInputGroupList() {
  return RunLoadStep("入力グループ情報の表示処理でエラーが発生しました。", BuildInputGroupList);
}

bool Sub_SetGroupSelectList() {
  return RunLoadStep("入力グループ（選択画面）のセット処理でエラーが発生しました。", SetGroupSelectList);
}

bool Sub_NgrpJmpSet() {
  return RunLoadStep("入力グループ（ジャンプ画面）のセット処理でエラーが発生しました。", NgrpJmpSet);
}

}  // namespace qz
