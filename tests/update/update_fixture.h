// The common ground of the version-up tests: a scratch folder standing in
// for the drives (C:, D:, M: are its folders C, D, M), a fixed clock, a
// scripted shell, a fresh basPublic with its file-system object and an
// initialised run log, and readers of the log.
#ifndef QZ_TESTS_UPDATE_UPDATE_FIXTURE_H_
#define QZ_TESTS_UPDATE_UPDATE_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "kit/scratch_dir.h"
#include "platform/ui/scripted_shell.h"

namespace qz::update::testing {

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A release in D:\REL (program "Update", its Update.INI holding
  // `update_ini`) and an installation in D:\SUITE: QZPPATH.INI naming
  // M:\MASTER\, ..\DATA\ (D:\DATA), D:\CSV and D:\SUITE\CPFSPEC.INI, with
  // those folders and files and QZPCSV.INI. Sets App() for the release.
  void MakeInstallation(std::string_view update_ini = "[Setting]\r\nVersionCheck=0\r\n");
  void WritePathIni(const std::string& entries) const;

  // The file of this machine for a path in the suite's form ("D:\A\B.TXT").
  std::string Host(std::string_view suite_path) const;
  // Writes `bytes` (UTF-8 text is written as CP932 when `cp932`) to the file
  // named in the suite's form.
  void WriteFile(std::string_view suite_path, std::string_view bytes, bool cp932 = false) const;
  std::string ReadFile(std::string_view suite_path) const;
  // Sets the last-write time of a file to 2026-12-09 10:00:00 + `seconds`.
  void SetWriteTime(std::string_view suite_path, int seconds) const;

  // The log's lines with their time stamps removed ("" for spacer lines).
  std::vector<std::string> LogTexts() const;
  // The log's lines as written, decoded from CP932.
  std::vector<std::string> LogLines() const;
  // Whether some log line (stamp removed) equals `text`.
  bool Logged(std::string_view text) const;
  // Forgets the lines logged so far (LogTexts starts after them).
  void MarkLog();

  testkit::ScratchDir dir_;
  ui::ScriptedShell shell_;
  std::size_t log_mark_ = 0;
  bool entered_ = false;
};

}  // namespace qz::update::testing

#endif  // QZ_TESTS_UPDATE_UPDATE_FIXTURE_H_
