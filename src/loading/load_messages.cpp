#include "loading/load_messages.h"

#include "loading/load_state.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"

namespace qz {

void ShowLoadWarning(std::string_view text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, kResultScreenTitle);
}

void ShowLoadNotice(std::string_view text) {
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kNone, kResultScreenTitle);
}

void ShowLoadErrorReport(std::string_view job_text, const std::exception& error) {
  if (const auto* rte = dynamic_cast<const RunTimeError*>(&error)) {
    ui::ShowErrorReport(job_text, *rte, ui::MsgIcon::kCritical, kResultScreenTitle);
  } else {
    ui::ShowErrorReport(job_text, kErrInvalidCall, error.what(), ui::MsgIcon::kCritical,
                        kResultScreenTitle);
  }
}

bool FailLoad(std::string_view text) {
  ShowLoadWarning(text);
  frmResultIn.UnloadMainForm();
  return false;
}

std::string StatusText(int status) { return "ステータス : " + std::to_string(status); }

bool RunLoadStep(std::string_view job_text, const std::function<bool()>& body) {
  try {
    return body();
  } catch (const std::exception& e) {
    ShowLoadErrorReport(job_text, e);
    return true;
  }
}

}  // namespace qz
