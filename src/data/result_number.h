// The form of a numeric result as the operator may type it: an optional
// minus sign, digits and at most one decimal point, with at least one
// digit ("12", "-0.5", ".5", "12."). Nothing else is a number here: no plus
// sign, exponent ("1e2", "1D2"), octal or hexadecimal form ("&O7"),
// thousands separator, brackets or blanks inside. Half-width text only; the
// caller converts full-width input first and trims it.
//
// The result of an item is stored and judged as text, and the judgement
// library and the save read that text again: a form that the runtime's
// lenient number test takes (an exponent, a plus sign) would be stored as
// one value and read back as another.
// Pure and thread-safe.
#ifndef QZ_DATA_RESULT_NUMBER_H_
#define QZ_DATA_RESULT_NUMBER_H_

#include <string_view>

namespace qz {

// Whether `text` (already trimmed) has the form above.
bool IsResultNumber(std::string_view text);

}  // namespace qz

#endif  // QZ_DATA_RESULT_NUMBER_H_
