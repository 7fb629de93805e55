// Which items of the item table the result screen shows: the examinee's
// sex, the "全検査項目表示" check box (chkPastDisp) and the display-mode
// option buttons (optKirikae). The input-group list and the item rows apply
// the same filter, so their groups agree.
//
// The check box and the option buttons belong to the main form: while it is
// loaded the filter reads them, as the operator (or the load, from [SysInfo]
// PastDisp and Kirikae) left them. Without a loaded main form (a bed that
// builds the tables alone) it reads `displayChoices`. The result screen's
// thread only.
#ifndef QZ_LOADING_ITEM_FILTER_H_
#define QZ_LOADING_ITEM_FILTER_H_

#include <cstdint>

#include "loading/consult_records.h"

namespace qz {

// The option buttons of the display mode.
inline constexpr int kKirikaeQuestionnaire = 0;  // "問診表示": items with MONFLG 0
inline constexpr int kKirikaeResults = 1;        // "結果表示": items with MONFLG 1
inline constexpr int kKirikaeBoth = 2;           // "問診＋結果表示": all

struct DisplayChoices {
  bool chkPastDisp = false;               // ticked: items booked only earlier shown too
  int optKirikae = kKirikaeQuestionnaire;  // the selected option button, kKirikae*
};

// The choices used while no main form is loaded.
extern DisplayChoices displayChoices;

// The choices in force: the main form's check box (ticked = value 1) and
// the first option button that is set (none set: the first), or
// displayChoices without a loaded main form.
DisplayChoices CurrentDisplayChoices();

// True when `item` is shown: its sex class is 0 or the examinee's
// (frmResultIn.ExamineeSex), it is booked now or chkPastDisp is ticked, and
// its MONFLG fits the selected display mode.
bool IsItemShown(const KomInfo& item);

}  // namespace qz

#endif  // QZ_LOADING_ITEM_FILTER_H_
