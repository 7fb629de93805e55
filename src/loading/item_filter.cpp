#include "loading/item_filter.h"

#include "examinee/frm_result_in.h"
#include "loading/load_state.h"

namespace qz {

DisplayChoices displayChoices;

DisplayChoices CurrentDisplayChoices() {
  if (!frmResultInForm.loaded()) return displayChoices;
  FrmResultIn& form = *frmResultInForm;
  DisplayChoices choices;
  choices.chkPastDisp = form.chkPastDisp.value() == 1;
  for (int i = kKirikaeBoth; i >= kKirikaeQuestionnaire; --i) {
    const ui::OptionButton* option = form.optKirikae[static_cast<std::size_t>(i)];
    if (option != nullptr && option->value()) choices.optKirikae = i;
  }
  return choices;
}

bool IsItemShown(const KomInfo& item) {
  const DisplayChoices choices = CurrentDisplayChoices();
  if (item.Sex != 0 && item.Sex != frmResultIn.ExamineeSex) return false;
  if (item.Past != kPastBookedNow && !choices.chkPastDisp) return false;
  if (choices.optKirikae == kKirikaeQuestionnaire && item.Monflg != 0) return false;
  if (choices.optKirikae == kKirikaeResults && item.Monflg != 1) return false;
  return true;
}

}  // namespace qz
