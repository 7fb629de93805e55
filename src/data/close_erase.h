// Sub_CloseErase: removes the Close item from a window's system menu, which
// also refuses its close box.
#ifndef QZ_DATA_CLOSE_ERASE_H_
#define QZ_DATA_CLOSE_ERASE_H_

#include "platform/ui/form.h"

namespace qz {

// Deletes the items at positions 6, 5 and 4 of the form's system menu, in
// this order, by position (in a standard menu: Close, the separator above it
// and Maximize). Positions the menu no longer has are skipped, so a second
// call changes nothing. A run-time error shows the error report
// "閉じるボタンの消去処理でエラーが発生しました。" (critical, the program's
// title) and the routine returns normally.
void Sub_CloseErase(ui::Form& form);

}  // namespace qz

#endif  // QZ_DATA_CLOSE_ERASE_H_
