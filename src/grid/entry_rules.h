// The rules of the judgement side that the grid's entry paths ask before
// and after a change of a result: the edit permission of an item, the lock
// of an overall judgement already made, the option rows, the done-check and
// measurement class handed down a dependent group, the required judgements
// before the overall done-check, and the stamp of the overall judger.
//
// The grid calls them only through `entryRuleSteps`; the defaults are the
// judgement routines (judgement/edit_permission.h, overall_lock.h,
// option_rows.h, dependent_groups.h, required_judgements.h). Tests replace
// single steps and restore them with DefaultEntryRuleSteps(). The result
// screen's thread only.
#ifndef QZ_GRID_ENTRY_RULES_H_
#define QZ_GRID_ENTRY_RULES_H_

#include <cstdint>
#include <functional>
#include <string>

namespace qz {

struct EntryRuleSteps {
  // Whether the item on grid row `row` may be changed; shows its own
  // warning when not.
  std::function<bool(std::int32_t row)> check_edit_permission;
  // -1 when a change of item `item` is refused because the overall
  // judgement has been made (its own warning shown); 0 allowed.
  std::function<std::int16_t(std::int16_t item)> check_overall_judged;
  // Sends the keystrokes of an option row whose item and value match.
  std::function<void(std::int16_t item, const std::string& value)> call_option_button;
  // A group item received its done-check: hand it to its members.
  std::function<void(std::int16_t item)> update_dependent_group_from_member;
  // A group item's measurement class changed: hand it to its members.
  std::function<void(std::int16_t item)> update_dependent_group_members;
  // True when no required judgement is missing; else the first missing
  // item and the grid column to put the cursor on.
  std::function<bool(std::int16_t& item, std::int16_t& col)> check_required_judgements;
  // Stamps the overall judger after the overall done-check changed.
  std::function<void()> update_overall_judge;
};
extern EntryRuleSteps entryRuleSteps;

// The program's own routines.
EntryRuleSteps DefaultEntryRuleSteps();

}  // namespace qz

#endif  // QZ_GRID_ENTRY_RULES_H_
