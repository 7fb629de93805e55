// FieldValue: a value read from a record buffer, as the data-access object
// hands it out. Alpha and kanji fields give text; numeric fields give a
// number. Conversions follow the program's runtime: a text read as a number
// must be one (blanks around it allowed), else RunTimeError 13.
#ifndef QZ_PLATFORM_RECORD_FIELD_VALUE_H_
#define QZ_PLATFORM_RECORD_FIELD_VALUE_H_

#include <cstdint>
#include <string>

#include "platform/text/currency.h"

namespace qz::record {

// The kind of a declared field and where it lies in the record.
enum class FieldKind { kAlpha, kNumeric, kKanji };

struct FieldInfo {
  std::string name;
  FieldKind kind = FieldKind::kAlpha;
  int position = 1;  // 1-based
  int length = 1;
};

class FieldValue {
 public:
  static FieldValue Text(std::string utf8);
  static FieldValue Number(Currency value);

  bool is_number() const { return is_number_; }

  // Text: the field's text as stored (UTF-8, trailing blanks kept).
  // Number: its decimal text ("12", "-5", "0").
  std::string ToText() const&;
  std::string ToText() &&;  // the same, moved out of a value about to go
  // The value as a number. Text that is blank reads 0; text that is not a
  // number throws RunTimeError 13. Whole-number conversions round half to
  // even and throw RunTimeError 6 when the value does not fit.
  Currency ToCurrency() const;
  std::int64_t ToLong() const;  // 32-bit range
  std::int64_t ToInt() const;   // 16-bit range

 private:
  bool is_number_ = false;
  std::string text_;
  Currency number_;
};

// `c` rounded half to even to a whole number (as the runtime's conversions
// to integers round).
std::int64_t RoundHalfEven(Currency c);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_FIELD_VALUE_H_
