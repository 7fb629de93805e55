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
    created_ = static_cast<bool>(ec);
    offset_ = ec ? 0 : size;
    size_ = offset_;
    out_.open(path_, std::ios::binary | std::ios::app);
    if (!out_) throw RunTimeError(kErrPathNotFound, "削除ログを作成できません: " + path_);
  }

  // Writes the block of the current record of `kkk` and returns the size
  // of the log before it; a block the file does not take whole is cut off
  // again and RunTimeError thrown.
  std::uintmax_t Append(const record::BtrAccess& kkk) {
    std::string block;
    const auto line = [&](const std::string& utf8) { block += text::ToCp932(utf8) + std::string(kCrLf); };
    line("★★★★★ 以下の検査結果データを削除しました ★★★★★");
    line("");
    line("ユーザ ： " + basPublic.LogonUserId);
    line("受診者番号 ： " + basPublic.ExamineeNo);
    line("受診日 ： " + std::to_string(basPublic.ConsultDate));
    line("");
    for (const data::FieldDef& f : data::QzkkklfLayout().fields) {
      line(f.name + " ： " + kkk.GetField(f.name).ToText());
    }
    line("");
    line("");
    const std::uintmax_t before = size_;
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
    out_.flush();
    if (!out_) {
      CutBackTo(before);
      throw RunTimeError(kErrPathNotFound, "削除ログを書き込めません: " + path_);
    }
    size_ += block.size();
    return before;
  }

  // Takes the log back to its first `size` bytes: the block of a record
  // that was not deleted claims nothing. The log is closed.
  void CutBackTo(std::uintmax_t size) {
    out_.close();
    std::error_code ignored;
    std::filesystem::resize_file(path_, size, ignored);
    size_ = size;
  }

  const std::string& path() const { return path_; }
  std::uintmax_t offset() const { return offset_; }
  bool created() const { return created_; }

 private:
  std::ofstream out_;
  std::string path_;
  std::uintmax_t offset_ = 0;
  std::uintmax_t size_ = 0;
  bool created_ = false;
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
  bool delete_failed = false;  // else the failure was a read's
  try {
    record::BtrAccess& kkk = Object(basFileAccess.QZKKKLFObj.get());
    kkk.SetField("CODE", basPublic.ExamineeNo);
    kkk.SetField("JDATE", static_cast<std::int64_t>(basPublic.ConsultDate));
    kkk.SetField("KKMKNO", 0);
    int status = kkk.GetGreaterOrEqual(data::QzkkklfLayout().definition);
    log.Open();
    outcome.log_path = log.path();
    outcome.log_offset = log.offset();
    outcome.log_created = log.created();
    while (status == record::kStatusOk && OfConsultation(kkk)) {
      // Logged first, so that nothing is deleted unread; a refused delete
      // takes its block back out.
      const std::uintmax_t before = log.Append(kkk);
      status = kkk.Delete();
      if (status != record::kStatusOk) {
        log.CutBackTo(before);
        delete_failed = true;
        break;
      }
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
    ui::ShowErrorReport(kJobText, kErrInvalidCall,
                        delete_failed ? "検査結果マスタの削除に失敗しました。" : "検査結果マスタの読み込みに失敗しました。",
                        ui::MsgIcon::kCritical, kTitle, failed_status);
  }
  return outcome;
}

void Sub_DeleteResultsWithLog(bool quiet) { Fnc_DeleteResultsWithLog(quiet); }

void Sub_WithdrawDeletionLog(const DeleteResultsOutcome& run) {
  if (run.log_path.empty()) return;
  std::error_code ignored;
  if (run.log_created) {
    std::filesystem::remove(run.log_path, ignored);
  } else {
    std::filesystem::resize_file(run.log_path, run.log_offset, ignored);
  }
}

}  // namespace qz
