// The runtime's conversion and text functions, as the program's procedures
// call them: Val, IsNumeric, the C* conversions, CStr, Format, Trim, Len and
// the character slices.
//
// Texts are UTF-8; lengths and positions here count characters (Len counts
// UTF-16 units, as the runtime does). Byte-measured slices are in cp932.h.
// Failures the runtime raises are thrown as RunTimeError with the runtime's
// number: 5 (invalid argument), 6 (overflow), 13 (type mismatch). Every
// function is pure and thread-safe.
//
// Numeric text: the conversions (IsNumeric, CDbl, CInt, CLng, CCur) take
// blanks around the number, a leading "+" or "-", digits with one ".", an
// exponent ("1E5", "1D5"), "&H" hexadecimal and "&O" octal forms, and
// full-width forms of all of these (１２．５), as the runtime on a Japanese
// system does. They refuse thousands separators, currency signs, brackets
// and trailing signs: a text such as "1,234" is not numeric here (Val would
// read it as 1, so accepting it would store a value that later reads wrong).
#ifndef QZ_PLATFORM_TEXT_VB_H_
#define QZ_PLATFORM_TEXT_VB_H_

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/currency.h"

namespace qz::vb {

// ---- numbers from text ----------------------------------------------------

// The leading number of `text`: blanks, tabs and line feeds anywhere are
// skipped, then an optional sign, digits with an optional "." and exponent
// are read up to the first other character; no number gives 0 ("12abc" ->
// 12, "" -> 0, "1 2" -> 12). "&H" and "&O" forms read hexadecimal and octal:
// a value up to FFFF is a 16-bit number (&HFFFF -> -1), up to FFFFFFFF a
// 32-bit one, unless a trailing "&" makes it 32-bit. Full-width digits are
// not read (narrow the text first). Throws RunTimeError 6 when the number
// does not fit a double or a hexadecimal value exceeds 32 bits.
double Val(std::string_view text);

// The leading hexadecimal digits of `text` (after blanks) as a 32-bit value:
// reading stops at the first character that is no hexadecimal digit, none
// gives 0; a value with the top bit set is negative (8000000F). Unlike Val,
// four digits are not narrowed to 16 bits (FFFF stays 65535). Throws
// RunTimeError 6 for more than 32 bits.
std::int32_t HexVal(std::string_view text);

// True when `text` is numeric text (see the file comment). "" and blanks are
// not numeric.
bool IsNumeric(std::string_view text);

// The value of numeric text. Throws RunTimeError 13 when `text` is not
// numeric, 6 when it does not fit.
double CDbl(std::string_view text);

// Whole numbers rounded half to even (2.5 -> 2, 3.5 -> 4). Throw
// RunTimeError 6 outside the 16-bit / 32-bit range, 13 for text that is not
// numeric.
std::int16_t CInt(double v);
std::int16_t CInt(std::string_view text);
std::int16_t CInt(Currency v);
std::int32_t CLng(double v);
std::int32_t CLng(std::string_view text);
std::int32_t CLng(Currency v);

// Currency values: four decimals, rounded half to even. Throw RunTimeError 6
// outside the currency range, 13 for text that is not numeric.
Currency CCur(double v);
Currency CCur(std::string_view text);

// ---- text of numbers ------------------------------------------------------

// The runtime's text of a double: at most 15 significant digits, no trailing
// zeros, exponent form beyond them ("5.4" for 5.3 + 0.1, "1E+15",
// "1.5E-05", "-0.5", "0").
std::string CStr(double v);
// A single-precision value prints with at most 7 significant digits.
std::string CStr(float v);
template <std::integral T>
std::string CStr(T v) {
  return std::to_string(static_cast<std::int64_t>(v));
}
std::string CStr(Currency v);
// The text of a double held as a decimal number: 15 significant digits,
// never an exponent (1E-05 -> "0.00001", 1E+15 -> "1000000000000000").
// Throws RunTimeError 6 (overflow) for a value a decimal number cannot hold:
// infinite, not a number, or 2^96 and beyond in magnitude.
std::string CDecStr(double v);

// ---- Format ---------------------------------------------------------------

// A date and time of day, as the runtime's Date holds it.
struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Format with a number pattern: "0" a digit or a zero, "#" a digit or
// nothing, "." the decimal point, "," between digit placeholders groups the
// thousands, "\x" and "..." literals, other characters literal
// ("0000/00/00" on 20240115 -> "2024/01/15", "#,##0", "####0.0000");
// decimals are rounded half away from zero; digits beyond the placeholders
// of the integer part are all shown. Up to three sections "pos;neg;zero".
// A pattern of "@" placeholders formats the number's CStr as text; an empty
// pattern gives CStr.
std::string Format(double v, std::string_view pattern);
std::string Format(float v, std::string_view pattern);  // 7 significant digits
std::string Format(Currency v, std::string_view pattern);
std::string FormatInteger(std::int64_t v, std::string_view pattern);
template <std::integral T>
std::string Format(T v, std::string_view pattern) {
  return FormatInteger(static_cast<std::int64_t>(v), pattern);
}
// Format of a text: "@" a character or a blank, "&" a character or nothing,
// filled from the right ("@@@@" right-aligns; a longer text is kept whole);
// "!" fills from the left; "<" / ">" lower / upper case. A numeric text with
// a number pattern is formatted as its number ("5" with "000" -> "005");
// other text comes back unchanged.
std::string Format(std::string_view text, std::string_view pattern);
// Format of a date-time: yyyy, yy, m, mm, d, dd, h, hh, n, nn, s, ss (m/mm
// right after an hour or before a second are minutes); "/" and ":" and other
// characters literal ("yyyy/mm/dd hh:nn:ss", "yyyymmdd_hhnnss").
std::string Format(const DateTime& t, std::string_view pattern);

// The date of "yyyy/m/d" or "yyyy-m-d" text, optionally followed by a blank
// and "h:n" or "h:n:s"; blanks around are allowed. nullopt when the text is
// no such date or names a day that does not exist (2023/02/29).
std::optional<DateTime> ParseDate(std::string_view text);
// True when ParseDate reads a date.
bool IsDate(std::string_view text);

// ---- text -----------------------------------------------------------------

// Half-width blanks removed at the start, the end or both; a full-width
// blank (U+3000) and tabs are kept.
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string Trim(std::string_view text);

// The length in UTF-16 units (one per character of the Japanese sets).
std::int32_t Len(std::string_view text);

// Character slices. `n` beyond the text is clamped. Throw RunTimeError 5 for
// a negative length or a start below 1.
std::string Left(std::string_view text, std::int64_t n);
std::string Right(std::string_view text, std::int64_t n);
std::string Mid(std::string_view text, std::int64_t start);
std::string Mid(std::string_view text, std::int64_t start, std::int64_t n);

// The 1-based character position of the first `find` in `text` at or after
// character `start`; 0 when there is none. An empty `find` gives `start`
// (when start is within the text, else 0). Throws RunTimeError 5 for
// start < 1.
std::int32_t InStr(std::string_view text, std::string_view find, std::int64_t start = 1);

// `n` half-width blanks. Throws RunTimeError 5 for n < 0.
std::string Space(std::int64_t n);

// `text` as a fixed-length string of `n` characters holds it: cut to `n`
// characters or blank-padded to them.
std::string FixedLength(std::string_view text, std::size_t n);

}  // namespace qz::vb

#endif  // QZ_PLATFORM_TEXT_VB_H_
