#include "tools/delete_results_log.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/clock/clock.h"
#include "platform/path/host_path.h"
#include "platform/record/status.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"
#include "platform/ui/msgbox.h"

namespace qz {

namespace {

constexpr std::string_view kJobText = "結果の削除処理でエラーが発生しました。";
constexpr std::string_view kTitle = "結果入力";
constexpr std::string_view kCrLf = "\r\n";

std::string LogName() {
  const LocalDateTime now = Now();
  const vb::DateTime t{now.year, now.month, now.day, now.hour, now.minute, now.second};
  return "del" + vb::Trim(basPublic.ExamineeNo) + "_" + vb::Format(t, "yyyymmdd_hhnnss") + ".log";
}

// The log file, opened for appending.
class DeletionLog {
 public:
  // Opens (creates) the log; throws RunTimeError when it cannot.
  void Open() {
    path_ = path::JoinPath(basPublic.SvworkPath, LogName());
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path_, ec);
    offset_ = ec ? 0 : size;
    out_.open(path_, std::ios::binary | std::ios::app);
    if (!out_) throw RunTimeError(kErrPathNotFound, "削除ログを作成できません: " + path_);
  }

  // Writes the block of the current record of `kkk`; throws when the file
  // does not take it.
  void Append(const record::BtrAccess& kkk) {
    Line("★★★★★ 以下の検査結果データを削除しました ★★★★★");
    Line("");
    Line("ユーザ ： " + basPublic.LogonUserId);
    Line("受診者番号 ： " + basPublic.ExamineeNo);
    Line("受診日 ： " + std::to_string(basPublic.ConsultDate));
    Line("");
    for (const data::FieldDef& f : data::QzkkklfLayout().fields) {
      Line(f.name + " ： " + kkk.GetField(f.name).ToText());
    }
    Line("");
    Line("");
    out_.flush();
    if (!out_) throw RunTimeError(kErrPathNotFound, "削除ログを書き込めません: " + path_);
  }

  const std::string& path() const { return path_; }
  std::uintmax_t offset() const { return offset_; }

 private:
  void Line(const std::string& utf8) { out_ << text::ToCp932(utf8) << kCrLf; }

  std::ofstream out_;
  std::string path_;
  std::uintmax_t offset_ = 0;
};

bool OfConsultation(const record::BtrAccess& kkk) {
  return vb::RTrim(kkk.GetField("CODE").ToText()) == vb::RTrim(basPublic.ExamineeNo) &&
         kkk.GetField("JDATE").ToLong() == basPublic.ConsultDate;
}

record::BtrAccess& Object(record::BtrAccess* obj) {
  if (obj == nullptr) throw RunTimeError(kErrObjectRequired);
  return *obj;
}

// Deletes the reception row of the consultation when there is one; its
// delete status is not examined.
void DeleteReceptionRow() {
  record::BtrAccess& jrk = Object(basFileAccess.QZJRKLFObj.get());
  jrk.SetField("CODE", basPublic.ExamineeNo);
  jrk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
  if (jrk.GetEqual(data::QzjrklfLayout().definition) == record::kStatusOk) jrk.Delete();
}

}  // namespace

DeleteResultsOutcome Fnc_DeleteResultsWithLog(bool quiet) {
  DeleteResultsOutcome outcome;
  DeletionLog log;
  std::optional<int> failed_status;
  try {
    record::BtrAccess& kkk = Object(basFileAccess.QZKKKLFObj.get());
    kkk.SetField("CODE", basPublic.ExamineeNo);
    kkk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
    kkk.SetField("KKMKNO", 0);
    int status = kkk.GetGreaterOrEqual(data::QzkkklfLayout().definition);
    log.Open();
    outcome.log_path = log.path();
    outcome.log_offset = log.offset();
    while (status == record::kStatusOk && OfConsultation(kkk)) {
      log.Append(kkk);
      status = kkk.Delete();
      if (status != record::kStatusOk) break;
      ++outcome.deleted;
      status = kkk.GetNext();
    }
    if (status != record::kStatusOk && status != record::kStatusEndOfFile) {
      failed_status = status;
    } else {
      outcome.ok = true;
      if (!quiet) {
        if (outcome.deleted == 0) ui::MsgBox("新規入力データです。", ui::MsgButtons::kOk, ui::MsgIcon::kNone, kTitle);
        DeleteReceptionRow();
      }
    }
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, kTitle);
  } catch (const std::exception& e) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, e.what(), ui::MsgIcon::kCritical, kTitle);
  }
  if (failed_status) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, "検査結果マスタの削除に失敗しました。", ui::MsgIcon::kCritical,
                        kTitle, failed_status);
  }
  return outcome;
}

void Sub_DeleteResultsWithLog(bool quiet) { Fnc_DeleteResultsWithLog(quiet); }

}  // namespace qz
