#include "grid/grid_procedure.h"

#include <exception>

#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"

namespace qz {

bool RunGridProcedure(std::string_view job_text, const std::function<void()>& body) {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    ShowLoadErrorReport(job_text, e);
    return false;
  }
}

grid::Spread& ResultGrid() {
  if (frmResultIn.sprResult == nullptr) throw RunTimeError(kErrObjectRequired);
  return *frmResultIn.sprResult;
}

}  // namespace qz
