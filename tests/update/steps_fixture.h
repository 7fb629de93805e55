// The common ground of the tests of the version-up's steps: the UpdateTest
// drives and log, an installation's folders in basPublic (release D:\REL,
// programs D:\SUITE, master M:\MASTER, data D:\DATA, CSV files D:\CSV),
// and stand-ins of the suite's outside programs: small shell scripts in
// the program folder that record how they were called and then do what
// the test asks of them.
#ifndef QZ_TESTS_UPDATE_STEPS_FIXTURE_H_
#define QZ_TESTS_UPDATE_STEPS_FIXTURE_H_

#include <string>
#include <string_view>
#include <vector>

#include "update/update_fixture.h"

namespace qz::update::testing {

class StepsTest : public UpdateTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts over from a fresh installation (one case of a table).
  void Fresh() {
    TearDown();
    SetUp();
  }
  // Writes the script stand-in `file` (a path in the suite's form, such as
  // "D:\SUITE\qzpcsv"): it appends its own name and its arguments as one
  // line to the call record, then runs `body` (sh). In `body`, $DATA and
  // $CSV are the data and CSV folders of this machine (closing "/").
  void WriteProgram(std::string_view file, std::string_view body = {}) const;
  // The call record: "<name> <arguments>" per call, in order.
  std::vector<std::string> Calls() const;
  // Writes Update.INI of the release (CP932).
  void WriteUpdateIni(std::string_view text) const;
  // Whether the file (suite's form) exists.
  bool Exists(std::string_view suite_path) const;
  // The log texts from `from` on, up to the first line equal to `until`
  // (included; the rest when absent).
  std::vector<std::string> LogFrom(std::string_view from, std::string_view until = {}) const;
};

}  // namespace qz::update::testing

#endif  // QZ_TESTS_UPDATE_STEPS_FIXTURE_H_
