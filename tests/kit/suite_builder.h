// SuiteBuilder: makes a complete suite folder tree for tests and the demo
// data tool, from a compact description of its records.
//
//   qz::testkit::SuiteBuilder b;                 // a fresh temporary folder
//   b.Add("QZJSNLF", {{"CODE", "0000000001"}, {"NAME", "山田 太郎"}, {"SEX", 1}});
//   const auto& paths = b.Build();
//   b.ApplyPaths();                              // basPublic.VlmfPath ...
//
// The tree: the program folder (QZP140.INI, QZPPATH.ini, CPFSPEC.INI,
// KWBDISP.ENV, all CP932), the data folder with every record-manager file
// of record_layouts.h (work files aside), the work folder with the two
// preview files and the reservation database (no bookings unless described
// with AddReservation, reservation_database.h). Records are written through
// BtrAccess with the layouts' fields; a field not described is 0 (numeric)
// or blank (text).
//
// A temporary tree is removed when the builder is destroyed unless Keep()
// was called; a tree in a folder passed to the constructor is kept.
//
// With the environment variable QZ_SUITE_ENGINE=postgres (and QZ_TEST_PG
// naming the test server, see pg_server.h) the data and work folders are
// schemas of that server (CPFSPEC.INI [STORAGE]), dropped with a temporary
// tree; every test built on the tree then runs on PostgreSQL.
#ifndef QZ_TESTKIT_SUITE_BUILDER_H_
#define QZ_TESTKIT_SUITE_BUILDER_H_

#include <cstdint>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/record_layouts.h"
#include "platform/record/btr_access.h"

namespace qz::testkit {

// The value of one field in a record description: text (UTF-8) or a whole
// number.
class FieldInit {
 public:
  FieldInit(const char* text) : text_(text) {}
  FieldInit(std::string text) : text_(std::move(text)) {}
  FieldInit(std::string_view text) : text_(text) {}
  FieldInit(int number) : is_number_(true), number_(number) {}
  FieldInit(long number) : is_number_(true), number_(number) {}
  FieldInit(long long number) : is_number_(true), number_(number) {}

  bool is_number() const { return is_number_; }
  const std::string& text() const { return text_; }
  std::int64_t number() const { return number_; }

 private:
  bool is_number_ = false;
  std::string text_;
  std::int64_t number_ = 0;
};

struct FieldSet {
  std::string name;
  FieldInit value;
};

using RecordInit = std::vector<FieldSet>;

// The folders and files of a built tree. Folders end with "/".
struct SuitePaths {
  std::string root;
  std::string program;   // program folder (VLMP)
  std::string data;      // data folder (VLMF)
  std::string work;      // preview work folder (SVWORK)
  std::string hope;      // HOPE
  std::string reserve;   // RESERVE (the reservation database file)
  std::string spec_file; // CPFSPEC.INI ("CPFSPEC ")
  std::string path_ini;  // QZPPATH.ini
  std::string p140_ini;  // QZP140.INI
};

class SuiteBuilder {
 public:
  // `root` empty makes a fresh folder under the temporary directory.
  explicit SuiteBuilder(std::string root = {});
  ~SuiteBuilder();

  SuiteBuilder(const SuiteBuilder&) = delete;
  SuiteBuilder& operator=(const SuiteBuilder&) = delete;

  // Describes one record of `layout`: a layout name or a definition name
  // (for a definition with several record kinds, the first of its layouts
  // that declares every field named). Before Build the record is kept;
  // after Build it is written at once. Throws std::invalid_argument for an
  // unknown layout or field, std::runtime_error when the write fails.
  SuiteBuilder& Add(std::string_view layout, std::initializer_list<FieldSet> fields);
  SuiteBuilder& Add(std::string_view layout, const RecordInit& fields);

  // An entry of QZP140.INI (written by Build; [SysInfo] MenuCheck=0 is
  // there unless replaced).
  SuiteBuilder& SetIni(std::string_view section, std::string_view key, std::string_view value);
  // Replaces or, with `present` false, leaves out a key of QZPPATH.ini
  // [FILE_PATH] (HOPE, VLMP, VLMF, "CPFSPEC ", RESERVE, SVWORK).
  SuiteBuilder& SetPathKey(std::string_view key, std::string_view value, bool present = true);
  // Leaves the record-manager file `file` (e.g. "QZKOMLF.BTR") out of the
  // tree. Records described for it are dropped.
  SuiteBuilder& Omit(std::string_view file);
  // The text of KWBDISP.ENV (default "CTLFEP  K").
  SuiteBuilder& SetKwbDisp(std::string_view text);
  // Puts the data and work folders into fresh schemas of the PostgreSQL
  // server that `conninfo` reaches, whatever QZ_SUITE_ENGINE says. Before
  // Build.
  SuiteBuilder& OnServer(std::string conninfo);

  // Writes the tree. Throws std::runtime_error when a file cannot be made.
  const SuitePaths& Build();

  // Sets the path fields of basPublic (HopePath ... SvworkPath) to this
  // tree's folders. Needs Build.
  void ApplyPaths() const;

  const SuitePaths& paths() const { return paths_; }
  void Keep() { keep_ = true; }

 private:
  struct Pending {
    const data::FileLayout* layout;
    RecordInit fields;
  };

  const data::FileLayout* Resolve(std::string_view layout, const RecordInit& fields) const;
  void WriteRecords(const std::vector<Pending>& records) const;
  void InsertRecord(record::BtrAccess& obj, const Pending& p) const;
  void WriteIniFiles() const;
  void CreateFiles() const;

  SuitePaths paths_;
  bool temporary_ = false;
  bool keep_ = false;
  bool built_ = false;
  std::vector<Pending> pending_;
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> p140_;
  std::vector<std::pair<std::string, std::string>> path_keys_;
  std::set<std::string> omitted_;
  std::string kwbdisp_ = "CTLFEP  K";
  std::vector<std::string> schemas_;  // data, work: on PostgreSQL
  std::string server_;  // the connection string of their server; empty: QZ_TEST_PG's
};

}  // namespace qz::testkit

#endif  // QZ_TESTKIT_SUITE_BUILDER_H_
