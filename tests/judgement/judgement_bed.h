// The test bed of the judgement routines: a suite folder with the settings
// record (judgements 1 to 5 with marks Ａ to Ｅ), a user, findings and
// judgement-master rows, the masters opened through basFileAccess and the
// settings object on the settings record; an item table, result matrix and
// grid rows that the test describes item by item; the main form for the
// grid and the status label; a scripted shell answering every box; the
// clock fixed.
//
// A test adds items with Add(), then calls Finish(), which creates the
// result matrix, shows every item as a grid row (unless hidden), fills
// GroupItems and OverallItem from the kind-4 items and CalcItems from the
// operands. The destructor resets every global it touched. One bed at a
// time.
#ifndef QZ_TESTS_JUDGEMENT_JUDGEMENT_BED_H_
#define QZ_TESTS_JUDGEMENT_JUDGEMENT_BED_H_

#include <cstdint>
#include <string>
#include <vector>

#include "kit/suite_builder.h"
#include "loading/consult_records.h"
#include "platform/clock/clock.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {

// The clock of the bed and the consultation date.
inline const LocalDateTime kBedNow{2026, 12, 9, 10, 30, 15, 0};
inline constexpr const char* kBedDate = "20261209";
inline constexpr const char* kBedUser = "USER01";
inline constexpr const char* kBedUserName = "検査 花子";
// The colour of colour letter k (B R P T W A K C E O) in basPublic.ColorTable.
std::int32_t LetterColor(char letter);

// Finding types of the bed's findings master.
inline constexpr int kTypeNumeric = 500;   // codes 1 in range (A), 2 below (B), 3 above (D), 9 judgement 7 (no mark)
inline constexpr int kTypeJudgement = 600; // judgement findings: 1 A, 2 B, 3 C (twice), 6 E
inline constexpr int kTypeFindings = 700;  // typed codes: "001" heading, "002" default (A), "003" C
inline constexpr int kTypeNoDefault = 800; // one ordinary finding, no default

class JudgementBed {
 public:
  JudgementBed();
  ~JudgementBed();
  JudgementBed(const JudgementBed&) = delete;
  JudgementBed& operator=(const JudgementBed&) = delete;

  // Builds the suite, opens the masters, positions the settings object.
  void Open();

  // Appends `item` to the item table (Editable set, unless `editable` is
  // false); `hidden` items get no grid row. Returns its index.
  std::int16_t Add(KomInfo item, bool hidden = false, bool editable = true);
  // A numeric item of decision group `group`.
  static KomInfo Numeric(long long code, std::int16_t group, const char* name = "項目");
  // A group item of group `group` (its number 9999999ggg), member of 999.
  static KomInfo GroupItem(std::int16_t group, const char* name);
  // The overall item 9999999999 (kind 4, in no group).
  static KomInfo OverallItem();
  // A findings item of finding type `type`, in no decision group.
  static KomInfo Findings(long long code, int type, const char* name);

  // Creates the tables and grid rows for the items added.
  void Finish();

  KekkaData& Result(std::int16_t item);
  // The text of column `col` on the grid row of `item`.
  std::string Cell(std::int16_t item, int col) const;
  std::int32_t Fore(std::int16_t item, int col) const;
  std::int32_t RowOf(std::int16_t item) const;
  std::vector<std::string> Boxes() const;
  std::string Status() const;
  // Makes every later read of record-manager file `file` (e.g. "QZSYOLF.BTR")
  // fail with a status other than 0, 4 and 9, as a damaged file does.
  void DamageFile(const std::string& file) const;

  testkit::SuiteBuilder suite;
  ui::ScriptedShell shell;

 private:
  std::vector<bool> hidden_;
  std::string previous_cwd_;
};

}  // namespace qz::testing

#endif  // QZ_TESTS_JUDGEMENT_JUDGEMENT_BED_H_
