#include "loading/item_filter.h"

#include "loading/load_state.h"

namespace qz {

DisplayChoices displayChoices;

bool IsItemShown(const KomInfo& item) {
  if (item.Sex != 0 && item.Sex != frmResultIn.ExamineeSex) return false;
  if (item.Past != kPastBookedNow && !displayChoices.chkPastDisp) return false;
  if (displayChoices.optKirikae == kKirikaeQuestionnaire && item.Monflg != 0) return false;
  if (displayChoices.optKirikae == kKirikaeResults && item.Monflg != 1) return false;
  return true;
}

}  // namespace qz
