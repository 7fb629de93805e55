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

std::int16_t FieldInt16(const record::BtrAccess& obj, std::string_view name) {
  return static_cast<std::int16_t>(obj.GetField(name).ToInt());
}

std::int32_t FieldInt32(const record::BtrAccess& obj, std::string_view name) {
  return static_cast<std::int32_t>(obj.GetField(name).ToLong());
}

}  // namespace qz
