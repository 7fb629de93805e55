// QZP206: the suite's report-request library. The report dialog hands it a
// request of two fixed 58-byte records (CP932) before it starts a report
// program:
//
//   record 1  bytes 1-10 examinee number, 11-18 consultation date yyyymmdd,
//             19-28 blanks, 29 report class, 30-58 blanks
//   record 2  bytes 1-10 "**********", 11-28 blanks, 29 report class,
//             30-58 blanks
//
// Nothing is read back. This stand-in takes the records and records every
// call in the call log (call_log.h) as "QZP206 <record as UTF-8>".
// Single-threaded use, like the program.
#ifndef QZ_SUITE_QZP206_H_
#define QZ_SUITE_QZP206_H_

#include <cstddef>
#include <string_view>

namespace qz::suite {

inline constexpr std::size_t kQzp206RecordLength = 58;

// Takes one request record (CP932 bytes; a shorter one is blank-padded,
// a longer one cut to 58 bytes).
void QZP206(std::string_view record);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZP206_H_
