#include "tools/delete_results_log.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "platform/clock/clock.h"
#include "platform/path/host_path.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "platform/ui/error_report.h"

namespace qz {

namespace {

constexpr std::string_view kJobText = "結果の削除処理でエラーが発生しました。";
constexpr std::string_view kCrLf = "\r\n";

std::string LogName() {
  const LocalDateTime now = Now();
  const vb::DateTime t{now.year, now.month, now.day, now.hour, now.minute, now.second};
  return "del" + vb::Trim(basPublic.ExamineeNo) + "_" + vb::Format(t, "yyyymmdd_hhnnss") + ".log";
}

// The log file, created with its header at the first record.
class DeletionLog {
 public:
  bool Append(const record::BtrAccess& kkk) {
    if (!out_.is_open()) {
      path_ = path::JoinPath(basPublic.SvworkPath, LogName());
      out_.open(path_, std::ios::binary | std::ios::trunc);
      if (!out_) return false;
      Line("★★★★★ 以下の検査結果データを削除しました ★★★★★");
      Line("ユーザーID ： " + basPublic.LogonUserId);
      Line("受診者番号 ： " + basPublic.ExamineeNo);
      Line("受診日 ： " + std::to_string(basPublic.ConsultDate));
    }
    for (const data::FieldDef& f : data::QzkkklfLayout().fields) {
      Line(f.name + " ： " + kkk.GetField(f.name).ToText());
    }
    out_.flush();
    return static_cast<bool>(out_);
  }
  const std::string& path() const { return path_; }

 private:
  void Line(const std::string& utf8) { out_ << text::ToCp932(utf8) << kCrLf; }

  std::ofstream out_;
  std::string path_;
};

bool OfConsultation(const record::BtrAccess& kkk) {
  return vb::RTrim(kkk.GetField("CODE").ToText()) == vb::RTrim(basPublic.ExamineeNo) &&
         kkk.GetField("JDATE").ToLong() == basPublic.ConsultDate;
}

}  // namespace

DeleteResultsOutcome Fnc_DeleteResultsWithLog(bool /*quiet*/) {
  DeleteResultsOutcome outcome;
  DeletionLog log;
  std::optional<int> failed_status;
  try {
    if (!basFileAccess.QZKKKLFObj) throw RunTimeError(kErrObjectRequired);
    record::BtrAccess& kkk = *basFileAccess.QZKKKLFObj;
    const std::string& definition = data::QzkkklfLayout().definition;
    kkk.SetField("CODE", basPublic.ExamineeNo);
    kkk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
    kkk.SetField("KKMKNO", 0);
    int status = kkk.GetGreaterOrEqual(definition);
    while (status == record::kStatusOk && OfConsultation(kkk)) {
      if (!log.Append(kkk)) throw RunTimeError(kErrPathNotFound, "削除ログを書き込めません: " + log.path());
      status = kkk.Delete();
      if (status != record::kStatusOk) break;
      ++outcome.deleted;
      status = kkk.GetNext();
    }
    if (status != record::kStatusOk && status != record::kStatusEndOfFile) failed_status = status;
    outcome.ok = !failed_status.has_value();
  } catch (const RunTimeError& e) {
    ui::ShowErrorReport(kJobText, e, ui::MsgIcon::kCritical, "結果入力");
  } catch (const std::exception& e) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, e.what(), ui::MsgIcon::kCritical, "結果入力");
  }
  if (failed_status) {
    ui::ShowErrorReport(kJobText, kErrInvalidCall, "検査結果マスタの削除に失敗しました。", ui::MsgIcon::kCritical,
                        "結果入力", failed_status);
  }
  outcome.log_path = log.path();
  return outcome;
}

void Sub_DeleteResultsWithLog(bool quiet) { Fnc_DeleteResultsWithLog(quiet); }

}  // namespace qz
