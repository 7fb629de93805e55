// The records of the consultation tables of the result screen: the item
// table (KomInfo), the result matrix (KekkaData), the consultation columns
// (JrkEntry) and the derived tables (calculated items, findings combo
// entries, input groups, group items).
//
// Plain values. A default-constructed record has every number 0, every flag
// False and every text empty: that is the state of a record just appended to
// the item table or created with the result matrix. Texts are UTF-8.
// Flags are bool (the program's True/False).
#ifndef QZ_LOADING_CONSULT_RECORDS_H_
#define QZ_LOADING_CONSULT_RECORDS_H_

#include <cstdint>
#include <string>

#include "loading/one_based.h"
#include "platform/text/currency.h"

namespace qz {

// Item kinds (Ksyub).
inline constexpr std::int16_t kKsyubNumeric = 1;
inline constexpr std::int16_t kKsyubCalculated = 2;
inline constexpr std::int16_t kKsyubFindings = 3;
inline constexpr std::int16_t kKsyubGroupJudgement = 4;

// Values of KomInfo::Past.
inline constexpr std::int16_t kPastBookedNow = 0;       // booked for the current consultation
inline constexpr std::int16_t kPastBookedEarlier = 1;   // booked only for an earlier one shown
inline constexpr std::int16_t kPastResultOnly = 2;      // only in the current stored results

// Measurement classes (KekkaData::Sokutei).
inline constexpr std::int16_t kSokuteiNone = 0;
inline constexpr std::int16_t kSokuteiNotPerformed = 1;   // "(未実施)"
inline constexpr std::int16_t kSokuteiUnmeasurable = 2;   // "(測定不能)"
inline constexpr std::int16_t kSokuteiAtOrBelow = 3;      // "≦"
inline constexpr std::int16_t kSokuteiBelow = 4;          // "＜"
inline constexpr std::int16_t kSokuteiAtOrAbove = 5;      // "≧"
inline constexpr std::int16_t kSokuteiAbove = 6;          // "＞"

// The item number of the overall judgement.
inline const Currency kOverallItemCode = Currency(9999999999LL);

// One examination item of the consultation.
struct KomInfo {
  Currency KomCode;                 // item number; the key of the table
  std::string KomName;              // item name, trailing blanks removed
  std::string Tani;                 // unit
  std::int16_t Ksyub = 0;           // item kind, kKsyub*
  std::int32_t Ngrp = 0;            // input group
  std::int16_t Hjyun = 0;           // display order within the input group
  OneBasedArray<std::int16_t, 4> Hgrp;  // decision groups 1..4
  std::string Stype;                // digit format (two digits)
  std::int16_t Jhkbn = 0;           // automatic-judgement class
  std::int32_t Pjyun = 0;           // print order
  std::int16_t Calpt = 0;           // calculation pattern
  OneBasedArray<Currency, 3> Ktaino;  // operand item numbers 1..3 (0 = none)
  std::int16_t Krkbn = 0;           // rounding class
  std::int16_t Keta = 0;            // findings digits
  std::int16_t Kekano = 0;          // 1 = no result input needed
  std::int16_t Hantno = 0;          // 1 = no judgement input needed
  std::int16_t Syokno = 0;          // 1 = no findings input needed
  Currency Skomcd;                  // findings type (0 = none)
  std::int16_t Sgkbn = 0;           // summary-findings class
  std::int16_t Sex = 0;             // sex class (0 = both)
  std::string Yuko;                 // significant-digits class
  std::string Opchk;                // "1" = checked for unperformed items
  Currency Hansyo;                  // linked judgement-finding item
  std::string StdLow;               // standard range, lower bound ("" = none)
  std::string StdHigh;              // standard range, upper bound ("" = none)
  bool Editable = false;            // Ngrp is one of the logon user's groups
  std::int16_t Past = kPastBookedNow;  // kPast*
  std::int16_t NgrpIndex = 0;       // position in InputGroups minus 1
  std::int16_t SougouDest = 0;      // -1 no rule source; 0 source; n destination index
  std::int32_t Gendate = 0;         // generation of the item master used
  std::int32_t StdGendate = 0;      // generation of the standard range used
  std::string Jlacno;               // laboratory code
  std::int16_t Monflg = 0;          // questionnaire flag
  std::int16_t Copy = 0;            // copy class

  friend bool operator==(const KomInfo&, const KomInfo&) = default;
};

// The result of one item in one consultation column.
struct KekkaData {
  std::string Knsach;               // result value
  std::string Syoken;               // findings text
  std::int16_t Hekbn = 0;           // done check: 1 set
  std::int16_t Han = 0;             // judgement code (0 = none)
  std::string Stndlw;               // lower bound stored with the result
  std::string Stndhi;               // upper bound stored with the result
  std::string Opflg;                // option flag
  std::string User;                 // last updater
  std::int32_t Ymd = 0;             // date of the last update, yyyymmdd
  std::int32_t Hms = 0;             // time of the last update, hhnnss
  std::int16_t Sokutei = kSokuteiNone;  // measurement class, kSokutei*

  friend bool operator==(const KekkaData&, const KekkaData&) = default;
};

// One consultation column: element 0 of the history is the current one.
struct JrkEntry {
  std::string Jdate;                // consultation date, yyyymmdd text
  std::int32_t Cno1 = 0;            // course number (0 ends the item walk)

  friend bool operator==(const JrkEntry&, const JrkEntry&) = default;
};

// A calculated item with the item-table indexes of its operands 1..3 (0 =
// the operand is not in the table).
struct CalcKomInfo {
  std::int16_t Item = 0;
  OneBasedArray<std::int16_t, 3> Opnd;

  friend bool operator==(const CalcKomInfo&, const CalcKomInfo&) = default;
};

// One findings combo entry of an item.
struct SyoComboInfo {
  Currency Code;                    // item number of the item it belongs to
  std::int32_t Scode = 0;           // findings code
  std::string Sykn;                 // findings text
  std::int16_t Khantei = 0;         // judgement code of the finding

  friend bool operator==(const SyoComboInfo&, const SyoComboInfo&) = default;
};

// One shown input group.
struct NgrpInfo {
  std::int32_t Ngrp = 0;            // group code
  std::string Name;                 // group name
  std::int16_t FirstItem = 0;       // item-table index of its first shown item

  friend bool operator==(const NgrpInfo&, const NgrpInfo&) = default;
};

// Where the group item of one decision group is, and its judgement.
struct GroupItemInfo {
  std::int16_t Item = 0;            // item-table index (0 = none)
  std::int16_t Han = 0;             // the group judgement last computed

  friend bool operator==(const GroupItemInfo&, const GroupItemInfo&) = default;
};

}  // namespace qz

#endif  // QZ_LOADING_CONSULT_RECORDS_H_
