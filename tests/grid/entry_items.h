// Items of the judgement test bed as the entry tests use them: a numeric
// item judged against the findings of kTypeNumeric, and a findings item
// whose typed codes are those of kTypeFindings.
#ifndef QZ_TESTS_GRID_ENTRY_ITEMS_H_
#define QZ_TESTS_GRID_ENTRY_ITEMS_H_

#include "judgement/judgement_bed.h"
#include "loading/consult_records.h"

namespace qz::testing {

inline KomInfo JudgedNumeric(long long code, const char* name = "ＢＭＩ", std::int16_t group = 0) {
  KomInfo k = JudgementBed::Numeric(code, group, name);
  k.Jhkbn = 1;
  k.Skomcd = Currency(kTypeNumeric);
  return k;
}

inline KomInfo FindingsItem(long long code) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = "胸部所見";
  k.Ksyub = kKsyubFindings;
  k.Skomcd = Currency(kTypeFindings);
  k.Jhkbn = 1;
  return k;
}

}  // namespace qz::testing

#endif  // QZ_TESTS_GRID_ENTRY_ITEMS_H_
