// QZP016: the suite's findings-registration library. The findings dialog
// hands it one 212-byte area (CP932) when the operator registers the text
// being edited as a new finding of the findings master:
//
//   bytes   1-10   findings type, ten digits with leading zeros
//   bytes  11-12   tab number, two digits ("00": no tab)
//   bytes  13-212  findings text, blank-padded to 200 bytes
//
// The library may change the area in place; the caller reads nothing back.
// This stand-in registers nothing: it records every call in the call log
// (call_log.h) as "QZP016 <area as UTF-8>". Single-threaded use, like the
// program.
#ifndef QZ_SUITE_QZP016_H_
#define QZ_SUITE_QZP016_H_

#include <cstddef>
#include <string>

namespace qz::suite {

inline constexpr std::size_t kQzp016AreaLength = 212;

// Takes the area (CP932 bytes); a shorter area is blank-padded to 212
// bytes first, a longer one cut.
void QZP016(std::string& area);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZP016_H_
