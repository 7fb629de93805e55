// The result check before saving: each refusal with its message and the
// cell it leaves the cursor on, the normalisation of numeric results, and
// whether there is anything to save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "examinee/result_check.h"
#include "examinee/save_fixture.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz::testing {
namespace {

KekkaData Value(std::string v) {
  KekkaData r;
  r.Knsach = std::move(v);
  return r;
}

KomInfo Judgement(long long code, std::string name) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = std::move(name);
  k.Ksyub = kKsyubGroupJudgement;
  k.Editable = true;
  return k;
}

KomInfo Findings(long long code, std::string name) {
  KomInfo k;
  k.KomCode = Currency(code);
  k.KomName = std::move(name);
  k.Ksyub = kKsyubFindings;
  k.Editable = true;
  return k;
}

class ResultCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.Open();
    basPublic.ChkKomCode.Count = 1;
    basPublic.ChkKomCode.Items = {Currency(0), Currency(1002)};
  }
  // Runs the check with the grid's active cell parked on line 1's item cell.
  bool Check(bool done_checks, bool& save_needed) {
    bed.bed.spr->MoveActiveCell(1, basPublic.DataRow);
    return Fnc_CheckResultsBeforeSave(done_checks, save_needed);
  }

  SaveBed bed;
};

TEST_F(ResultCheck, RefusalsNameTheItemAndPutTheCursorOnItsCell) {
  const int first_line = basPublic.DataRow;
  struct Case {
    const char* what;
    ShownItem offender;
    bool done_checks;
    std::string message;
    ui::MsgIcon icon;
    int col, row;  // the active cell afterwards
  };
  KomInfo required = NumericItem(1002, "腹囲");
  KomInfo hidden = NumericItem(1003, "体脂肪");
  const std::vector<Case> cases = {
      {"required done-check", {required, Value("80.0")}, true, "「腹囲」の済チェックが未入力です。",
       ui::MsgIcon::kNone, basPublic.ChkCol, first_line + 1},
      {"unknown judgement code", {Judgement(9999999001, "総合"), [] { KekkaData r; r.Han = 5; return r; }()},
       false, "判定コードエラー\r\n「5」", ui::MsgIcon::kExclamation, basPublic.ResultCol, first_line + 1},
      {"value beyond its digits", {NumericItem(1004, "身長", "31"), Value("1234.5")}, false,
       "入力値エラー\r\n「1234.5」\r\n\r\n整数部03桁\r\n小数部01桁 で入力して下さい。", ui::MsgIcon::kExclamation,
       basPublic.ResultCol, first_line + 1},
      {"digits of a one-digit format", {NumericItem(1005, "指数", "2"), Value("1.5")}, false,
       "入力値エラー\r\n「1.5」\r\n\r\n整数部00桁\r\n小数部02桁 で入力して下さい。", ui::MsgIcon::kExclamation,
       basPublic.ResultCol, first_line + 1},
      // An item that is not a grid line has no cell: the cursor stays.
      {"item not on screen", {hidden, Value("12345"), false}, false,
       "入力値エラー\r\n「12345」\r\n\r\n整数部03桁\r\n小数部01桁 で入力して下さい。", ui::MsgIcon::kExclamation, 1,
       first_line},
  };
  for (const Case& c : cases) {
    bed.bed.shell.ClearRecords();
    const ShownItem after{NumericItem(1009, "後"), Value("1")};
    bed.Show({{NumericItem(1001, "前"), Value("7")}, c.offender, after});
    bool save_needed = false;
    EXPECT_FALSE(Check(c.done_checks, save_needed)) << c.what;
    ASSERT_EQ(bed.Boxes().size(), 1u) << c.what;
    const ui::ShownBox& box = bed.bed.shell.boxes().front();
    EXPECT_EQ(box.request.text, c.message) << c.what;
    EXPECT_EQ(box.request.icon, c.icon) << c.what;
    EXPECT_EQ(box.request.title, "結果入力") << c.what;
    EXPECT_EQ(bed.bed.spr->active_col(), c.col) << c.what;
    EXPECT_EQ(bed.bed.spr->active_row(), c.row) << c.what;
    // The item before was normalised, the one after not examined.
    EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "7.0 ") << c.what;
    EXPECT_EQ(frmResultIn.ResultMatrix(3, 0).Knsach, "1") << c.what;
    EXPECT_FALSE(frmGuide.loaded()) << c.what;
  }
}

TEST_F(ResultCheck, TheDoneCheckIsAskedOnlyOfTheUsersOwnItemsWhenNotForced) {
  KomInfo theirs = NumericItem(1002, "腹囲");
  theirs.Editable = false;
  KekkaData checked = Value("80");
  checked.Hekbn = 1;
  for (const auto& [what, item, result, done_checks] :
       std::vector<std::tuple<const char*, KomInfo, KekkaData, bool>>{
           {"forced", NumericItem(1002, "腹囲"), Value("80"), false},
           {"another group's item", theirs, Value("80"), true},
           {"checked", NumericItem(1002, "腹囲"), checked, true}}) {
    bed.Show({{item, result}});
    bool save_needed = false;
    EXPECT_TRUE(Check(done_checks, save_needed)) << what;
    EXPECT_TRUE(save_needed) << what;
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(ResultCheck, NumericResultsAreRewrittenToTheirDigits) {
  KekkaData measured = Value(" 5");
  measured.Sokutei = kSokuteiAtOrBelow;
  KomInfo whole = NumericItem(1003, "回数", "20");
  bed.Show({{NumericItem(1001, "身長", "31"), Value("172")},
            {NumericItem(1002, "体重", "31"), measured},
            {whole, Value("007"), false},
            {Judgement(9999999001, "判定"), KekkaData{}}});
  bed.bed.spr->SetText(basPublic.ResultCol, basPublic.DataRow + 1, "≦5");
  bool save_needed = false;
  ASSERT_TRUE(Check(false, save_needed)) << ::testing::PrintToString(bed.Boxes());
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "172.0 ");
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0).Knsach, "5.0 ");
  EXPECT_EQ(frmResultIn.ResultMatrix(3, 0).Knsach, "7 ");
  EXPECT_EQ(bed.bed.spr->TextAt(basPublic.ResultCol, basPublic.DataRow), "172.0 ");
  // A cell showing a measurement class keeps its text.
  EXPECT_EQ(bed.bed.spr->TextAt(basPublic.ResultCol, basPublic.DataRow + 1), "≦5");
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(ResultCheck, NothingToSaveOnlyWhenTheScreenAndTheFileAreBothEmpty) {
  KekkaData checked;
  checked.Hekbn = 1;
  KekkaData not_performed;
  not_performed.Sokutei = kSokuteiNotPerformed;
  KomInfo earlier = NumericItem(1009, "前回のみ");
  earlier.Past = kPastBookedEarlier;
  struct Case {
    const char* what;
    std::vector<ShownItem> items;
    bool stored_today;      // a stored result of this consultation
    bool stored_neighbour;  // results of the next examinee only
    bool save_needed;
  };
  const std::vector<Case> cases = {
      {"all empty, none stored", {{NumericItem(1001, "a"), {}}, {Findings(3001, "b"), {}}, {earlier, Value("5")}},
       false, false, false},
      {"all empty, the next examinee's stored", {{NumericItem(1001, "a"), {}}}, false, true, false},
      {"all empty, stored", {{NumericItem(1001, "a"), {}}}, true, false, true},
      {"a done-check", {{NumericItem(1001, "a"), checked}}, false, false, true},
      {"a measurement class", {{Findings(3001, "b"), not_performed}}, false, false, true},
      {"a finding", {{Findings(3001, "b"), [] { KekkaData r; r.Syoken = "異常なし"; return r; }()}}, false, false,
       true},
  };
  for (const Case& c : cases) {
    SaveBed fresh;
    if (c.stored_today) fresh.bed.suite.Add("QZKKKLF", {{"CODE", std::string(kExaminee)}, {"JDATE", kToday}, {"KKMKNO", 1}});
    if (c.stored_neighbour) fresh.bed.suite.Add("QZKKKLF", {{"CODE", "0000012346"}, {"JDATE", kToday}, {"KKMKNO", 1}});
    fresh.Open();
    fresh.Show(c.items);
    bool save_needed = !c.save_needed;
    EXPECT_TRUE(Fnc_CheckResultsBeforeSave(true, save_needed)) << c.what;
    EXPECT_EQ(save_needed, c.save_needed) << c.what;
  }
}

TEST_F(ResultCheck, AnUnreadableResultsFileRefusesTheSaveAndKeepsTheScreen) {
  bed.Show({{NumericItem(1001, "a"), {}}});
  bed.bed.DamageFile("QZKKKLF.BTR");
  bool save_needed = false;
  EXPECT_FALSE(Check(true, save_needed));
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("検査結果マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345\r\nステータス : ", 0), 0u);
  EXPECT_EQ(bed.bed.shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
  EXPECT_EQ(bed.unloads, 0);
  EXPECT_FALSE(frmGuide.loaded());
}

}  // namespace
}  // namespace qz::testing
