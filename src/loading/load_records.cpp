#include "loading/load_records.h"

#include "platform/runtime/run_time_error.h"
#include "platform/text/vb.h"

namespace qz {

record::BtrAccess& LoadObject(const BtrObject& slot) {
  if (!slot) throw RunTimeError(kErrObjectRequired);
  return *slot;
}

bool IsSameExaminee(std::string_view code, std::string_view examinee_no) {
  return vb::RTrim(code) == vb::RTrim(examinee_no);
}

std::string FieldRTrim(const record::BtrAccess& obj, std::string_view name) {
  return vb::RTrim(obj.GetField(name).ToText());
}

}  // namespace qz
