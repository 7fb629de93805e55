// The delete list before a save: which items it lists and how (value texts,
// done marks, colours), the answers of its buttons and of its close box,
// and no dialog when nothing is listed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/save_fixture.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "tools/delete_list.h"
#include "tools/frm_del_list.h"

namespace qz::testing {
namespace {

KekkaData Value(std::string knsach, std::int16_t sokutei = 0) {
  KekkaData r;
  r.Knsach = std::move(knsach);
  r.Sokutei = sokutei;
  return r;
}

KomInfo OnlyStored(KomInfo k) {
  k.Past = kPastResultOnly;
  return k;
}

KomInfo Kind(long long code, const char* name, std::int16_t kind) {
  KomInfo k = NumericItem(code, name);
  k.Ksyub = kind;
  return k;
}

class DeleteList : public ::testing::Test {
 protected:
  DeleteList() {
    bed.Open();
    // Letters B R P T W A K C E O.
    basPublic.ColorTable = {0x0000B0, 0x0000B1, 0x0000B2, 0x0000B3, 0x0000B4,
                            0x0000B5, 0x0000B6, 0x0000B7, 0x0000B8, 0x0000B9};
  }
  ~DeleteList() override { frmDelList.Reset(); }

  std::vector<std::string> Line(int row) {
    grid::Spread& list = frmDelList->sprList;
    return {list.TextAt(1, row), list.TextAt(2, row), list.TextAt(3, row), list.TextAt(4, row)};
  }

  SaveBed bed;
};

TEST_F(DeleteList, NothingOnlyStoredShowsNoDialogAndAnswersZero) {
  bed.Show({{NumericItem(1001, "身長"), Value("170.0 ")}});
  basPublic.DelListAnswer = 0;
  EXPECT_EQ(Fnc_ShowDeleteList(), 0);
  EXPECT_TRUE(bed.bed.shell.shown_forms().empty());
  EXPECT_EQ(basPublic.DelListAnswer, 0);
}

TEST_F(DeleteList, EachOnlyStoredItemIsListedWithItsValueDoneMarkAndColours) {
  KekkaData judged;
  judged.Han = 2;  // "Ｂ", letter R
  judged.Hekbn = 1;
  KekkaData finding;
  finding.Syoken = "異常なし";
  KekkaData unmarked;
  unmarked.Han = 5;  // no such judgement
  bed.Show({{NumericItem(1001, "身長"), Value("170.0 ")},
            {OnlyStored(NumericItem(1002, "血糖")), Value("5.0 ", kSokuteiBelow)},
            {OnlyStored(Kind(1003, "所見", kKsyubFindings)), finding},
            {OnlyStored(Kind(9999999001, "総合", kKsyubGroupJudgement)), judged},
            {OnlyStored(NumericItem(1004, "視力")), Value("", kSokuteiNotPerformed)},
            {OnlyStored(NumericItem(1005, "体重")), Value("65.5 ")},
            {OnlyStored(Kind(1006, "判定", kKsyubGroupJudgement)), unmarked}});
  basPublic.IndividualColor.Count = 2;
  basPublic.IndividualColor.Items = {{}, {Currency(1005), 0x111111}, {Currency(1005), 0x222222}};
  std::vector<std::vector<std::string>> lines;
  std::vector<ui::Color> backs, fores;
  bed.bed.shell.Do([&] {
    grid::Spread& list = frmDelList->sprList;
    for (int r = 1; r <= list.max_rows(); ++r) lines.push_back(Line(r));
    backs = {list.BackColorAt(3, 3), list.BackColorAt(2, 5)};
    fores = {list.ForeColorAt(1, 1), list.ForeColorAt(2, 2), list.ForeColorAt(3, 1), list.ForeColorAt(3, 3)};
  });
  bed.bed.shell.Click("frmDelList", "cmdRet", kDelListDelete);
  EXPECT_EQ(Fnc_ShowDeleteList(), kDelListDelete);
  EXPECT_SCRIPT_OK(bed.bed.shell);
  using L = std::vector<std::string>;
  EXPECT_EQ(lines, (std::vector<L>{{"      1002", "血糖", "    (＜5.0)", ""},
                                   {"      1003", "所見", "異常なし", ""},
                                   {"9999999001", "総合", "Ｂ", "V"},
                                   {"      1004", "視力", "(未実施)", ""},
                                   {"      1005", "体重", "      65.5", ""},
                                   {"      1006", "判定", "", ""}}));
  // Judgement rows take the judgement colour over the item's own; the
  // last matching individual colour wins.
  EXPECT_EQ(backs, (std::vector<ui::Color>{0xFFC8FF, 0x222222}));
  // Kind 1 is letter B, kind 3 letter K; the value without a judgement the
  // default letter B, with judgement 2 its letter R.
  EXPECT_EQ(fores, (std::vector<ui::Color>{0x0000B0, 0x0000B6, 0x0000B0, 0x0000B1}));
}

TEST_F(DeleteList, TheButtonsAndTheCloseBoxAnswer) {
  bed.Show({{OnlyStored(NumericItem(1002, "血糖")), Value("5.0 ")}});
  for (int answer : {kDelListBack, kDelListKeep}) {
    bed.bed.shell.Click("frmDelList", "cmdRet", answer);
    EXPECT_EQ(Fnc_ShowDeleteList(), answer);
  }
  bed.bed.shell.CloseBox("frmDelList");
  EXPECT_EQ(Fnc_ShowDeleteList(), kDelListBack) << "a closed list means back: no save";
  EXPECT_SCRIPT_OK(bed.bed.shell);
}

}  // namespace
}  // namespace qz::testing
