#include "data/error_report.h"

#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"

namespace qz {

std::string ErrorReportText(std::string_view job_text, int number, std::string_view description) {
  std::string text(job_text);
  text += "\r\nエラー番号 : ";
  text += std::to_string(number);
  text += "\r\nエラー内容 : ";
  text += description;
  return text;
}

void ShowErrorReport(std::string_view job_text, const std::exception& error) {
  std::string text;
  if (const auto* e = dynamic_cast<const RunTimeError*>(&error)) {
    text = ErrorReportText(job_text, e->number(), e->description());
  } else {
    text = ErrorReportText(job_text, kErrInvalidCall, error.what());
  }
  ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kCritical, App().title);
}

}  // namespace qz
