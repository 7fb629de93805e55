// The standard-range text shown beside an item (`Fnc_EditStdRange`).
//
// Each bound is edited to the item's digit format (value_digits.h,
// every decimal kept) and right-aligned in 5 bytes of the code page (blanks
// in front, nothing cut when longer). A missing lower bound is the word
// "以下" and shows as three blanks and a full-width tilde; a missing upper
// bound is "以上" and shows as a full-width tilde and three blanks. Two
// values are joined by "-", anything else by one blank.
// Pure and thread-safe.
#ifndef QZ_DATA_STD_RANGE_TEXT_H_
#define QZ_DATA_STD_RANGE_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

inline constexpr std::string_view kNoLowerBound = "以下";
inline constexpr std::string_view kNoUpperBound = "以上";

// Sets RangeText and returns 0; returns 1 with RangeText untouched when a
// bound does not fit DigitSpec (or DigitSpec is invalid).
// "3.5", "5.0", "21" gives "  3.5-  5.0"; "以下", "100", "30" gives
// "   ～   100".
std::int16_t Fnc_EditStdRange(std::string_view Lower, std::string_view Upper, std::string_view DigitSpec,
                              std::string& RangeText);

}  // namespace qz

#endif  // QZ_DATA_STD_RANGE_TEXT_H_
