// A scratch data folder with a definitions file for a few record-manager
// files, for tests of routines that read one or two masters. Each file has
// one unique key; records are written through BtrAccess with the few
// fields a test declares.
#ifndef QZ_TESTS_DATA_TINY_SUITE_H_
#define QZ_TESTS_DATA_TINY_SUITE_H_

#include <string>
#include <string_view>
#include <vector>

#include "kit/scratch_dir.h"
#include "platform/record/definitions.h"

namespace qz::testkit {

class TinySuite {
 public:
  // Adds `file` under `definition` (key 0 = `key`) to the definitions file
  // and creates it empty. Fails the test when it cannot.
  void AddFile(std::string_view file, std::string_view definition, int record_length,
               std::vector<record::KeySegment> key);

  // The data folder, which also holds the definitions file.
  const std::string& folder() const { return dir_.path(); }

 private:
  ScratchDir dir_;
  record::Definitions defs_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_DATA_TINY_SUITE_H_
