// Internal to the write-back (update_masters.h): the three steps with their
// outcome, so that the driver can roll its transaction back before any
// message of a failure is shown.
#ifndef QZ_EXAMINEE_WRITE_BACK_STEPS_H_
#define QZ_EXAMINEE_WRITE_BACK_STEPS_H_

#include <exception>
#include <string>
#include <string_view>

#include "platform/record/btr_access.h"
#include "tools/delete_results_log.h"

namespace qz::writeback {

enum class Step {
  kWritten,  // the step did its writes
  kFailed,   // its message has been given; the step wrote nothing further
};

// Each step gives its own messages (kept back while the driver's
// ui::MessageHold is in force).
Step UpdateExamineeMaster();
// `deletion` receives the deletion this step ran with its log, if any.
Step UpdateConsultHistory(std::string_view file_name, DeleteResultsOutcome& deletion);
Step UpdateExamResults(std::string_view file_name);

// A warning of the write-back: exclamation icon, title "結果入力".
void Warn(const std::string& text);
// The error report of a step that caught `error` (ShowLoadErrorReport).
void ReportError(std::string_view job_text, const std::exception& error);

// "<what>" CRLF "受診者番号 : <examinee>" CRLF "ステータス : <status>"; for
// the busy status (another terminal wrote the files for longer than the
// wait) followed by a blank line and "他の端末がデータを書き込み中です。" /
// "しばらくしてから、もう一度保存してください。".
std::string StatusWarning(std::string_view what, int status);
// `written`, the status of a write through `file`, once the writes the
// record manager holds back have reached the server (BtrAccess::
// SendHeldWrites): a refusal of them is this step's write failure, not a
// failure of the next step's first read.
int SentNow(record::BtrAccess& file, int written);
// Stores the record in the buffer of `work` (a work file opened under
// `definition`): it replaces the record of the same key, or is added. The
// status is not examined (a copy for the preview).
void PutCopy(record::BtrAccess& work, std::string_view definition);

}  // namespace qz::writeback

#endif  // QZ_EXAMINEE_WRITE_BACK_STEPS_H_
