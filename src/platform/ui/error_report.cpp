#include "platform/ui/error_report.h"

#include <string>

namespace qz::ui {

std::string JobText(std::string_view what) { return std::string(what) + "でエラーが発生しました。"; }

std::string ErrorReportText(std::string_view job_text, int number, std::string_view description,
                            std::optional<int> status) {
  std::string text(job_text);
  text += "\r\nエラー番号 : " + std::to_string(number);
  text += "\r\nエラー内容 : ";
  text += description;
  if (status) text += "\r\nステータス : " + std::to_string(*status);
  return text;
}

std::string ErrorReportText(std::string_view job_text, const RunTimeError& error, std::optional<int> status) {
  return ErrorReportText(job_text, error.number(), error.description(), status);
}

void ShowErrorReport(std::string_view job_text, int number, std::string_view description, MsgIcon icon,
                     std::string_view title, std::optional<int> status) {
  // An empty title is the program's own (the shell fills it in).
  MsgBox(ErrorReportText(job_text, number, description, status), MsgButtons::kOk, icon, title);
}

void ShowErrorReport(std::string_view job_text, const RunTimeError& error, MsgIcon icon, std::string_view title,
                     std::optional<int> status) {
  ShowErrorReport(job_text, error.number(), error.description(), icon, title, status);
}

}  // namespace qz::ui
