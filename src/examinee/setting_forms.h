// The value forms of the settings: how the settings reader turns the text of
// an INI value into a 16-bit or 32-bit integer, an item number, a colour, a
// code list or a digit string, with the runtime's conversion rules.
//
// Conversions that must give a number raise RunTimeError (13 for a text that
// is not a number, 6 for a number out of range, 5 for a text too short to
// cut); the settings reader turns that into its error value. The "reads as a
// number" tests never raise. All functions are pure except
// Fnc_GetFepSetting, which reads a file.
#ifndef QZ_EXAMINEE_SETTING_FORMS_H_
#define QZ_EXAMINEE_SETTING_FORMS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "examinee/bas_public.h"
#include "platform/text/currency.h"

namespace qz {

// `text` without leading and trailing blanks (spaces only).
std::string TrimBlanks(std::string_view text);

// The characters (UTF-8 sequences) of `text`; a stray byte is one character.
std::vector<std::string> SplitCharacters(std::string_view text);

// The value of `text` when it is numeric text in the runtime's sense
// (vb::IsNumeric: blanks around it, a sign, digits with one ".", an
// exponent, "&H" forms, full-width digits); nullopt otherwise, also when it
// does not fit an item number.
std::optional<Currency> ReadsAsNumber(std::string_view text);

// The text converted to an item number; raises 13 when it is no number, 6
// when it does not fit.
Currency ToItemNumber(std::string_view text);

// The text converted to a 16-bit / 32-bit integer (fractions round half to
// even); raises 13 or 6.
std::int16_t ToInt16(std::string_view text);
std::int32_t ToInt32(std::string_view text);

// `text` read as hexadecimal digits after leading blanks: reading stops at
// the first character that is no hexadecimal digit, and a text without any
// gives 0; four digits stay 16 bits wide (FFFF is 0x0000FFFF). A value
// beyond 32 bits is no colour: `fallback` is returned.
std::int32_t ToColour(std::string_view text, std::int32_t fallback);

// `text` trimmed without its first and last character; raises 5 when the
// trimmed text has fewer than two characters.
std::string InnerText(std::string_view text);

// The second-to-last character of the trimmed `text`; raises 5 when it has
// fewer than two characters.
std::string SecondToLastCharacter(std::string_view text);

// A comma list of at most `max` pieces, as the code lists, rules and groups
// split it; gives the pieces (0-based) as they stand in the text.
std::vector<std::string> SplitCommaList(std::string_view text, int max);

// A code list setting: the trimmed value split at "," into at most 100
// entries. With n > 0 entries the list is re-created with indexes 1 .. n,
// each the entry's numeric value or 0; with none it is left as it was.
void ReadCodeList(std::string_view value, CodeList& list);

// Comma list of codes to a number array: the numeric entries of `text`
// (blanks around them allowed) at indexes 0 .. k-1; a single 0 when there
// is none. Non-numeric and empty entries are skipped.
void Sub_SplitCodeList(std::string_view text, std::vector<Currency>& codes);

// The CTLFEP value of KWBDISP.ENV in the program folder (the file's name in
// any letter case; at most two characters, trimmed); an empty text when the
// file or the line is missing.
std::string Fnc_GetFepSetting();

}  // namespace qz

#endif  // QZ_EXAMINEE_SETTING_FORMS_H_
