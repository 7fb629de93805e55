// Findings by typed code, the list-only check, the default-findings tool and
// the judgement finding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/default_findings_set.h"
#include "judgement/finding_lookup.h"
#include "judgement/judgement_bed.h"
#include "judgement/judgement_finding.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz::testing {
namespace {

class FindingsEntry : public ::testing::Test {
 protected:
  void SetUp() override { bed.Open(); }
  JudgementBed bed;
};

TEST_F(FindingsEntry, ATypedCodeGivesItsFinding) {
  struct Case {
    const char* typed;
    bool found;
    std::int32_t scode;
    const char* text;
    std::int16_t han;
    const char* box;  // "" none
  };
  const std::vector<Case> cases = {
      {"002", true, 2, "所見なし", 1, ""},
      {"003", true, 3, "要再検", 3, ""},
      {"001", false, 0, "", 0, "タイトル用所見は選択できません。"},
      {"999", false, 0, "", 0, "コード「999」は所見マスタに登録されていません。"},
      {"1", false, 0, "", 0, "コード「1」は所見マスタに登録されていません。"},  // codes are texts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    bed.shell.ClearRecords();
    std::int32_t scode = 99;
    std::string text = "前";
    std::int16_t han = 9;
    EXPECT_EQ(Fnc_LookupFindingCode(Currency(kTypeFindings), c.typed, scode, text, han), c.found);
    EXPECT_EQ(scode, c.scode);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(han, c.han);
    EXPECT_EQ(bed.Boxes(), std::string(c.box).empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
  }
}

TEST_F(FindingsEntry, AFailedReadOfTheFindingsMasterRefusesTheCodeAndKeepsTheScreen) {
  bed.DamageFile("QZSYOLF.BTR");
  std::int32_t scode = 0;
  std::string text;
  std::int16_t han = 0;
  EXPECT_FALSE(Fnc_LookupFindingCode(Currency(kTypeFindings), "002", scode, text, han));
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("所見マスタの読み込みに失敗しました。\r\n検査項目番号 : 700\r\nステータス : ", 0), 0u)
      << bed.Boxes()[0];
  EXPECT_FALSE(frmResultIn.Unloaded);
}

class PickedFromList : public FindingsEntry {
 protected:
  void SetUp() override {
    FindingsEntry::SetUp();
    item = bed.Add(JudgementBed::Findings(4001, kTypeFindings, "尿蛋白"));
    other = bed.Add(JudgementBed::Findings(4002, kTypeFindings, "尿糖"));
    bed.Finish();
    basPublic.ListHissuKomCode.Count = 1;
    basPublic.ListHissuKomCode.Items = {Currency(0), Currency(4001)};
    for (const auto& [code, text] : std::vector<std::pair<long long, const char*>>{
             {4002, "（＋＋）"}, {4001, "（－）"}, {4001, "（＋）  "}, {4002, "（±）"}}) {
      SyoComboInfo e;
      e.Code = Currency(code);
      e.Sykn = text;
      frmResultIn.SyoComboLists.Append(e);
    }
    grid::Spread& spr = *frmResultIn.sprResult;
    spr.SetCellType(grid::Range::Column(basPublic.ResultCol), grid::CellType::kComboBox);
    spr.col = basPublic.ResultCol;
    spr.row = bed.RowOf(item);
    spr.SetAction(grid::kActionActiveCell);
  }

  std::int16_t Check(std::int16_t on, const std::string& text) {
    frmResultIn.sprResult->SetText(basPublic.ResultCol, bed.RowOf(on), text);
    return Fnc_CheckFindingPickedFromList(bed.RowOf(on));
  }

  std::int16_t item = 0, other = 0;
};

TEST_F(PickedFromList, AcceptsOnlyTheEntriesOfTheItemsOwnList) {
  struct Case {
    bool on_other;
    const char* text;
    std::int16_t result;
  };
  const std::vector<Case> cases = {
      {false, "（－）", kPickedFromList},
      {false, "（＋）", kPickedFromList},         // trailing blanks never count
      {false, "（－）xx$00000101", kPickedFromList},  // the code suffix is cut
      {false, "（＋＋）", kNotPickedFromList},      // another item's entry
      {false, "（－）x", kNotPickedFromList},
      {false, "   ", kPickNotConcerned},
      {true, "自由な所見", kPickNotConcerned},  // not a list-only item
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    bed.shell.ClearRecords();
    EXPECT_EQ(Check(c.on_other ? other : item, c.text), c.result);
    EXPECT_EQ(bed.Boxes(), c.result == kNotPickedFromList
                               ? std::vector<std::string>{"「尿蛋白」は\r\nリストから選択して下さい。"}
                               : std::vector<std::string>{});
  }
}

TEST_F(PickedFromList, AnActiveCellThatIsNoListIsNotConcerned) {
  frmResultIn.sprResult->SetCellType(grid::Range::Cell(basPublic.ResultCol, bed.RowOf(item)), grid::CellType::kEdit);
  EXPECT_EQ(Check(item, "自由な所見"), kPickNotConcerned);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(FindingsEntry, DefaultFindingsGoOnlyIntoEmptyEditableItemsOnTheScreen) {
  const std::int16_t empty = bed.Add(JudgementBed::Findings(5001, kTypeFindings, "空"));
  const std::int16_t typed_only = bed.Add(JudgementBed::Findings(5002, kTypeFindings, "コードだけ"));
  const std::int16_t done = bed.Add(JudgementBed::Findings(5003, kTypeFindings, "確定済み"));
  const std::int16_t filled = bed.Add(JudgementBed::Findings(5004, kTypeFindings, "入力済み"));
  const std::int16_t no_default = bed.Add(JudgementBed::Findings(5005, kTypeNoDefault, "既定なし"));
  bed.Add(JudgementBed::Findings(5006, kTypeFindings, "画面外"), /*hidden=*/true);
  bed.Add(JudgementBed::Findings(5007, kTypeFindings, "権限なし"), false, /*editable=*/false);
  KomInfo past = JudgementBed::Findings(5008, kTypeFindings, "過去");
  past.Past = kPastResultOnly;
  bed.Add(past);
  KomInfo numeric = JudgementBed::Findings(5009, kTypeFindings, "数値");
  numeric.Ksyub = kKsyubNumeric;
  bed.Add(numeric);
  bed.Finish();
  bed.Result(done).Hekbn = 1;
  bed.Result(filled).Syoken = "所見あり";
  grid::Spread& spr = *frmResultIn.sprResult;
  spr.SetText(basPublic.SyoCodeCol, bed.RowOf(typed_only), "003");

  // The items take the default whatever their class; the Enter that moves
  // on comes after the finding went in.
  for (std::int16_t i : {empty, typed_only}) frmResultIn.ItemTable[i].Jhkbn = i == empty ? 0 : 1;
  std::vector<std::string> entered;  // row, code cell and stored finding at each Enter
  spr.on_key_down = [&](int& key, int shift) {
    EXPECT_EQ(key, 13);
    EXPECT_EQ(shift, 0);
    EXPECT_EQ(spr.active_col(), basPublic.SyoCodeCol);
    const std::int32_t row = spr.active_row();
    const std::int16_t item = row == bed.RowOf(empty) ? empty : typed_only;
    entered.push_back(std::to_string(row) + ":" + spr.TextAt(basPublic.SyoCodeCol, row) + ":" +
                      bed.Result(item).Syoken);
  };
  Sub_AutoSetDefaultFindings();
  EXPECT_EQ(entered, (std::vector<std::string>{std::to_string(bed.RowOf(empty)) + "::所見なし",
                                               std::to_string(bed.RowOf(typed_only)) + "::所見なし"}));
  for (std::int16_t i : {empty, typed_only}) {
    EXPECT_EQ(bed.Result(i).Han, 1);
    EXPECT_EQ(bed.Result(i).User, kBedUser);
    EXPECT_EQ(bed.Cell(i, basPublic.ResultCol), "所見なし");
  }
  for (std::int16_t i : {no_default, done, filled}) {
    EXPECT_EQ(bed.Result(i).User, "") << "not filled, not stamped";
  }
  EXPECT_EQ(bed.Cell(no_default, basPublic.SyoCodeCol), "");
  EXPECT_TRUE(bed.Boxes().empty());
}

class JudgementFinding : public FindingsEntry {
 protected:
  void SetUp() override {
    FindingsEntry::SetUp();
    KomInfo s = JudgementBed::Numeric(3001, 0, "源");
    s.Hansyo = Currency(6001);
    source = bed.Add(s);
    target = bed.Add(JudgementBed::Findings(6001, kTypeJudgement, "判定所見"));
    bed.Add(JudgementBed::Findings(6001, kTypeJudgement, "二つ目"));
  }
  std::int16_t source = 0, target = 0;
};

TEST_F(JudgementFinding, TheTargetTakesTheFirstFindingWithTheJudgement) {
  bed.Finish();
  frmResultIn.sprResult->SetText(basPublic.SyoCodeCol, bed.RowOf(target), "9");
  bed.Result(source).Han = 3;
  Sub_SetJudgementFinding(source);
  const KekkaData& r = bed.Result(target);
  EXPECT_EQ(vb::RTrim(r.Syoken), "要観察（一）");  // the lower findings code of two
  EXPECT_EQ(r.Han, 3);
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_EQ(vb::RTrim(bed.Cell(target, basPublic.ResultCol)), "要観察（一）");
  EXPECT_EQ(bed.Cell(target, basPublic.SyoCodeCol), "");
  EXPECT_EQ(bed.Cell(target, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(bed.Cell(target, basPublic.UpdateCol), kBedUserName);
  EXPECT_EQ(bed.Fore(target, basPublic.ResultCol), LetterColor('E'));
  EXPECT_EQ(bed.Fore(target, basPublic.HanCol), LetterColor('E'));
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(JudgementFinding, TheTargetKeepsItsContentWhenNothingApplies) {
  bed.Finish();
  struct Case {
    const char* name;
    std::int16_t han;
    std::int16_t target_done;
    long long hansyo;
  };
  const std::vector<Case> cases = {
      {"no judgement", 0, 0, 6001},
      {"done-checked target", 3, 1, 6001},
      {"no finding with the judgement", 4, 0, 6001},
      {"no judgement-finding item", 3, 0, 0},
      {"the item is not booked", 3, 0, 6999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    frmResultIn.ItemTable[source].Hansyo = Currency(c.hansyo);
    bed.Result(source).Han = c.han;
    bed.Result(target) = KekkaData{};
    bed.Result(target).Syoken = "前の所見";
    bed.Result(target).Hekbn = c.target_done;
    const KekkaData before = bed.Result(target);
    Sub_SetJudgementFinding(source);
    EXPECT_EQ(bed.Result(target), before);
  }
}

TEST_F(JudgementFinding, AFindingWhoseJudgementHasNoMarkIsStillSet) {
  const std::int16_t numeric = bed.Add(JudgementBed::Findings(6101, kTypeNumeric, "数値所見"));
  frmResultIn.ItemTable[source].Hansyo = Currency(6101);
  bed.Finish();
  frmResultIn.sprResult->SetText(basPublic.HanCol, bed.RowOf(numeric), "前");
  bed.Result(source).Han = 7;  // "判定なし" carries 7, which the settings give no mark
  Sub_SetJudgementFinding(source);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定変換に失敗しました。\r\n判定コード : 7\r\n項目名 : 数値所見"});
  EXPECT_EQ(vb::RTrim(bed.Result(numeric).Syoken), "判定なし");
  EXPECT_EQ(bed.Result(numeric).Han, 7);
  EXPECT_EQ(bed.Cell(numeric, basPublic.HanCol), "");
}

}  // namespace
}  // namespace qz::testing
