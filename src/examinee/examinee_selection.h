// The examinee selection of the result screen: every examinee cycle starts
// from the program's command line or from the suite's search screen, and
// ends in the load driver (loading/load_driver.h). The handlers are members
// of the main form (Form_Activate, SearchDysp_SearchResult,
// ShowSearchScreen; frm_result_in.h); this header holds the reading of the
// command line.
//
// The command line (the program's argument text as given):
//   characters 1-10   the examinee number, taken unchanged (blanks kept),
//                     or a hospital patient ID when character 11 is "I";
//   last 8            the consultation date yyyymmdd, used only when the
//                     whole text is at least 18 characters long; shorter
//                     texts take the examinee's latest consultation.
#ifndef QZ_EXAMINEE_EXAMINEE_SELECTION_H_
#define QZ_EXAMINEE_EXAMINEE_SELECTION_H_

#include <optional>
#include <string>
#include <string_view>

namespace qz {

struct CommandLineExaminee {
  std::string Number;             // characters 1-10
  bool IsPatientId = false;       // character 11 is "I"
  std::optional<std::string> DateText;  // the last 8 characters, when the text has 18 or more
};

// Reads `command` (precondition: not empty after trimming). Characters are
// counted as the code page's characters, as the suite's programs get their
// command line: one for each character (also one outside the code page),
// never in bytes or UTF-16 units.
CommandLineExaminee ReadCommandLine(std::string_view command);

}  // namespace qz

#endif  // QZ_EXAMINEE_EXAMINEE_SELECTION_H_
