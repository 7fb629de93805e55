// Record access shared by the loading steps: the data-access object of a
// slot of basFileAccess, and the comparisons the walks over the examinee's
// records make.
#ifndef QZ_LOADING_LOAD_RECORDS_H_
#define QZ_LOADING_LOAD_RECORDS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "data/bas_file_access.h"
#include "platform/record/btr_access.h"

namespace qz {

// The object in `slot`. Throws RunTimeError 424 (object required) when the
// slot is empty (the masters were not opened).
record::BtrAccess& LoadObject(const BtrObject& slot);

// True when the examinee number `code` (a CODE field as read, trailing
// blanks kept) is `examinee_no`; trailing blanks do not count.
bool IsSameExaminee(std::string_view code, std::string_view examinee_no);

// The text field `name` of `obj` without trailing blanks.
std::string FieldRTrim(const record::BtrAccess& obj, std::string_view name);

// The field `name` of `obj` as a 16-bit or a 32-bit integer, converted as
// the runtime converts: RunTimeError 6 when it does not fit, 13 for a text
// that is no number.
std::int16_t FieldInt16(const record::BtrAccess& obj, std::string_view name);
std::int32_t FieldInt32(const record::BtrAccess& obj, std::string_view name);

}  // namespace qz

#endif  // QZ_LOADING_LOAD_RECORDS_H_
