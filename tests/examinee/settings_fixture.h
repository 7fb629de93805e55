// A throw-away program folder for the settings tests: a fresh temporary
// folder made the current folder and App().path, with helpers to write the
// INI files in the program's code page. The previous folder, App().path and
// basPublic are restored on destruction.
#ifndef QZ_TESTS_EXAMINEE_SETTINGS_FIXTURE_H_
#define QZ_TESTS_EXAMINEE_SETTINGS_FIXTURE_H_

#include <string>
#include <string_view>

#include "examinee/bas_public.h"
#include "kit/scratch_dir.h"

namespace qz::test {

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  // Writes `utf8` as CP932 bytes into `name` of the folder.
  void Write(std::string_view name, std::string_view utf8) const;
  const std::string& path() const { return dir_.path(); }

 private:
  testkit::ScratchDir dir_;
  std::string old_app_path_;
  BasPublic old_settings_;
};

// The golden file `name` under tests/examinee/golden; with QZ_UPDATE_GOLDEN
// set, `actual` is written there first.
std::string Golden(std::string_view name, const std::string& actual);

}  // namespace qz::test

#endif  // QZ_TESTS_EXAMINEE_SETTINGS_FIXTURE_H_
