// The date arithmetic of the era-date routine: Western date to era date,
// era date to Western date, and the interval between two Western dates.
//
// Pure: it works on an era table handed in and on the routine's working
// values, reads no file and shows no message. `Sub_KwbDate` (kwb_date.h) is
// the program's entry; it loads the era table and copies the caller's
// parameters in and out. Thread-safe for distinct arguments.
#ifndef QZ_DATA_ERA_DATE_H_
#define QZ_DATA_ERA_DATE_H_

#include <array>
#include <cstdint>
#include <string>

namespace qz {

// Number of era slots of the era record.
inline constexpr int kEraCount = 6;
// First day of a slot whose first day in the record is 0: it never begins.
inline constexpr std::int32_t kEraNeverStarts = 99999999;

// Error codes of the era-date routine.
enum KwbDateError : std::int16_t {
  kKwbDateOk = 0,
  kKwbDateBadMode = 1,     // Mode is not 1, 2 or 3
  kKwbDateBadKind = 2,     // mode 1: Kind outside 0 to 3
  kKwbDateBadEra = 3,      // mode 2: era outside 1 to 5, or the date lies outside it
  kKwbDateBeforeEras = 4,  // mode 1: no era covers the date
  kKwbDateBadMonth = 5,    // month outside 1 to 12
  kKwbDateBadDay = 6,      // day outside the month
  kKwbDateFailed = 7,      // the era table could not be loaded, or a run-time error
};

// The era table: era n (1-based) is entry n - 1. Its first days are in
// ascending order; era n lasts from EraStarts[n-1] to the day before
// EraStarts[n], the sixth has no end.
struct EraTable {
  std::array<std::string, kEraCount> EraNames;   // UTF-8, as read
  std::array<std::int32_t, kEraCount> EraStarts{};  // yyyymmdd, or kEraNeverStarts

  // True before the table is loaded (first name empty and first start 0).
  bool IsEmpty() const { return EraNames[0].empty() && EraStarts[0] == 0; }
};

// The routine's working values (its parameters 1 to 10 and 12). Texts are
// set unpadded here; the caller's fixed lengths are applied by Sub_KwbDate.
struct KwbDateVars {
  std::int16_t Mode = 0;
  std::int16_t Kind = 0;
  std::int32_t Date1 = 0;
  std::int32_t Date2 = 0;
  std::string InText;
  std::int16_t EraNo = 0;
  std::string EraName;
  std::string DateText;
  std::int32_t OutNo = 0;
  std::string EraText;
  std::string Note;
};

// Runs the mode in `v.Mode` against `eras` and returns the error code
// (kKwbDateOk to kKwbDateBadDay). A mode that stops on an error keeps every
// output it had not yet set. Dates are split as yyyymmdd numbers; a negative
// date has no valid month.
//
// Mode 1: Date1 yyyymmdd -> EraNo, EraName, DateText "00YYMMDD00", OutNo 0,
//   EraText by Kind (0 blank, 1 "05.03.01", 2 " 5. 3. 1", 3 "5.3.1").
// Mode 2: EraNo and Date1 eeeemmdd -> DateText "yyyymmdd00" (kept even when
//   the date lies outside the era), EraName and EraText blank, OutNo 0. An
//   era whose slot never begins gives kKwbDateBadEra at once.
// Mode 3: Kind 0 days between Date1 and Date2 counting both ends
//   ("nnnnnnnn00"); Kind 1 years, months and days ("YYYYMMDD00"); both give
//   "00000000" when Date1 is the later date. Kind 2 adds the interval
//   yyyymmdd in Date2 to Date1. Kind 0 refuses a month outside 1 to 12 in
//   either date, and Kind 2 a month sum of 0, with kKwbDateBadMonth.
std::int16_t RunKwbDate(const EraTable& eras, KwbDateVars& v);

// Days of month `month` of `year` (Gregorian); 0 for a month outside 1 to 12.
int DaysOfMonth(int year, int month);

}  // namespace qz

#endif  // QZ_DATA_ERA_DATE_H_
