// The test bed of the save: the loading bed (suite folder, masters open,
// scripted shell, fixed clock) with the settings record read, the computer
// name fixed, and a consultation put on screen by hand: the items, their
// current results and the grid lines that show them.
//
// A test describes records on `bed.suite`, calls Open(), then Show() with
// its items. Read-backs go through fresh data-access objects, as another
// program would read the files.
#ifndef QZ_TESTS_EXAMINEE_SAVE_FIXTURE_H_
#define QZ_TESTS_EXAMINEE_SAVE_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kit/suite_builder.h"
#include "loading/consult_records.h"
#include "loading/load_fixture.h"
#include "platform/record/btr_access.h"

namespace qz::testing {

inline constexpr const char* kTerminal = "TERM01";

// Makes `operations` ("INSERT", "UPDATE", "DELETE") on the records of the
// record-manager file at `path` fail, as a full disk would, once `allowed`
// of them have gone through within one transaction, on the engine that the
// definitions file of basPublic.SpecPath gives the file's folder (SQLite
// without one). HealWrites with the same operations ends it.
void FailWritesAfter(const std::string& path, const std::vector<std::string>& operations, int allowed);
void HealWrites(const std::string& path, const std::vector<std::string>& operations);

// Makes every read of the record-manager file at `path` fail (its table is
// renamed away, on SQLite and on the server alike), as a damaged or
// unreachable file would; HealReads gives it back.
void FailReads(const std::string& path);
void HealReads(const std::string& path);

// One item on screen: its record, its current result and whether it is a
// grid line.
struct ShownItem {
  KomInfo item;
  KekkaData result;
  bool shown = true;
};

// A numeric item `code` named `name` with digit format `stype` and
// the logon user's right to enter it.
KomInfo NumericItem(long long code, std::string name, std::string stype = "31");

class SaveBed {
 public:
  SaveBed();
  ~SaveBed();
  SaveBed(const SaveBed&) = delete;
  SaveBed& operator=(const SaveBed&) = delete;

  // The examinee kExaminee (ZNKDAT `latest`, organisation 501, sex 2), the
  // system records; then builds and opens. The consultation column 0 is
  // kToday.
  void Open(int latest = 20251201);

  // Puts `items` on screen in this order; the shown ones are grid lines
  // 1, 2 ... in order.
  void Show(const std::vector<ShownItem>& items);

  // A fresh object on `layout` (a layout name) positioned by GetEqual on
  // `key`; null when no record has the key.
  std::unique_ptr<record::BtrAccess> Read(std::string_view layout, const testkit::RecordInit& key) const;
  // Every record of `layout`'s file in key order, as bytes.
  std::vector<std::string> Dump(std::string_view layout) const;

  // Makes the inserts into `file` in the data folder fail (as a full disk
  // would) once `allowed` inserts have gone in within one transaction.
  void FailInsertsAfter(std::string_view file, int allowed) const;
  // Makes the deletes from `file` refused the same way once `allowed`
  // deletes have gone through.
  void FailDeletesAfter(std::string_view file, int allowed) const;

  // The text of every message box so far.
  std::vector<std::string> Boxes() const { return bed.Boxes(); }

  LoadBed bed;
  int unloads = 0;  // times the main form was unloaded
};

}  // namespace qz::testing

#endif  // QZ_TESTS_EXAMINEE_SAVE_FIXTURE_H_
