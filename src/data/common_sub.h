// basCommonSub: the small shared routines of both programs that touch no
// window: the computer name, cutting a number to a digit format,
// splitting a delimited text and changing the current folder.
//
// Any caller may use them. Fnc_CutToDigits and Fnc_SplitDelimited raise
// RunTimeError (type mismatch) for a text that is not a number, which goes
// up to the caller's own error report; Fnc_ChangeDir never raises.
#ifndef QZ_DATA_COMMON_SUB_H_
#define QZ_DATA_COMMON_SUB_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// This computer's name (see platform/system/system_info.h).
std::string Fnc_GetComputerName();

// Cuts `value` (a decimal number as text) to the digit format `spec`,
// read as a two-digit number: its tens digit is the number of integer digits
// i, its units digit the number of decimals d. Digits beyond d decimals are
// dropped (toward zero), integer digits beyond i are dropped from the left,
// the sign is kept. Computed in decimal, so 0.29 with "12" stays 0.29.
// Returns the shortest decimal text ("234.5", "12", "0.5", "-3"; "0" for
// zero). Throws RunTimeError(kErrTypeMismatch) when `value` or `spec` is not
// a number.
std::string Fnc_CutToDigits(std::string_view value, std::string_view spec);

// Splits `text` at `sep` into at most `max_text` (a whole number as text)
// items. With a non-empty `quote`, an item that begins with a quote (blanks
// before it skipped) is the text up to the next quote, and what follows up to
// the separator is dropped; an item without a quote is taken as it stands.
// Items keep their blanks; two separators in a row enclose an empty item, a
// text ending in a separator ends with an empty item, an empty text has none.
//
// On return `items` has max + 1 elements, items[1] .. items[count] holding
// the items (items[0] unused, the rest empty); `count` is never above the
// maximum; `rest` is the text after the last item read when the text holds
// more items than the maximum, else empty. Returns true. Throws
// RunTimeError(kErrTypeMismatch) when `max_text` is not a number and
// RunTimeError(kErrSubscript) when it is negative or above 32767.
bool Fnc_SplitDelimited(std::string_view text, std::string_view max_text, std::string_view sep,
                        std::string_view quote, std::vector<std::string>& items, std::int16_t& count,
                        std::string& rest);

// Makes `path` (the suite's or this machine's form, matched without regard
// to case) the current folder. A network path ("\\server\share") is refused
// unless `allow_network`. Returns true when the folder was changed; false on
// a refused network path or any failure (nothing is changed then); a
// failure of the system is noted with the folder (runtime/failure_note.h).
bool Fnc_ChangeDir(std::string_view path, bool allow_network);

}  // namespace qz

#endif  // QZ_DATA_COMMON_SUB_H_
