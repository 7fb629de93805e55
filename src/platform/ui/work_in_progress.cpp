#include "platform/ui/work_in_progress.h"

#include "platform/ui/shell.h"

namespace qz::ui {

WorkInProgress::WorkInProgress() : shell_(Shell::Current()) {
  if (shell_ != nullptr) shell_->BeginWork();
}

WorkInProgress::~WorkInProgress() {
  // The shell of the work, if it is still the current one (a test may end
  // its shell while a step unwinds).
  if (shell_ != nullptr && shell_ == Shell::Current()) shell_->EndWork();
}

}  // namespace qz::ui
