// The error report for whatever a procedure's handler caught: a
// RunTimeError is reported with its number and description; any other
// exception as the runtime's error 5 with its text. Critical icon, the
// application's title as caption (ui/error_report.h shows it).
#ifndef QZ_DATA_ERROR_REPORT_H_
#define QZ_DATA_ERROR_REPORT_H_

#include <exception>
#include <string_view>

namespace qz {

void ShowErrorReport(std::string_view job_text, const std::exception& error);

}  // namespace qz

#endif  // QZ_DATA_ERROR_REPORT_H_
