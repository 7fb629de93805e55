#include "tools/focus_result_grid.h"

#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/ui/form.h"

namespace qz {

void Sub_FocusResultGrid() {
  grid::Spread* grid = frmResultIn.sprResult;
  if (grid == nullptr || grid->form() == nullptr || !grid->form()->visible() || !grid->CanFocus()) return;
  grid->SetFocus();
}

}  // namespace qz
