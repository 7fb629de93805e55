// A fresh folder for one test, removed with everything in it when the test
// ends, with small helpers to write and read its files. While a ScratchDir
// is the current folder (Enter), the previous one is restored at the end.
#ifndef QZ_TESTS_KIT_SCRATCH_DIR_H_
#define QZ_TESTS_KIT_SCRATCH_DIR_H_

#include <string>
#include <string_view>

namespace qz::testkit {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The folder's absolute path (no closing "/").
  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string Path(std::string_view name) const;

  // Writes `bytes` to `name` (folders on the way are created).
  void Write(std::string_view name, std::string_view bytes) const;
  // Writes an executable script.
  void WriteScript(std::string_view name, std::string_view text) const;
  // The bytes of `name`; empty when missing.
  std::string Read(std::string_view name) const;

  // Makes the folder the current one until the ScratchDir goes.
  void Enter();

 private:
  std::string path_;
  std::string previous_cwd_;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_KIT_SCRATCH_DIR_H_
