#include "grid/entry_rules.h"

#include "judgement/dependent_groups.h"
#include "judgement/edit_permission.h"
#include "judgement/option_rows.h"
#include "judgement/overall_lock.h"
#include "judgement/required_judgements.h"

namespace qz {

EntryRuleSteps entryRuleSteps = DefaultEntryRuleSteps();

EntryRuleSteps DefaultEntryRuleSteps() {
  EntryRuleSteps s;
  s.check_edit_permission = Fnc_CheckEditPermission;
  s.check_overall_judged = Fnc_CheckOverallJudged;
  s.call_option_button = [](std::int16_t item, const std::string& value) { Sub_CallOptionButton(item, value); };
  s.update_dependent_group_from_member = Sub_UpdateDependentGroupFromMember;
  s.update_dependent_group_members = Sub_UpdateDependentGroupMembers;
  s.check_required_judgements = Fnc_CheckRequiredJudgements;
  s.update_overall_judge = Sub_UpdateOverallJudge;
  return s;
}

}  // namespace qz
