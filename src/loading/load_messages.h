// The messages of the consultation-loading steps: warnings (exclamation
// icon, OK, title "結果入力") and the error report of a step that caught a
// run-time error (critical icon, title "結果入力").
//
// A record-manager failure ends its warning with a line "ステータス : " and
// the status, worded by each step. Needs the program's shell (msgbox.h).
#ifndef QZ_LOADING_LOAD_MESSAGES_H_
#define QZ_LOADING_LOAD_MESSAGES_H_

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace qz {

// The title of every message of the result screen.
inline constexpr std::string_view kResultScreenTitle = "結果入力";
// The line separator of message texts.
inline constexpr std::string_view kCrLf = "\r\n";

// Shows `text` as a warning of the result screen.
void ShowLoadWarning(std::string_view text);

// Shows `text` in a plain message box (no icon) of the result screen.
void ShowLoadNotice(std::string_view text);

// Shows the error report for `error` with the job text `job_text`. A
// RunTimeError gives its number and description; any other exception is
// reported as error 5 with its what() text.
void ShowLoadErrorReport(std::string_view job_text, const std::exception& error);

// Shows `text` as a warning, unloads the result screen
// (frmResultIn.UnloadMainForm) and returns false: the end of a load.
bool FailLoad(std::string_view text);

// "ステータス : " and `status`, the last line of a read failure.
std::string StatusText(int status);

// Runs one loading step: returns what `body` returns (whether the load goes
// on). A std::exception escaping `body` shows the error report with
// `job_text` and gives true: the step ends there and the load goes on.
bool RunLoadStep(std::string_view job_text, const std::function<bool()>& body);

}  // namespace qz

#endif  // QZ_LOADING_LOAD_MESSAGES_H_
