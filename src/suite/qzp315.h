// QZP315: the suite's calculation library for calculated items. The program
// hands it one area of exactly 50 bytes (CP932) that it changes in place:
//
//   bytes  1-3   calculation pattern, three digits (in)
//   bytes  4-13  operand 1, right-justified; all blanks when unused (in)
//   bytes 14-23  operand 2, the same (in)
//   bytes 24-33  operand 3, the same (in)
//   byte  34     examinee sex (in)
//   bytes 35-37  examinee age, three digits (in)
//   byte  38     rounding class (in)
//   bytes 39-40  digit format: integer digits, decimals (in)
//   bytes 41-50  computed value, right-justified; blanks when none (out)
//
// Patterns of this stand-in:
//   1  body-mass index: operand 2 (weight, kg) / (operand 1 (height, cm) /
//      100) squared
//   2  sum of the operands given
//   3  operand 1 - operand 2
//   4  operand 1 / operand 2
// The result has exactly the decimals of the digit format, reached
// by the rounding class: 0 rounds half away from zero, 1 rounds up (away
// from zero), 2 cuts; any other class rounds as 0. The value is worked out
// in double precision and read to 15 significant digits before rounding, so
// 0.1 + 0.2 is 0.3. An unknown pattern, a missing or non-numeric operand the
// pattern needs, a division by zero, or a result longer than 10 characters
// leaves bytes 41-50 blank.
//
// Every call is recorded in the call log (call_log.h) as "QZP315 <area as
// passed, UTF-8>". A test may replace the answer. Single-threaded use.
#ifndef QZ_SUITE_QZP315_H_
#define QZ_SUITE_QZP315_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qz::suite {

inline constexpr std::size_t kQzp315AreaLength = 50;

// Precondition: `area` holds the 50 bytes above (a shorter area is
// blank-padded, a longer one cut). Writes bytes 41-50.
void QZP315(std::string& area);

// Replaces the calculation: `answer` gets the area (50 bytes, as passed)
// and gives bytes 41-50 (cut or blank-padded to 10). nullptr: the stand-in's
// own calculation again.
void SetQzp315AnswerForTest(std::function<std::string(std::string_view area)> answer);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZP315_H_
