// QZPCLR: the suite's work-file initialisation, called with a link area of
// exactly 10 characters that it changes in place:
//
//   bytes 1-8   work-file name, left-justified, blank-padded (in); all
//               blanks: the initialisation of the program start
//   bytes 9-10  status, two characters (out)
//
// The program start passes 10 blanks and accepts "00", "05" and two blanks;
// the preview passes a work-file name and accepts "00" only.
//
// This stand-in empties the named work file, "<name>.BTR" in the work folder
// (basPublic.SvworkPath) under the definition <name> (definitions in
// basPublic.SpecPath), in one transaction, and answers "00" (also for a
// file that does not open: there is nothing in it to keep); a file that
// cannot be emptied answers "05" and is left as it was. All
// blanks (the program start) has nothing to initialise and answers "00". A
// test may set the answer instead (nothing is emptied then); every call is
// recorded in the call log (call_log.h) as "QZPCLR <area as passed>".
#ifndef QZ_SUITE_QZPCLR_H_
#define QZ_SUITE_QZPCLR_H_

#include <functional>
#include <string>
#include <string_view>

namespace qz::suite {

// Precondition: `area` holds 10 characters (a shorter area is blank-padded
// to 10 first, a longer one cut). Writes the status into bytes 9-10.
void QZPCLR(std::string& area);

// Replaces the answer: `status` gets the work-file name (bytes 1-8, blanks
// kept) and gives the two status characters (cut or blank-padded to 2).
// nullptr: "00" again.
void SetQzpclrStatusForTest(std::function<std::string(std::string_view work_file)> status);

}  // namespace qz::suite

#endif  // QZ_SUITE_QZPCLR_H_
