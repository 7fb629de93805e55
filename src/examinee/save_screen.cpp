#include "examinee/save_screen.h"

#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz {

FrmResultInSave frmResultInSave;

ui::Form* SaveOwnerForm() { return frmResultIn.sprResult != nullptr ? frmResultIn.sprResult->form() : nullptr; }

}  // namespace qz
