// A result value edited to an item's digit format
// (`Sub_EditValueByDigits` with its two halves `Fnc_EditIntPart` and
// `Fnc_EditDecPart`).
//
// A digit format is two decimal digits: the tens digit is the number
// of integer digits, the units digit the exact number of decimals ("52": up
// to 5 integer digits and 2 decimals); together at most 9. The editor works
// on the text: it never rounds and never cuts significant decimals, and it
// does not check that the value is a number (callers do). Lengths count
// characters; a sign counts as an integer digit.
// Pure and thread-safe.
#ifndef QZ_DATA_VALUE_DIGITS_H_
#define QZ_DATA_VALUE_DIGITS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

// KeepDecimals that keeps every decimal (the item's Yuko is a single blank).
inline constexpr std::string_view kKeepAllDecimals = " ";

// Edits Value to DigitSpec: on success Edited := the integer part & "." &
// the decimal part, or the integer part alone when the digit format has
// no decimals or KeepDecimals dropped them all; ErrorFlag 0.
// ErrorFlag 1 and Edited untouched when DigitSpec is not a number or asks
// for more than 9 digits, or either part does not fit.
// KeepDecimals is kKeepAllDecimals, or a count k as text: decimals after the
// first k are dropped when they are all zeros ("5.000" with spec 13 and "0"
// gives "5"). Any other text (an empty one too) is an error.
void Sub_EditValueByDigits(std::string_view Value, std::string_view DigitSpec, std::string_view KeepDecimals,
                           std::string& Edited, std::int16_t& ErrorFlag);

// Integer part of Value: the text before the dot at character position
// DotPos (1-based; 0 = no dot, the whole value; 1 = "0"), without leading
// zeros ("007" -> "7", "0" stays). Returns false when it is longer than
// IntDigits; else sets IntText and returns true.
bool Fnc_EditIntPart(std::string_view Value, int IntDigits, std::size_t DotPos, std::string& IntText);

// Decimal part of Value: the text after the dot at DotPos (empty when
// DotPos is 0), padded with "0" to DecDigits characters and then shortened
// by KeepDecimals as Sub_EditValueByDigits says. Returns false when it has
// more than DecDigits characters or KeepDecimals is invalid; else sets
// DecText and returns true.
bool Fnc_EditDecPart(std::string_view Value, int DecDigits, std::size_t DotPos, std::string_view KeepDecimals,
                     std::string& DecText);

}  // namespace qz

#endif  // QZ_DATA_VALUE_DIGITS_H_
