// QZP310: the suite's judgement library. The program hands it one area of
// exactly 39 bytes (CP932) that it changes in place:
//
//   bytes  1-10  item number, ten digits (in)
//   bytes 11-18  consultation date yyyymmdd (in)
//   byte  19     examinee sex, one digit (in)
//   bytes 20-22  examinee age, three digits (in)
//   bytes 23-32  result value, left-justified, blank-padded (in)
//   bytes 33-38  findings code, six digits (out)
//   byte  39     status (out): "1" judged, "0" not judged
//
// This stand-in judges a numeric value against the item's standard range
// for the examinee's sex and age on the consultation date (the judgement
// master QZHATLF, through the program's open master basFileAccess.
// QZHATLFObj): findings code 1 for a value inside the range, 2 below its
// lower limit, 3 above its upper limit (an upper limit of 99999.9999 is
// none). The findings master of a judged item's finding type holds those
// codes with their texts and judgement codes; the program turns a code into
// its text, judgement and mark. A value that is no number, an item without
// a range, or an area that does not read gives status "0" and six blank
// findings-code bytes.
//
// Every call is recorded in the call log (call_log.h) as "QZP310 <area as
// passed, UTF-8>". A test may replace the answer. Single-threaded use.
#ifndef QZ_SUITE_QZP310_H_
#define QZ_SUITE_QZP310_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qz::suite {

inline constexpr std::size_t kQzp310AreaLength = 39;

// Findings codes of the stand-in's judgement.
inline constexpr int kQzp310InRange = 1;
inline constexpr int kQzp310BelowRange = 2;
inline constexpr int kQzp310AboveRange = 3;

// Precondition: `area` holds the 39 bytes above (a shorter area is
// blank-padded, a longer one cut). Writes bytes 33-39.
void QZP310(std::string& area);

// Replaces the judgement: `answer` gets the area (39 bytes, as passed) and
// gives bytes 33-39 (seven bytes, cut or blank-padded). nullptr: the
// stand-in's own judgement again.
void SetQzp310AnswerForTest(std::function<std::string(std::string_view area)> answer);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZP310_H_
