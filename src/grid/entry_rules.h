// The rules of the judgement side that the grid's entry paths ask before
// and after a change of a result: the edit permission of an item, the lock
// of an overall judgement already made, the option rows, the done-check and
// measurement class handed down a dependent group, the required judgements
// before the overall done-check, and the redraw of the overall judgement.
//
// The grid calls them only through `entryRuleSteps`, so the module that
// owns a rule installs its routine there once it exists. The defaults are
// the least forms: the edit permission and the overall-judgement lock as
// the screen applies them, the others without effect (nothing missing,
// nothing handed down). Tests replace single steps. The result screen's
// thread only.
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
  // Redraws the overall judgement after its done-check changed.
  std::function<void()> update_overall_judge;
};
extern EntryRuleSteps entryRuleSteps;

// The steps the program starts with (see above).
EntryRuleSteps DefaultEntryRuleSteps();

// The least edit permission: true when the item of `row` is editable by
// the logged-on user; otherwise the warning "「<name>」の" CR LF
// "入力ご担当者に連絡して下さい。" and false.
bool DefaultEditPermission(std::int32_t row);

// The least overall-judgement lock: 0 when the consultation has no overall
// item, frmResultIn.SouChk is not "1" or `item` is the overall item; else
// -1 after the warning "総合判定済みのため変更できません。" when the overall
// item is done-checked, 0 when it is not.
std::int16_t DefaultOverallJudgedCheck(std::int16_t item);

}  // namespace qz

#endif  // QZ_GRID_ENTRY_RULES_H_
