// Shared routines of the program that work on a form's controls in a
// generic way: switching the command controls and selecting the text of the
// active input control.
//
// They trap no errors: a run-time error goes up to the calling procedure,
// which shows its own error report.
#ifndef QZ_DATA_FORM_ROUTINES_H_
#define QZ_DATA_FORM_ROUTINES_H_

#include "platform/ui/form.h"

namespace qz {

// Sets Enabled of every control of `form` whose name begins exactly
// (case-sensitive) with "cmd" or "chk" to `enabled`; other controls are left
// alone.
void Sub_EnableCommandControls(ui::Form& form, bool enabled);

// When the form's active control is a "txt" or "cbo" control, selects its
// whole text (SelStart 0, SelLength = its length), so that typing replaces
// it. Otherwise nothing.
void Sub_SelectActiveText(ui::Form& form);

}  // namespace qz

#endif  // QZ_DATA_FORM_ROUTINES_H_
