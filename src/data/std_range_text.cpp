#include "data/std_range_text.h"

#include "data/value_digits.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

constexpr std::size_t kBoundWidth = 5;

// One bound: `word` gives `shown`; a value is edited and right-aligned.
bool EditBound(std::string_view bound, std::string_view word, std::string_view shown, std::string_view digit_spec,
               std::string& out, bool& is_value) {
  is_value = bound != word;
  if (!is_value) {
    out = std::string(shown);
    return true;
  }
  std::string edited;
  std::int16_t error = 1;
  Sub_EditValueByDigits(bound, digit_spec, kKeepAllDecimals, edited, error);
  if (error != 0) return false;
  std::size_t width = text::Cp932Length(edited);
  out = width < kBoundWidth ? std::string(kBoundWidth - width, ' ') + edited : edited;
  return true;
}

}  // namespace

std::int16_t Fnc_EditStdRange(std::string_view Lower, std::string_view Upper, std::string_view DigitSpec,
                              std::string& RangeText) {
  std::string lower, upper;
  bool lower_value = false, upper_value = false;
  if (!EditBound(Lower, kNoLowerBound, "   ～", DigitSpec, lower, lower_value)) return 1;
  if (!EditBound(Upper, kNoUpperBound, "～   ", DigitSpec, upper, upper_value)) return 1;
  RangeText = lower + (lower_value && upper_value ? "-" : " ") + upper;
  return 0;
}

}  // namespace qz
