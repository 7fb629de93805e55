// basPublic: the program-wide state of the result-input program. The settings
// are written once at start by the settings reader and only read afterwards;
// the cycle values (examinee, date, on-line number) are written by the
// examinee selection and cleared at the end of each examinee cycle.
//
// One instance, `basPublic`. Tests reset it with `basPublic = BasPublic{}`.
#ifndef QZ_EXAMINEE_BAS_PUBLIC_H_
#define QZ_EXAMINEE_BAS_PUBLIC_H_

#include <cstdint>
#include <string>

namespace qz {

struct BasPublic {
  // --- Settings read at start -------------------------------------------
  std::string FepSetting;                 // CTLFEP of KWBDISP.ENV; "K" romaji input
  std::string ChkStr = "V";               // mark of a checked done-check cell
  std::int32_t ColorPast = 0;             // back colour of rows of earlier-only items
  std::int32_t GuideInterval = 0;         // blink interval of the progress window, ms (0 until read)
  std::string CopyRight;                  // copyright line of the progress window

  // Fixed layout of the result grid.
  std::int16_t DataRow = 4;               // first item row
  std::int16_t ChkCol = 7;                // done-check column
};

extern BasPublic basPublic;

}  // namespace qz

#endif  // QZ_EXAMINEE_BAS_PUBLIC_H_
