// The program's error report: the message box each procedure's handler
// shows when it catches a run-time error.
//
//   <job text>                 e.g. "グループ選択ボタンのクリック処理でエラーが発生しました。"
//   エラー番号 : <number>
//   エラー内容 : <description>
//   ステータス : <status>      (record-manager failures only)
//
// Lines are separated by "\r\n". The job text is passed whole, as each
// procedure words it (most end in "でエラーが発生しました。"; a few carry no
// final "。"). Free functions; they need the current shell (msgbox.h).
#ifndef QZ_PLATFORM_UI_ERROR_REPORT_H_
#define QZ_PLATFORM_UI_ERROR_REPORT_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/run_time_error.h"
#include "platform/ui/msgbox.h"

namespace qz::ui {

// "<what>でエラーが発生しました。"
std::string JobText(std::string_view what);

// The report's text.
std::string ErrorReportText(std::string_view job_text, int number, std::string_view description,
                            std::optional<int> status = std::nullopt);
std::string ErrorReportText(std::string_view job_text, const RunTimeError& error,
                            std::optional<int> status = std::nullopt);

// Shows the report (OK button) with `icon` and `title`; an empty title is
// the program's title (App().title).
void ShowErrorReport(std::string_view job_text, const RunTimeError& error,
                     MsgIcon icon = MsgIcon::kCritical, std::string_view title = {},
                     std::optional<int> status = std::nullopt);
void ShowErrorReport(std::string_view job_text, int number, std::string_view description,
                     MsgIcon icon = MsgIcon::kCritical, std::string_view title = {},
                     std::optional<int> status = std::nullopt);

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_ERROR_REPORT_H_
