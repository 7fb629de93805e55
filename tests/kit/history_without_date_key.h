// The consultation history of a suite as a release before its date key
// made it: the history file QZJRKLF.BTR rebuilt without the key, holding the
// same records, and the definitions file without it too, or keeping it (a
// release that brought the key without rebuilding the file).
#ifndef QZ_TESTKIT_HISTORY_WITHOUT_DATE_KEY_H_
#define QZ_TESTKIT_HISTORY_WITHOUT_DATE_KEY_H_

#include <string>

namespace qz::testkit {

// Rebuilds QZJRKLF.BTR of `data_folder` without the date key of the
// definitions file `spec_file` and writes those definitions without it
// unless `keep_definitions`. Returns "" when done, else what failed.
std::string MakeHistoryWithoutDateKey(const std::string& spec_file, const std::string& data_folder,
                                      bool keep_definitions);

}  // namespace qz::testkit

#endif  // QZ_TESTKIT_HISTORY_WITHOUT_DATE_KEY_H_
