// A suite for the findings search: findings of two types in two tabs, the
// tab master, the judgement codes of the settings record and one user; the
// masters the dialog and the apply read are open, the settings record is
// current. basPublic, basFileAccess and the dialog slot start fresh; the
// clock is fixed.
#ifndef QZ_TESTS_JUDGEMENT_SYO_SEARCH_FIXTURE_H_
#define QZ_TESTS_JUDGEMENT_SYO_SEARCH_FIXTURE_H_

#include <gtest/gtest.h>

#include "kit/suite_builder.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testkit {

// Findings type 12 (tabs 1 "胸部" default and 2 "腹部") has these rows
// (typed code, text, judgement, title, tab): A01 "所見なし" 1 / A02 "軽度肥大"
// 2 / A03 "要精査" 4 in tab 1 (A00 "見出し" a title row), B01 "胆石" 3 and
// B02 "ポリープ" 2 in tab 2; findings codes 1..6 in that order, and code
// 7 twice (C01 "嚢胞" in tab 2, C02 "嚢胞（多発）" in tab 1). Type 13 has one row. Type 99
// has none.
// Judgements: 1 "Ａ" B, 2 "Ｂ" R, 3 "Ｃ" P, 4 "Ｄ" K; 5 has no slot.
// User "U01" is "検査 太郎".
class SyoSearchTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ui::ScriptedShell shell;
  SuiteBuilder suite;
};

}  // namespace qz::testkit

#endif  // QZ_TESTS_JUDGEMENT_SYO_SEARCH_FIXTURE_H_
