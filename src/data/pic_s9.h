// Signed zoned-decimal text to ordinary number text (`Sub_CnvPicS9`).
//
// A zoned text is a run of digits whose last character carries the sign in
// the upper four bits of its code page code: zone 3 or 4 is positive, zone 5
// negative, and the lower four bits are the last digit. So the last
// character is 0 to 9 or one of @ A to I (positive), or one of P to Y
// (negative). The judgement master stores its range limits this way.
// Pure and thread-safe.
#ifndef QZ_DATA_PIC_S9_H_
#define QZ_DATA_PIC_S9_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace qz {

// Sets Text to "-" for zone 5, then every character of Zoned but the last,
// then the last digit, and ErrorFlag to 0 ("00005000P" gives "-000050000";
// leading zeros stay). ErrorFlag 1, Text untouched, when Zoned is empty or
// its last character is not a single-byte character of zone 3, 4 or 5 with
// a digit 0 to 9.
void Sub_CnvPicS9(std::string_view Zoned, std::string& Text, std::int16_t& ErrorFlag);

}  // namespace qz

#endif  // QZ_DATA_PIC_S9_H_
