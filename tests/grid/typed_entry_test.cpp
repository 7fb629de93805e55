// The entry of a typed value: refusals, the digit format, findings
// codes, judgement marks, measurement classes, the judgement chain and the
// stamp.
#include "grid/typed_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "grid/entry_items.h"
#include "judgement/judgement_bed.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"

namespace qz::testing {
namespace {

constexpr long long kBmiCode = 1003;  // 18.5 to 24.9 in the bed's judgement master

class TypedEntry : public ::testing::Test {
 protected:
  void SetUp() override { bed.Open(); }

  // Types `text` into column `col` of `item`'s row and processes it.
  std::int16_t Enter(std::int16_t item, int col, const std::string& text) {
    grid().SetText(col, bed.RowOf(item), text);
    return Fnc_ProcessEnterKey(col, bed.RowOf(item));
  }
  static grid::Spread& grid() { return *frmResultIn.sprResult; }

  JudgementBed bed;
};

TEST_F(TypedEntry, ANumberIsEditedStoredJudgedAndStamped) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode));
  bed.Finish();
  // Full-width digits and point are taken as half-width.
  EXPECT_EQ(Enter(bmi, basPublic.ResultCol, "２２．５"), kEntryProcessed);
  const KekkaData& r = bed.Result(bmi);
  EXPECT_EQ(r.Knsach, "22.5 ");
  EXPECT_EQ(r.Han, 1);
  EXPECT_EQ(r.Syoken, "基準範囲内");
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_EQ(r.Ymd, 20261209);
  EXPECT_EQ(r.Hms, 103015);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "22.5 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ａ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanSyoCol), "基準範囲内");
  EXPECT_EQ(bed.Cell(bmi, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Cell(bmi, basPublic.UptimeCol), "2026/12/09 10:30:15");
  EXPECT_EQ(bed.Fore(bmi, basPublic.ResultCol), LetterColor('A'));
  EXPECT_EQ(bed.Fore(bmi, basPublic.HanSyoCol), LetterColor('A'));

  // A value above the range, with an integer part padded by zeros.
  EXPECT_EQ(Enter(bmi, basPublic.ResultCol, "030"), kEntryProcessed);
  EXPECT_EQ(bed.Result(bmi).Knsach, "30.0 ");
  EXPECT_EQ(bed.Result(bmi).Han, 4);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ｄ");
  EXPECT_EQ(bed.Fore(bmi, basPublic.HanCol), LetterColor('P'));

  // Emptied: no value, no judgement, no finding.
  EXPECT_EQ(Enter(bmi, basPublic.ResultCol, ""), kEntryProcessed);
  EXPECT_EQ(bed.Result(bmi).Knsach, "");
  EXPECT_EQ(bed.Result(bmi).Han, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(TypedEntry, AnUnchangedCellStoresAndStampsNothing) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode));
  bed.Finish();
  bed.Result(bmi).Knsach = "22.5 ";
  for (const char* typed : {"22.5", "  22.5 ", "22.5 "}) {
    EXPECT_EQ(Enter(bmi, basPublic.ResultCol, typed), kEntryNothing) << typed;
  }
  EXPECT_EQ(bed.Result(bmi).User, "");
  EXPECT_EQ(bed.Result(bmi).Han, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.UpdateCol), "");
}

TEST_F(TypedEntry, RefusalsWarnPutTheStoredTextBackAndKeepTheResult) {
  struct Case {
    const char* name;
    const char* typed;
    bool checked;
    bool editable;
    const char* box;
  };
  const std::vector<Case> cases = {
      {"digits", "1234", false, true,
       "入力値エラー\r\n「1234」\r\n\r\n整数部03桁\r\n小数部01桁　で入力して下さい。"},
      {"no number", "1-2", false, true, "入力値エラー\r\n「1-2」は数値ではありません。"},
      {"exponent", "1e2", false, true, "入力値エラー\r\n「1e2」は数値ではありません。"},
      {"plus sign", "+5", false, true, "入力値エラー\r\n「+5」は数値ではありません。"},
      {"sign alone", "-", false, true, "入力値エラー\r\n「-」は数値ではありません。"},
      {"point alone", "．", false, true, "入力値エラー\r\n「.」は数値ではありません。"},
      {"longer than the judgement takes", "000000000022", false, true,
       "入力値エラー\r\n「000000000022」\r\n\r\n整数部03桁\r\n小数部01桁　で入力して下さい。"},
      {"checked", "23", true, true, "「ＢＭＩ」は\r\nチェックがついているため変更できません。"},
      {"not editable", "23", false, false, "「ＢＭＩ」の\r\n入力ご担当者に連絡して下さい。"},
  };
  std::vector<std::int16_t> items;
  long long code = 1100;
  for (const Case& c : cases) items.push_back(bed.Add(JudgedNumeric(++code), false, c.editable));
  bed.Finish();
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const Case& c = cases[n];
    SCOPED_TRACE(c.name);
    const std::int16_t item = items[n];
    bed.Result(item).Knsach = "22.5 ";
    bed.Result(item).Sokutei = kSokuteiAtOrBelow;
    bed.Result(item).Hekbn = c.checked ? 1 : 0;
    bed.shell.ClearRecords();
    EXPECT_EQ(Enter(item, basPublic.ResultCol, c.typed), kEntryRefused);
    EXPECT_EQ(bed.Boxes(), std::vector<std::string>{c.box});
    EXPECT_EQ(bed.Cell(item, basPublic.ResultCol), "(≦22.5)");
    EXPECT_EQ(bed.Result(item).Knsach, "22.5 ");
    EXPECT_EQ(bed.Result(item).Sokutei, kSokuteiAtOrBelow);
    EXPECT_EQ(bed.Result(item).User, "");
  }
}

TEST_F(TypedEntry, AValueTheJudgementCannotJudgeIsStoredWithoutAGrade) {
  // Item 1001 has no standard range; it was graded before.
  const std::int16_t height = bed.Add(JudgedNumeric(1001, "ＢＭＩ", 5));
  const std::int16_t group = bed.Add(JudgementBed::GroupItem(5, "身体計測"));
  bed.Finish();
  bed.Result(height).Knsach = "170.0 ";
  bed.Result(height).Han = 4;
  bed.Result(height).Syoken = "高値";
  bed.Result(group).Han = 4;
  grid().SetText(basPublic.ResultCol, bed.RowOf(height), "170.0 ");
  grid().SetText(basPublic.HanCol, bed.RowOf(height), "Ｄ");
  grid().SetText(basPublic.HanSyoCol, bed.RowOf(height), "高値");
  EXPECT_EQ(Enter(height, basPublic.ResultCol, "171"), kEntryRefused);  // the cursor stays
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"自動判定できません。\r\n項目名 : ＢＭＩ\r\n結果値 : 171"});
  const KekkaData& r = bed.Result(height);
  EXPECT_EQ(r.Knsach, "171.0 ");
  EXPECT_EQ(r.Han, 0);
  EXPECT_EQ(r.Syoken, "");
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_EQ(bed.Cell(height, basPublic.ResultCol), "171.0 ");
  EXPECT_EQ(bed.Cell(height, basPublic.HanCol), "");
  EXPECT_EQ(bed.Cell(height, basPublic.HanSyoCol), "");
  // The group no longer takes the old grade.
  EXPECT_EQ(bed.Result(group).Han, 0);
  // Stored, so leaving the cell afterwards has nothing more to take.
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.ResultCol, bed.RowOf(height)), kEntryNothing);
}

TEST_F(TypedEntry, ATypedValueRunsTheGroupJudgement) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode, "ＢＭＩ", 5));
  const std::int16_t group = bed.Add(JudgementBed::GroupItem(5, "身体計測"));
  bed.Finish();
  EXPECT_EQ(Enter(bmi, basPublic.ResultCol, "30"), kEntryProcessed);
  EXPECT_EQ(bed.Result(group).Han, 4);
  EXPECT_EQ(bed.Cell(group, basPublic.HanCol), "Ｄ");
}

TEST_F(TypedEntry, FindingCodesGiveTheirTextsAndTheHighestJudgement) {
  const std::int16_t chest = bed.Add(FindingsItem(3001));
  bed.Finish();
  EXPECT_EQ(Enter(chest, basPublic.SyoCodeCol, "002 003"), kEntryProcessed);
  EXPECT_EQ(bed.Result(chest).Syoken, "所見なし  要再検");
  EXPECT_EQ(bed.Result(chest).Han, 3);
  EXPECT_EQ(bed.Result(chest).Knsach, "");
  EXPECT_EQ(bed.Cell(chest, basPublic.SyoCodeCol), "");
  EXPECT_EQ(bed.Cell(chest, basPublic.ResultCol), "所見なし  要再検");
  EXPECT_EQ(bed.Cell(chest, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(bed.Fore(chest, basPublic.ResultCol), LetterColor('E'));
  EXPECT_EQ(bed.Result(chest).User, kBedUser);

  // One unknown code refuses the whole entry.
  bed.shell.ClearRecords();
  EXPECT_EQ(Enter(chest, basPublic.SyoCodeCol, "002 999"), kEntryRefused);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"コード「999」は所見マスタに登録されていません。"});
  EXPECT_EQ(bed.Result(chest).Syoken, "所見なし  要再検");
  EXPECT_EQ(bed.Result(chest).Han, 3);
}

TEST_F(TypedEntry, ACodeSeparatorOfTwoCharactersSplitsTheCodes) {
  const std::int16_t chest = bed.Add(FindingsItem(3001));
  bed.Finish();
  basPublic.DivRcode = "//";
  EXPECT_EQ(Enter(chest, basPublic.SyoCodeCol, "002//003"), kEntryProcessed);
  basPublic.DivRcode = " ";
  EXPECT_EQ(bed.Result(chest).Syoken, "所見なし  要再検");
  EXPECT_EQ(bed.Result(chest).Han, 3);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(TypedEntry, AJudgementMarkIsCheckedAndStored) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode));
  bed.Finish();
  bed.Result(bmi).Sokutei = kSokuteiUnmeasurable;
  EXPECT_EQ(Enter(bmi, basPublic.HanCol, " Ｂ "), kEntryProcessed);
  EXPECT_EQ(bed.Result(bmi).Han, 2);
  EXPECT_EQ(bed.Result(bmi).Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ｂ");
  EXPECT_EQ(bed.Fore(bmi, basPublic.HanCol), LetterColor('B'));

  EXPECT_EQ(Enter(bmi, basPublic.HanCol, "Ｚ"), kEntryRefused);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定値が間違っています。\r\n「Ｚ」"});
  EXPECT_EQ(bed.Result(bmi).Han, 2);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ｂ");
}

TEST_F(TypedEntry, AMeasurementClassIsStoredAloneAndStamped) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode));
  bed.Finish();
  bed.Result(bmi).Knsach = "22.5 ";
  bed.Result(bmi).Han = 1;
  const int row = bed.RowOf(bmi);
  grid().SetCellType(grid::Range::Cell(basPublic.SokuteiCol, row), grid::CellType::kComboBox);
  grid().SetComboList(grid::Range::Cell(basPublic.SokuteiCol, row), MeasureClassList(kKsyubNumeric));
  grid().SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row), 3);
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.SokuteiCol, row), kEntryProcessed);
  EXPECT_EQ(bed.Result(bmi).Sokutei, kSokuteiBelow);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Result(bmi).Han, 1);
  EXPECT_EQ(bed.Result(bmi).User, kBedUser);
  // The same class again is no change.
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.SokuteiCol, row), kEntryNothing);
}

TEST_F(TypedEntry, AnOverallJudgementMadeLocksTheOtherItems) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(kBmiCode));
  const std::int16_t overall = bed.Add(JudgementBed::OverallItem());
  bed.Finish();
  frmResultIn.SouChk = "1";
  bed.Result(overall).Hekbn = 1;
  bed.Result(bmi).Knsach = "20.0 ";
  EXPECT_EQ(Enter(bmi, basPublic.ResultCol, "22"), kEntryRefused);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"総合判定済みのため変更できません。"});
  EXPECT_EQ(bed.Result(bmi).Knsach, "20.0 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "20.0 ");
}

}  // namespace
}  // namespace qz::testing
