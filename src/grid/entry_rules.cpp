#include "grid/entry_rules.h"

#include "grid/item_row_map.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {

EntryRuleSteps entryRuleSteps = DefaultEntryRuleSteps();

bool DefaultEditPermission(std::int32_t row) {
  const std::int16_t item = Fnc_RowToItem(row);
  if (item <= 0) return false;
  const KomInfo& k = frmResultIn.ItemTable[item];
  if (k.Editable) return true;
  ShowLoadWarning("「" + k.KomName + "」の" + std::string(kCrLf) + "入力ご担当者に連絡して下さい。");
  return false;
}

std::int16_t DefaultOverallJudgedCheck(std::int16_t item) {
  const std::int16_t overall = frmResultIn.OverallItem;
  if (overall == 0 || frmResultIn.SouChk != "1" || item == overall) return 0;
  if (frmResultIn.ResultMatrix(overall, 0).Hekbn == 0) return 0;
  ShowLoadWarning("総合判定済みのため変更できません。");
  return -1;
}

EntryRuleSteps DefaultEntryRuleSteps() {
  EntryRuleSteps s;
  s.check_edit_permission = DefaultEditPermission;
  s.check_overall_judged = DefaultOverallJudgedCheck;
  s.call_option_button = [](std::int16_t, const std::string&) {};
  s.update_dependent_group_from_member = [](std::int16_t) {};
  s.update_dependent_group_members = [](std::int16_t) {};
  s.check_required_judgements = [](std::int16_t& item, std::int16_t& col) {
    item = 0;
    col = 0;
    return true;
  };
  s.update_overall_judge = [] {};
  return s;
}

}  // namespace qz
