#include "loading/load_state.h"

namespace qz {

FrmResultInState frmResultIn;

void FrmResultInState::UnloadMainForm() {
  Unloaded = true;
  if (UnloadHook) UnloadHook();
}

}  // namespace qz
