#include "grid/done_check.h"

#include "examinee/bas_public.h"
#include "grid/entry_rules.h"
#include "grid/entry_writes.h"
#include "grid/group_label.h"
#include "grid/item_row_map.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {

bool Fnc_MayCheck(std::int16_t item, std::int32_t row, CheckRefusal how) {
  const bool tell = how == CheckRefusal::kTell;
  const KomInfo& k = frmResultIn.ItemTable[item];
  const KekkaData& r = frmResultIn.ResultMatrix(item, 0);
  if (InCodeList(basPublic.KekkaKomCode, k.KomCode) &&
      (r.Sokutei == kSokuteiNotPerformed || (r.Sokutei == kSokuteiNone && ResultContentEmpty(item)))) {
    if (tell) {
      ShowLoadNotice("結果値が未入力のためチェックできません。");
      MoveActiveTo(basPublic.ResultCol, row);
    }
    return false;
  }
  if (k.Ksyub == kKsyubGroupJudgement && frmResultIn.SouChk == "1" &&
      ((r.Sokutei == kSokuteiNone && r.Han == 0) || r.Sokutei == kSokuteiNotPerformed)) {
    if (tell) ShowLoadNotice("判定値が未入力です");
    return false;
  }
  if (basPublic.SougouChk != 0 && item == frmResultIn.OverallItem) {
    std::int16_t missing = 0;
    std::int16_t col = 0;
    if (!entryRuleSteps.check_required_judgements(missing, col) && missing > 0) {
      if (tell) {
        ShowLoadNotice("「" + frmResultIn.ItemTable[missing].KomName + "」 が未入力です。");
        const std::int16_t line = Fnc_FindItemRow(missing);
        if (line != 0) MoveActiveTo(col, Fnc_ItemToRow(line));
      }
      return false;
    }
  }
  return true;
}

void Sub_DoneCheckChanged(std::int16_t item) {
  if (item != frmResultIn.OverallItem) return;
  Sub_EditGroupLabel();
  entryRuleSteps.update_overall_judge();
}

}  // namespace qz
