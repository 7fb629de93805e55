#include "suite/qzpclr.h"

#include <exception>

#include "examinee/bas_public.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"
#include "platform/text/vb.h"
#include "suite/call_log.h"

namespace qz::suite {
namespace {

constexpr std::size_t kAreaLength = 10;
constexpr std::size_t kNameLength = 8;

std::function<std::string(std::string_view)>& Hook() {
  static std::function<std::string(std::string_view)> hook;
  return hook;
}

// Deletes every record of work file `name`; "00", or "05" when it cannot.
// A file that does not open is taken as empty.
std::string EmptyWorkFile(const std::string& name) {
  if (name.empty()) return "00";
  record::BtrAccess file;
  bool in_transaction = false;
  try {
    // A file that is not there holds nothing; opening it for the preview
    // reports it.
    if (!file.OpenFile(name + ".BTR", name, basPublic.SvworkPath, basPublic.SpecPath)) return "00";
    if (file.BeginTrans() == record::kStatusOk) {
      in_transaction = true;
      int status = file.GetFirst(name);
      while (status == record::kStatusOk) {
        status = file.Delete();
        if (status == record::kStatusOk) status = file.GetFirst(name);
      }
      if (status == record::kStatusEndOfFile && file.EndTrans() == record::kStatusOk) return "00";
    }
  } catch (const std::exception&) {
    // Answered below.
  }
  if (in_transaction) file.AbortTrans();
  return "05";
}

}  // namespace

void QZPCLR(std::string& area) {
  area.resize(kAreaLength, ' ');
  RecordCall("QZPCLR " + area);
  const std::string_view name = std::string_view(area).substr(0, kNameLength);
  std::string status = Hook() ? Hook()(name) : EmptyWorkFile(vb::Trim(std::string(name)));
  status.resize(2, ' ');
  area.replace(kNameLength, 2, status);
}

void SetQzpclrStatusForTest(std::function<std::string(std::string_view)> status) {
  Hook() = std::move(status);
}

}  // namespace qz::suite
