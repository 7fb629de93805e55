// The version-up end to end, as an administrator runs it: a demo centre's
// installation (made with the demo data of the tests' kit), a release that
// widens the results file's records, and the suite's conversion programs as
// real processes (the qzpconv stand-ins on the record manager).
#ifndef QZ_TESTS_UPDATE_END_TO_END_FIXTURE_H_
#define QZ_TESTS_UPDATE_END_TO_END_FIXTURE_H_

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kit/suite_builder.h"
#include "update/update_fixture.h"

namespace qz::update::testing {

inline constexpr const char* kStandIns[] = {"QZPCSV.EXE", "QZPCBR85.EXE", "QZPCLR.EXE", "QZPGENCNV.EXE", "QZPCNV.EXE"};
inline constexpr int kOldLength = 288;  // the results record before the release
inline constexpr int kNewLength = 300;  // and after: 12 bytes of a numeric field added

// The bytes of `file` ("" when it cannot be read).
std::string Slurp(const std::filesystem::path& file);
// Writes `bytes` to `file`, making its folders.
void Spit(const std::filesystem::path& file, const std::string& bytes);

// Every file of a folder tree with its bytes.
using Snapshot = std::map<std::string, std::string>;
Snapshot Files(const std::filesystem::path& folder);

// Every record of every data file, in key order, by definition name.
using Records = std::map<std::string, std::vector<std::string>>;

class EndToEndTest : public UpdateTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The centre as installed: the folders the version-up needs, the
  // installed version, the conversion definition of every data file and the
  // five conversion programs in the program folder.
  void MakeInstallation(const std::string& tool);

  // The record-manager files of the data folder, in name order, on the
  // folder's engine.
  std::vector<std::string> DataFiles() const;

  // The [STORAGE] entries of the data and work folders in the definitions
  // file `spec` ("" for a folder without one: an SQLite folder).
  std::vector<std::string> StorageOf(const std::string& spec) const;

  // Whether the data folder is on the server.
  bool OnServer() const;

  // What the data folder holds: every file with its bytes and, for a folder
  // on the server, every record of each record file by the file's name.
  Snapshot DataState() const;

  // QZPCSV.INI naming every data file; with `numeric` the results file's
  // new field is numeric (for the numeric initialisation).
  std::string Definition(bool numeric) const;

  // The release: Update.INI with a conversion of every data file around the
  // copy of the new definitions (the results record widened), a master
  // import, a numeric initialisation of the new field and an external edit
  // of the program's settings.
  void MakeRelease();

  // The first findings record with its last byte outside every key changed:
  // the master row the release brings (mode 2 replaces the record).
  std::string ChangedFindingsRecord() const;

  // The definition reading `file` in the order of its first key.
  std::string KeyOrder(const std::string& file) const;

  // Every record of every data file under the definitions `spec`.
  Records ReadRecords(const std::string& spec) const;

  // What the run must leave as it was when it fails.
  struct Installed {
    Snapshot data;
    std::string spec, csv_ini, version, p140_ini;
    Snapshot program;
    Snapshot csv;
  };
  Installed Take() const;

  // Replaces conversion program `name` (QZPCLR) by a script that runs
  // `before` and then the stand-in.
  void WrapProgram(const std::string& name, const std::string& before);

  // Runs Update on the installation as `Update <program folder>` does;
  // returns its exit status.
  int RunUpdate();

  std::string centre_;
  testkit::SuitePaths paths_;
  std::filesystem::path program_, data_, csv_, release_;
};

}  // namespace qz::update::testing

#endif  // QZ_TESTS_UPDATE_END_TO_END_FIXTURE_H_
