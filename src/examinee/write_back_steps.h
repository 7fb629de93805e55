// Internal to the write-back (update_masters.h): the three steps with their
// outcome, so that the driver can abort its transaction before the main
// form is unloaded.
#ifndef QZ_EXAMINEE_WRITE_BACK_STEPS_H_
#define QZ_EXAMINEE_WRITE_BACK_STEPS_H_

#include <exception>
#include <string>
#include <string_view>

#include "tools/delete_results_log.h"

namespace qz::writeback {

enum class Step {
  kWritten,  // the step did its writes
  kFailed,   // its message has been shown; the step wrote nothing further
  kUnload,   // a record-manager failure: its warning shown, the main form must go
};

// Each step shows its own messages and never unloads the main form.
Step UpdateExamineeMaster();
// `deletion` receives the deletion this step ran with its log, if any.
Step UpdateConsultHistory(std::string_view file_name, DeleteResultsOutcome& deletion);
Step UpdateExamResults(std::string_view file_name);

// A warning of the write-back: exclamation icon, title "結果入力".
// Held while a MessageHold is in force.
void Warn(const std::string& text);
// The error report of a step that caught `error` (ShowLoadErrorReport),
// held like Warn.
void ReportError(std::string_view job_text, const std::exception& error);

// While a save's transaction is open, its messages wait: a box the operator
// leaves standing must not keep the files locked against every other
// terminal. Release shows the held messages in order; a hold dropped
// without Release (the program ends while a step yields) shows nothing.
// One hold at a time; user-interface thread only.
class MessageHold {
 public:
  MessageHold();
  ~MessageHold();
  MessageHold(const MessageHold&) = delete;
  MessageHold& operator=(const MessageHold&) = delete;

  // Ends the hold and shows what was held.
  void Release();
};
// "<what>" CRLF "受診者番号 : <examinee>" CRLF "ステータス : <status>".
std::string StatusWarning(std::string_view what, int status);
// Ends a step: unloads the main form after kUnload.
void Finish(Step step);

}  // namespace qz::writeback

#endif  // QZ_EXAMINEE_WRITE_BACK_STEPS_H_
