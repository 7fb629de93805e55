#include "examinee/update_masters.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/bas_file_access.h"
#include "data/bas_rank_change.h"
#include "data/program_log.h"
#include "examinee/bas_public.h"
#include "examinee/save_screen.h"
#include "examinee/write_back_steps.h"
#include "loading/consult_reads.h"
#include "loading/load_messages.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"
#include "platform/ui/message_hold.h"
#include "platform/ui/msgbox.h"
#include "tools/delete_results_log.h"

namespace qz {

namespace writeback {

namespace {

constexpr std::string_view kHistoryFile = "QZJRKLF";
constexpr std::string_view kPreviewHistoryFile = "QJJRKLF";
constexpr int kCnoFields = 3;
constexpr std::size_t kOverallGroup = 999;

record::BtrAccess& Object(BtrObject& slot) {
  if (!slot) throw RunTimeError(kErrObjectRequired);
  return *slot;
}

bool SameExaminee(const record::BtrAccess& obj) {
  return vb::RTrim(obj.GetField("CODE").ToText()) == vb::RTrim(basPublic.ExamineeNo);
}

// CNO1..CNO3: the consultation's courses that are priority courses first,
// then the others, each in the order of the course list; 0 for the rest.
std::vector<std::int64_t> CourseFields() {
  std::vector<std::int64_t> priority, others;
  for (int k = 1; k <= kCourseSlots; ++k) {
    const std::int64_t course = frmResultIn.CourseCodes[k].whole();
    if (course == 0) break;
    bool listed = false;
    const auto& yusen = basPublic.YusenCno;
    for (int y = 1; y <= yusen.Count && y < static_cast<int>(yusen.Items.size()); ++y) {
      if (yusen.Items[static_cast<std::size_t>(y)] == course) listed = true;
    }
    (listed ? priority : others).push_back(course);
    if (static_cast<int>(priority.size()) >= kCnoFields) break;
  }
  priority.insert(priority.end(), others.begin(), others.end());
  priority.resize(kCnoFields, 0);
  return priority;
}

// The overall judgement code: the overall group's, else the largest group
// judgement.
std::int16_t OverallJudgement() {
  const std::int16_t overall = frmResultIn.GroupItems.at(kOverallGroup).Han;
  if (overall != 0) return overall;
  std::int16_t largest = 0;
  for (std::size_t g = 0; g <= kOverallGroup; ++g) largest = std::max(largest, frmResultIn.GroupItems.at(g).Han);
  return largest;
}

std::string DispatchDate() {
  if (const auto d = vb::ParseDate(frmResultInSave.txtHassou)) return vb::Format(*d, "yyyymmdd");
  return "00000000";
}

// Copies the examinee's history rows before the consultation into the work
// file.
Step CopyEarlierHistory(record::BtrAccess& work) {
  record::BtrAccess& real = Object(basFileAccess.QZJRKLFObj);
  real.SetField("CODE", basPublic.ExamineeNo);
  real.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  int status = real.GetLess(kHistoryFile);
  if (status == record::kStatusEndOfFile) return Step::kWritten;
  if (status != record::kStatusOk) {
    Warn(StatusWarning("受診歴マスタの読み込みに失敗しました。", status));
    return Step::kFailed;
  }
  while (status == record::kStatusOk && SameExaminee(real)) {
    work.SetRecordBytes("");
    for (const char* f : {"CODE", "JDATE", "SHAT", "CNO1", "CNO2", "CNO3"}) {
      const record::FieldValue v = real.GetField(f);
      if (v.is_number()) {
        work.SetField(f, v.ToCurrency());
      } else {
        work.SetField(f, v.ToText());
      }
    }
    PutCopy(work, kPreviewHistoryFile);
    status = real.GetPrevious();
  }
  return Step::kWritten;
}

Step WriteHistory(std::string_view file_name, DeleteResultsOutcome& deletion) {
  if (file_name != kHistoryFile && file_name != kPreviewHistoryFile) {
    Warn("ファイル名が不正です。" + std::string(kCrLf) + "ファイル名 : " + std::string(file_name));
    return Step::kFailed;
  }
  const bool real_file = file_name == kHistoryFile;
  record::BtrAccess& jrk = Object(real_file ? basFileAccess.QZJRKLFObj : basFileAccess.QJJRKLFObj);
  jrk.SetField("CODE", basPublic.ExamineeNo);
  jrk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  const int read = jrk.GetEqual(file_name);
  if (read != record::kStatusOk && read != record::kStatusNotFound) {
    Warn(StatusWarning("受診歴マスタの読み込みに失敗しました。", read));
    return Step::kFailed;
  }
  const bool exists = read == record::kStatusOk;
  if (!exists) {
    // A new row starts blank, not from the record last read.
    jrk.SetRecordBytes("");
    jrk.SetField("CODE", basPublic.ExamineeNo);
    jrk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  }

  const std::vector<std::int64_t> courses = CourseFields();
  for (int n = 1; n <= kCnoFields; ++n) jrk.SetField("CNO" + std::to_string(n), courses[static_cast<std::size_t>(n - 1)]);

  const std::int16_t code = OverallJudgement();
  std::string mark;
  if (code != 0) {
    std::string color;
    if (Fnc_JudgeCodeToMark(code, mark, color) != 0) {
      Warn("判定変換に失敗しました。" + std::string(kCrLf) + "判定コード : " + std::to_string(code));
      return Step::kFailed;
    }
  }
  jrk.SetField("SHAT", mark);

  const std::string kdanid = vb::Trim(Object(basFileAccess.QZJSNLFObj).GetField("KDANID").ToText());
  if (vb::IsNumeric(kdanid)) jrk.SetField("KDANID", vb::Format(std::string_view(kdanid), "0000000000"));

  // A number that cannot be read fails the save: an empty one written in
  // its place would erase the stored number.
  std::optional<std::string> seikan = std::string();
  if (basPublic.JkoKbn != 0) seikan = Fnc_GetInsurerReceptionNo();
  if (!seikan) return Step::kFailed;
  jrk.SetField("SEIKAN", *seikan);

  // The stored results go only when the real files are written: the work
  // files are filled from the screen whatever is stored.
  frmResultInSave.ResultsDeleted = false;
  if (basPublic.DelListAnswer == 2 && real_file) {
    // An undone save takes the log of this deletion back.
    deletion = Fnc_DeleteResultsWithLog(true);
    if (!deletion.ok) return Step::kFailed;
    frmResultInSave.ResultsDeleted = true;
  }

  jrk.SetField("EDIT", "");
  jrk.SetField("PRYMD", DispatchDate());
  jrk.SetField("JHKBN", basPublic.AutoJudgeDone ? "1" : "0");
  const std::optional<std::string> jsno = Fnc_GetTicketReferenceNo();
  if (!jsno) return Step::kFailed;
  jrk.SetField("JSNO", *jsno);

  const int written = SentNow(jrk, exists ? jrk.Update() : jrk.Insert(file_name));
  if (written != record::kStatusOk) {
    Warn(StatusWarning("受診歴マスタの書き込みに失敗しました。", written));
    return Step::kFailed;
  }
  program_log::RecordWritten();
  return real_file ? Step::kWritten : CopyEarlierHistory(jrk);
}

}  // namespace

void Warn(const std::string& text) { ShowLoadWarning(text); }

void ReportError(std::string_view job_text, const std::exception& error) { ShowLoadErrorReport(job_text, error); }

std::string StatusWarning(std::string_view what, int status) {
  const std::string crlf(kCrLf);
  std::string text = std::string(what) + crlf + "受診者番号 : " + basPublic.ExamineeNo + crlf + StatusText(status);
  if (status == record::kStatusBusy) {
    // Another terminal wrote the files for longer than the wait.
    text += crlf + crlf + "他の端末がデータを書き込み中です。" + crlf + "しばらくしてから、もう一度保存してください。";
  }
  return text;
}

int SentNow(record::BtrAccess& file, int written) {
  return written == record::kStatusOk ? file.SendHeldWrites() : written;
}

void PutCopy(record::BtrAccess& work, std::string_view definition) {
  const std::string copy = work.RecordBytes();
  const bool there = work.GetEqual(definition) == record::kStatusOk;
  work.SetRecordBytes(copy);
  if (there) {
    work.Update();
  } else {
    work.Insert(definition);
  }
}

Step UpdateExamineeMaster() {
  try {
    record::BtrAccess& jsn = Object(basFileAccess.QZJSNLFObj);
    jsn.SetField("CODE", basPublic.ExamineeNo);
    const int read = jsn.GetEqual("QZJSNLF");
    if (read == record::kStatusNotFound) {
      Warn("受診者マスタが見つかりません。" + std::string(kCrLf) + "受診者番号 : " + basPublic.ExamineeNo);
      return Step::kFailed;
    }
    if (read != record::kStatusOk) {
      Warn(StatusWarning("受診者マスタの読み込みに失敗しました。", read));
      return Step::kFailed;
    }
    if (jsn.GetField("ZNKDAT").ToLong() < basPublic.ConsultDate) {
      jsn.SetField("ZNKDAT", static_cast<std::int64_t>(basPublic.ConsultDate));
      const int written = SentNow(jsn, jsn.Update());
      if (written != record::kStatusOk) {
        Warn(StatusWarning("受診者マスタの更新に失敗しました。", written));
        return Step::kFailed;
      }
      program_log::RecordWritten();
    }
    return Step::kWritten;
  } catch (const std::exception& e) {
    ReportError("受診者マスタの更新処理でエラーが発生しました。", e);
    return Step::kFailed;
  }
}

Step UpdateConsultHistory(std::string_view file_name, DeleteResultsOutcome& deletion) {
  try {
    return WriteHistory(file_name, deletion);
  } catch (const std::exception& e) {
    ReportError("受診歴情報の更新処理でエラーが発生しました。", e);
    return Step::kFailed;
  }
}

}  // namespace writeback

namespace {

// The transaction of one save; aborted unless committed, also when the
// program ends while a step yields.
class SaveTransaction {
 public:
  int Begin() {
    const int status = tx_.BeginTrans();
    active_ = status == record::kStatusOk;
    return status;
  }
  int Commit() {
    const int status = tx_.EndTrans();
    if (status == record::kStatusOk) active_ = false;
    return status;
  }
  void Abort() {
    if (active_) tx_.AbortTrans();
    active_ = false;
  }
  ~SaveTransaction() { Abort(); }

 private:
  record::BtrAccess tx_;  // transactions span every file of the program
  bool active_ = false;
};

// Whether a run of the write-back is the save, which the program's log
// records, or the filling of the work files.
enum class Run { kSave, kWorkFiles };

// Runs `steps` in one transaction and commits it. On a failure the
// transaction is rolled back before any message is shown, so that nothing
// of it stays (not the log of a deletion it undid) and no box left standing
// holds the files against other terminals. The screen keeps everything.
bool WriteInOneTransaction(Run run, const std::function<writeback::Step(DeleteResultsOutcome& deletion)>& steps) {
  using writeback::Step;
  // Every message raised while the transaction holds the files, by any
  // routine the steps reach, waits until it has ended.
  ui::MessageHold hold;
  SaveTransaction tx;
  DeleteResultsOutcome deletion;
  Step failed = Step::kWritten;
  if (run == Run::kSave) program_log::SaveBegun();
  try {
    const int begun = tx.Begin();
    if (begun != record::kStatusOk) {
      writeback::Warn(writeback::StatusWarning("マスタの更新に失敗しました。", begun));
      failed = Step::kFailed;
    }
    if (failed == Step::kWritten) failed = steps(deletion);
    if (failed == Step::kWritten) {
      const int committed = tx.Commit();
      if (committed != record::kStatusOk) {
        writeback::Warn(writeback::StatusWarning("マスタの更新に失敗しました。", committed));
        failed = Step::kFailed;
      }
    }
  } catch (const std::exception& e) {
    writeback::ReportError("マスタの更新処理でエラーが発生しました。", e);
    failed = Step::kFailed;
  }
  if (run == Run::kSave) program_log::SaveEnded(failed == Step::kWritten);
  if (failed == Step::kWritten) {
    hold.Release();
    return true;
  }
  tx.Abort();
  Sub_WithdrawDeletionLog(deletion);
  frmResultInSave.ResultsDeleted = false;
  hold.Release();
  return false;
}

}  // namespace

bool Sub_UpdateMasters() {
  using writeback::Step;
  return WriteInOneTransaction(Run::kSave, [](DeleteResultsOutcome& deletion) {
    Step step = writeback::UpdateExamineeMaster();
    if (step == Step::kWritten) step = writeback::UpdateConsultHistory("QZJRKLF", deletion);
    if (step == Step::kWritten) step = writeback::UpdateExamResults("QZKKKLF");
    return step;
  });
}

bool Fnc_WriteWorkFiles() {
  using writeback::Step;
  return WriteInOneTransaction(Run::kWorkFiles, [](DeleteResultsOutcome& deletion) {
    Step step = writeback::UpdateConsultHistory("QJJRKLF", deletion);
    if (step == Step::kWritten) step = writeback::UpdateExamResults("QJKKKLF");
    return step;
  });
}

void Sub_UpdateExamineeMaster() { writeback::UpdateExamineeMaster(); }

bool Sub_UpdateConsultHistory(std::string_view file_name) {
  DeleteResultsOutcome deletion;
  return writeback::UpdateConsultHistory(file_name, deletion) == writeback::Step::kWritten;
}

bool Sub_UpdateExamResults(std::string_view file_name) {
  return writeback::UpdateExamResults(file_name) == writeback::Step::kWritten;
}

}  // namespace qz
