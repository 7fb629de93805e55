// QZP149B: the suite's result-import customisation, called after the
// automatic-judgement programs with a link area of exactly 19 characters:
//
//   bytes  1-10  examinee number
//   bytes 11-18  consultation date yyyymmdd
//   byte  19     "1"
//
// The library may change the preview results work file QJKKKLF further
// before the result screen reads it back; nothing comes back in the area.
// This stand-in has no customisation: it only records the call in the call
// log (call_log.h) as "QZP149B <area as passed>". A test may give it work
// to do on the work file. Single-threaded use, like the program.
#ifndef QZ_SUITE_QZP149B_H_
#define QZ_SUITE_QZP149B_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qz::suite {

inline constexpr std::size_t kQzp149bAreaLength = 19;

// Precondition: `area` holds the 19 characters above (a shorter area is
// blank-padded, a longer one cut). The area is not changed otherwise.
void QZP149B(std::string& area);

// Replaces the customisation: `work` gets the area as passed. nullptr: none
// again.
void SetQzp149bWorkForTest(std::function<void(std::string_view area)> work);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZP149B_H_
