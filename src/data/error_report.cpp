#include "data/error_report.h"

#include "platform/runtime/run_time_error.h"
#include "platform/ui/error_report.h"

namespace qz {

void ShowErrorReport(std::string_view job_text, const std::exception& error) {
  if (const auto* e = dynamic_cast<const RunTimeError*>(&error)) {
    ui::ShowErrorReport(job_text, *e);
  } else {
    ui::ShowErrorReport(job_text, kErrInvalidCall, error.what());
  }
}

}  // namespace qz
