// The error report of the program's procedures: a critical message box
// whose text is "<job>", a line break, "エラー番号 : " and the error number,
// a line break, "エラー内容 : " and the description; its caption is the
// application's title (App().title). Callers pass the job text exactly as
// they show it ("...でエラーが発生しました。").
#ifndef QZ_DATA_ERROR_REPORT_H_
#define QZ_DATA_ERROR_REPORT_H_

#include <exception>
#include <string>
#include <string_view>

namespace qz {

// The text of the report.
std::string ErrorReportText(std::string_view job_text, int number, std::string_view description);

// Shows the report for the exception being handled: a RunTimeError gives
// its number and description; any other exception is reported as the
// runtime's error 5 with its what() text.
void ShowErrorReport(std::string_view job_text, const std::exception& error);

}  // namespace qz

#endif  // QZ_DATA_ERROR_REPORT_H_
