// The edit events of the result grid: Enter and the cursor, the auto-check,
// Space and Delete, list picks, leaving a typed cell and the double click.
#include "grid/grid_edit_events.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "examinee/bas_public.h"
#include "grid/cell_kinds.h"
#include "grid/entry_rules.h"
#include "grid/typed_entry.h"
#include "grid/entry_items.h"
#include "judgement/judgement_bed.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "loading/result_cell_texts.h"
#include "platform/grid/spread.h"

namespace qz::testing {
namespace {

constexpr int kEnter = 13;
constexpr int kSpace = 32;
constexpr int kDelete = 46;

class GridEditEvents : public ::testing::Test {
 protected:
  void SetUp() override { bed.Open(); }
  void TearDown() override { entryRuleSteps = DefaultEntryRuleSteps(); }

  // Finishes the bed with the cell kinds and the lists of the item lines.
  void Finish() {
    bed.Finish();
    Sub_SprSet();
    for (int line = 1; line <= frmResultIn.RowCount(); ++line) {
      const int row = line + basPublic.DataRow - 1;
      const KomInfo& k = frmResultIn.ItemTable[frmResultIn.RowItems[line]];
      SetList(basPublic.SokuteiCol, row, MeasureClassList(k.Ksyub));
      SetList(basPublic.HanCol, row, "Ａ  判定1\tＢ  判定2\tＣ  判定3");
    }
  }
  static void SetList(int col, int row, const std::string& list) {
    grid().SetCellType(grid::Range::Cell(col, row), grid::CellType::kComboBox);
    grid().SetComboList(grid::Range::Cell(col, row), list);
  }
  static grid::Spread& grid() { return *frmResultIn.sprResult; }
  // Puts the cursor on (col, row of `item`) without processing the cell left.
  void Go(std::int16_t item, int col) {
    frmResultIn.EnterBusy = true;
    ASSERT_TRUE(grid().MoveActiveCell(col, bed.RowOf(item)));
    frmResultIn.EnterBusy = false;
  }
  static int Key(int code) {
    int key = code;
    sprResult_KeyDown(key, 0);
    return key;
  }
  // Picks entry `index` of the list cell (col, row of `item`).
  void Pick(std::int16_t item, int col, int index) {
    Go(item, col);
    ASSERT_TRUE(grid().PickComboEntry(index));
  }

  JudgementBed bed;
};

TEST_F(GridEditEvents, EnterStoresTheValueAndMovesToTheNextInputCell) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  const std::int16_t next = bed.Add(JudgedNumeric(1101, "体脂肪率"));
  Finish();
  Go(bmi, basPublic.ResultCol);
  grid().SetText(basPublic.ResultCol, bed.RowOf(bmi), "22.5");
  EXPECT_EQ(grid().DeliverKeyDown(kEnter, 0), 0);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Result(bmi).Han, 1);
  EXPECT_EQ(grid().active_row(), bed.RowOf(next));
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);
  EXPECT_FALSE(frmResultIn.EnterBusy);
  EXPECT_FALSE(grid().edit_mode());
  // The cell left right after its Enter is not processed a second time.
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, ARefusedEnterKeepsTheCursorInTheCell) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  bed.Add(JudgedNumeric(1101, "体脂肪率"));
  Finish();
  Go(bmi, basPublic.ResultCol);
  grid().SetText(basPublic.ResultCol, bed.RowOf(bmi), "1234");
  EXPECT_EQ(Key(kEnter), 0);
  EXPECT_EQ(grid().active_row(), bed.RowOf(bmi));
  EXPECT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Result(bmi).Knsach, "");
}

TEST_F(GridEditEvents, TheAutoCheckFollowsItsSetting) {
  struct Case {
    int auto_check;
    std::int16_t sokutei;
    const char* value;
    bool checked;
  };
  const std::vector<Case> cases = {
      {1, kSokuteiNotPerformed, "", false},
      {1, kSokuteiNone, "", false},
      {1, kSokuteiNone, "22.5 ", true},
      {1, kSokuteiUnmeasurable, "", false},  // in the result column the value counts
      {2, kSokuteiNotPerformed, "", true},
      {0, kSokuteiNone, "22.5 ", false},
  };
  std::vector<std::int16_t> items;
  long long code = 1200;
  for (std::size_t n = 0; n <= cases.size(); ++n) items.push_back(bed.Add(JudgedNumeric(++code)));
  Finish();
  for (std::size_t n = 0; n < cases.size(); ++n) {
    const Case& c = cases[n];
    SCOPED_TRACE(n);
    basPublic.AutoCheck = static_cast<std::int16_t>(c.auto_check);
    bed.Result(items[n]).Sokutei = c.sokutei;
    bed.Result(items[n]).Knsach = c.value;
    Go(items[n], basPublic.ResultCol);
    grid().SetText(basPublic.ResultCol, bed.RowOf(items[n]),
                   c.sokutei == kSokuteiNone ? c.value : MeasureClassMark(c.sokutei, c.value));
    Key(kEnter);
    EXPECT_EQ(bed.Result(items[n]).Hekbn, c.checked ? 1 : 0);
    EXPECT_EQ(bed.Cell(items[n], basPublic.ChkCol), c.checked ? "V" : "");
    EXPECT_EQ(bed.Result(items[n]).User, "");  // the check alone stamps nothing
  }
}

TEST_F(GridEditEvents, SpaceOnTheCheckColumnIsAClickThere) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  Finish();
  basPublic.KekkaKomCode = {1, {Currency(0), Currency(1003)}};
  Go(bmi, basPublic.ChkCol);
  Key(kSpace);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"結果値が未入力のためチェックできません。"});
  EXPECT_EQ(bed.Result(bmi).Hekbn, 0);
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);

  bed.Result(bmi).Knsach = "22.5 ";
  Go(bmi, basPublic.ChkCol);
  Key(kSpace);
  EXPECT_EQ(bed.Result(bmi).Hekbn, 1);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ChkCol), "V");
  EXPECT_EQ(bed.Result(bmi).User, kBedUser);
  EXPECT_EQ(bed.Cell(bmi, basPublic.UpdateCol), kBedUserName);

  // A click on the checked cell clears it.
  sprResult_Click(basPublic.ChkCol, bed.RowOf(bmi));
  EXPECT_EQ(bed.Result(bmi).Hekbn, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ChkCol), "");
}

TEST_F(GridEditEvents, CheckingAGroupItemChecksItsMembers) {
  const std::int16_t member = bed.Add(JudgedNumeric(1003, "ＢＭＩ", 5));
  const std::int16_t group = bed.Add(JudgementBed::GroupItem(5, "身体計測"));
  Finish();
  bed.Result(member).Knsach = "22.5 ";
  bed.Result(group).Han = 2;
  sprResult_Click(basPublic.ChkCol, bed.RowOf(group));
  EXPECT_EQ(bed.Result(group).Hekbn, 1);
  EXPECT_EQ(bed.Result(member).Hekbn, 1);
  EXPECT_EQ(bed.Cell(member, basPublic.ChkCol), "V");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, AJudgementCodedItemShowsItsStateInTheGroupJumpList) {
  KomInfo eye = JudgementBed::GroupItem(5, "眼科");
  eye.NgrpIndex = 1;
  const std::int16_t item = bed.Add(eye);
  Finish();
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  jump.SetCols(4);
  jump.SetRows(2);
  for (int row = 0; row < 2; ++row) jump.SetTextMatrix(row, 3, std::to_string(row));
  basPublic.UserDspKbn = 1;
  const int row = bed.RowOf(item);

  Go(item, basPublic.ResultCol);
  grid().SetText(basPublic.ResultCol, row, "Ｃ");
  Key(kEnter);
  EXPECT_EQ(bed.Result(item).Han, 3);
  EXPECT_EQ(jump.TextMatrix(1, 2), "Ｃ");
  // Enter selects the item's input group in the list.
  EXPECT_EQ(jump.CellBackColorAt(1, 0), static_cast<ui::Color>(basPublic.ColorNgrpSelect));
  EXPECT_EQ(jump.CellBackColorAt(0, 0), static_cast<ui::Color>(basPublic.ColorNgrpDefault));

  Pick(item, basPublic.SokuteiCol, 0);
  EXPECT_EQ(bed.Result(item).Sokutei, kSokuteiNotPerformed);
  EXPECT_EQ(jump.TextMatrix(1, 2), "未");
  EXPECT_EQ(bed.Cell(item, basPublic.ResultCol), "(未実施)");
}

// The click refuses the overall check while a group item lacks its
// judgement and puts the cursor there; the automatic check after Enter on
// the overall item keeps the same rule quietly, and once the groups are
// judged and checked sets the check with the click's follow-ups.
TEST_F(GridEditEvents, TheOverallCheckWaitsForTheRequiredJudgements) {
  const std::int16_t body = bed.Add(JudgementBed::GroupItem(5, "身体計測判定"));
  const std::int16_t judger = bed.Add(JudgementBed::Numeric(8888, 0, "判定医"));
  const std::int16_t overall = bed.Add(JudgementBed::OverallItem());
  Finish();
  basPublic.SougouChk = 2;
  basPublic.HanteiCode = Currency(8888);
  bed.Result(overall).Han = 1;
  sprResult_Click(basPublic.ChkCol, bed.RowOf(overall));
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"「身体計測判定」 が未入力です。"});
  EXPECT_EQ(bed.Result(overall).Hekbn, 0);
  EXPECT_EQ(grid().active_row(), bed.RowOf(body));
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);

  for (int auto_check : {1, 2}) {
    SCOPED_TRACE(auto_check);
    basPublic.AutoCheck = static_cast<std::int16_t>(auto_check);
    bed.shell.ClearRecords();
    Go(overall, basPublic.ResultCol);
    grid().SetText(basPublic.ResultCol, bed.RowOf(overall), auto_check == 1 ? "Ｂ" : "Ａ");
    Key(kEnter);
    EXPECT_EQ(bed.Result(overall).Han, auto_check == 1 ? 2 : 1);
    EXPECT_EQ(bed.Result(overall).Hekbn, 0);
    EXPECT_EQ(bed.Cell(overall, basPublic.ChkCol), "");
    EXPECT_TRUE(bed.Boxes().empty());
    EXPECT_EQ(bed.Result(judger).User, "");
  }

  bed.Result(body).Han = 1;
  bed.Result(body).Hekbn = 1;
  Go(overall, basPublic.ResultCol);
  grid().SetText(basPublic.ResultCol, bed.RowOf(overall), "Ｃ");
  Key(kEnter);
  EXPECT_EQ(bed.Result(overall).Hekbn, 1);
  EXPECT_EQ(bed.Cell(overall, basPublic.ChkCol), "V");
  EXPECT_EQ(bed.Result(judger).User, kBedUser);  // the overall judger is stamped, as after a click
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, DeleteClearsTheCheckOrTheValue) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  KomInfo coded = JudgementBed::GroupItem(5, "眼科");
  const std::int16_t eye = bed.Add(coded);
  Finish();
  KekkaData& r = bed.Result(bmi);
  r.Knsach = "22.5 ";
  r.Han = 1;
  r.Hekbn = 1;
  grid().SetText(basPublic.ResultCol, bed.RowOf(bmi), "22.5 ");
  grid().SetText(basPublic.ChkCol, bed.RowOf(bmi), "V");
  Go(bmi, basPublic.ChkCol);
  Key(kDelete);
  EXPECT_EQ(r.Hekbn, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ChkCol), "");
  EXPECT_EQ(r.User, kBedUser);

  Go(bmi, basPublic.ResultCol);
  Key(kDelete);
  EXPECT_EQ(r.Knsach, "");
  EXPECT_EQ(r.Han, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "");

  // The judgement cell of a judgement-coded item is not deleted.
  bed.Result(eye).Han = 2;
  grid().SetText(basPublic.HanCol, bed.RowOf(eye), "Ｂ");
  Go(eye, basPublic.HanCol);
  Key(kDelete);
  EXPECT_EQ(bed.Result(eye).Han, 2);
  EXPECT_EQ(bed.Cell(eye, basPublic.HanCol), "Ｂ");
}

TEST_F(GridEditEvents, AJudgementPickOnACheckedRow) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  Finish();
  KekkaData& r = bed.Result(bmi);
  r.Han = 2;
  r.Hekbn = 1;
  grid().SetText(basPublic.HanCol, bed.RowOf(bmi), "Ｂ");
  // The same judgement again: nothing, and no message.
  Pick(bmi, basPublic.HanCol, 1);
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_EQ(r.User, "");
  // Another one is refused and the old mark shown again.
  Pick(bmi, basPublic.HanCol, 2);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"「ＢＭＩ」は\r\nチェックがついてるため変更できません。"});
  EXPECT_EQ(r.Han, 2);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ｂ");
}

TEST_F(GridEditEvents, AJudgementPickStoresStampsAndClearsTheClass) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  Finish();
  KekkaData& r = bed.Result(bmi);
  r.Sokutei = kSokuteiUnmeasurable;
  grid().SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, bed.RowOf(bmi)), 1);
  Pick(bmi, basPublic.HanCol, 2);
  EXPECT_EQ(r.Han, 3);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(grid().ComboCurSelAt(basPublic.SokuteiCol, bed.RowOf(bmi)), -1);
  EXPECT_EQ(bed.Cell(bmi, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, AMeasurementClassPickShowsTheClassInTheResultCell) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  Finish();
  bed.Result(bmi).Knsach = "22.5 ";
  Pick(bmi, basPublic.SokuteiCol, 4);
  EXPECT_EQ(bed.Result(bmi).Sokutei, kSokuteiAtOrAbove);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "(≧22.5)");
  EXPECT_EQ(bed.Result(bmi).User, kBedUser);
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
}

TEST_F(GridEditEvents, AfterAFindingCodeTheCursorPassesItsTextCell) {
  const std::int16_t chest = bed.Add(FindingsItem(3001));
  const std::int16_t next = bed.Add(JudgedNumeric(1003));
  Finish();
  Go(chest, basPublic.SyoCodeCol);
  grid().SetText(basPublic.SyoCodeCol, bed.RowOf(chest), "003");
  Key(kEnter);
  EXPECT_EQ(bed.Result(chest).Syoken, "要再検");
  EXPECT_EQ(grid().active_row(), bed.RowOf(next));
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);

  // With nothing typed the cursor stops at the findings text.
  Go(chest, basPublic.SyoCodeCol);
  frmResultIn.ResultMatrix(chest, 0).Syoken.clear();
  grid().SetText(basPublic.ResultCol, bed.RowOf(chest), "");
  Key(kEnter);
  EXPECT_EQ(grid().active_row(), bed.RowOf(chest));
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);
}

TEST_F(GridEditEvents, ATypedFindingTextIsStored) {
  const std::int16_t chest = bed.Add(FindingsItem(3001));
  Finish();
  const int row = bed.RowOf(chest);
  KekkaData& r = bed.Result(chest);
  r.Sokutei = kSokuteiUnmeasurable;
  r.Han = 3;
  grid().SetText(basPublic.ResultCol, row, "(測定不能)");
  // The class texts keep the class.
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.ResultCol, row), kEntryNothing);
  grid().SetText(basPublic.ResultCol, row, "(未実施)");
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.ResultCol, row), kEntryProcessed);
  EXPECT_EQ(r.Syoken, "(未実施)");
  EXPECT_EQ(r.Sokutei, kSokuteiUnmeasurable);
  // A list entry's code part is cut; any other text clears the class.
  grid().SetText(basPublic.ResultCol, row, "軽度の所見 $00000303");
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.ResultCol, row), kEntryProcessed);
  EXPECT_EQ(r.Syoken, "軽度の所見");
  EXPECT_EQ(bed.Cell(chest, basPublic.ResultCol), "軽度の所見");
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(r.Han, 3);
  // Emptied: the judgement goes.
  grid().SetText(basPublic.ResultCol, row, "");
  EXPECT_EQ(Fnc_ProcessEnterKey(basPublic.ResultCol, row), kEntryProcessed);
  EXPECT_EQ(r.Han, 0);
  EXPECT_EQ(bed.Cell(chest, basPublic.HanCol), "");
  EXPECT_EQ(r.User, kBedUser);
}

TEST_F(GridEditEvents, TheCursorNeverStopsOnAHeaderRow) {
  bed.Add(JudgedNumeric(1003));
  const std::int16_t second = bed.Add(JudgedNumeric(1101));
  Finish();
  Go(second, basPublic.ResultCol);
  ASSERT_NE(grid().active_row(), basPublic.StartRow);
  EXPECT_FALSE(grid().MoveActiveCell(basPublic.ResultCol, basPublic.JdateRow));
  EXPECT_EQ(grid().active_row(), basPublic.StartRow);
  EXPECT_EQ(grid().active_col(), basPublic.ResultCol);
}

TEST_F(GridEditEvents, AFindingPickStoresItsTextAndJudgement) {
  const std::int16_t chest = bed.Add(FindingsItem(3001));
  Finish();
  const int row = bed.RowOf(chest);
  SetList(basPublic.ResultCol, row, "所見なし$00000201\r\n\t要再検$00000303\r\n\t◆◆検索画面を開きます◆◆");
  KekkaData& r = bed.Result(chest);
  r.Sokutei = kSokuteiNotPerformed;
  grid().SetText(basPublic.SyoCodeCol, row, "003");
  Pick(chest, basPublic.ResultCol, 1);
  EXPECT_EQ(r.Syoken, "要再検");
  EXPECT_EQ(r.Han, 3);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(bed.Cell(chest, basPublic.ResultCol), "要再検");
  EXPECT_EQ(bed.Cell(chest, basPublic.SyoCodeCol), "");
  EXPECT_EQ(bed.Cell(chest, basPublic.HanCol), "Ｃ");
  EXPECT_EQ(bed.Fore(chest, basPublic.ResultCol), LetterColor('E'));
  EXPECT_EQ(r.User, kBedUser);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, DeleteOnTheClassShowsThePlainValueAgain) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  Finish();
  const int row = bed.RowOf(bmi);
  KekkaData& r = bed.Result(bmi);
  r.Knsach = "22.5 ";
  r.Sokutei = kSokuteiBelow;
  grid().SetComboCurSel(grid::Range::Cell(basPublic.SokuteiCol, row), 3);
  grid().SetText(basPublic.ResultCol, row, "(＜22.5)");
  Go(bmi, basPublic.SokuteiCol);
  Key(kDelete);
  EXPECT_EQ(r.Sokutei, kSokuteiNone);
  EXPECT_EQ(r.Knsach, "22.5 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "22.5 ");
  EXPECT_EQ(grid().ComboCurSelAt(basPublic.SokuteiCol, row), -1);
  EXPECT_EQ(r.User, kBedUser);
}

TEST_F(GridEditEvents, LeavingATypedCellProcessesIt) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  const std::int16_t next = bed.Add(JudgedNumeric(1101, "体脂肪率"));
  Finish();
  Go(bmi, basPublic.ResultCol);
  grid().TypeText("23");
  ASSERT_TRUE(grid().MoveActiveCell(basPublic.ResultCol, bed.RowOf(next)));
  EXPECT_EQ(bed.Result(bmi).Knsach, "23.0 ");

  // A refused value keeps the cursor and shows the stored value again.
  Go(bmi, basPublic.ResultCol);
  grid().TypeText("1234");
  EXPECT_FALSE(grid().MoveActiveCell(basPublic.ResultCol, bed.RowOf(next)));
  EXPECT_EQ(grid().active_row(), bed.RowOf(bmi));
  EXPECT_EQ(bed.Result(bmi).Knsach, "23.0 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "23.0 ");
}

// The input method of the main form as the cursor enters a cell, by a
// click or an arrow key (the leave-cell event) or by Enter: by the kind of
// the item entered, never by the cell left. A findings item opens it for
// kana on a list cell and leaves it elsewhere (after Enter it opens it
// there too, but closes it on the findings code); a judgement item follows
// HanIME; the numeric kinds close it; an item of no known kind (one whose
// master was not found) leaves it.
TEST_F(GridEditEvents, TheInputMethodFollowsTheKindOfTheCellEntered) {
  const std::int16_t start = bed.Add(JudgedNumeric(1003));
  const std::int16_t numeric = bed.Add(JudgedNumeric(1101, "体脂肪率"));
  const std::int16_t listed = bed.Add(FindingsItem(3001));
  bed.Add(JudgedNumeric(1102, "腹囲"));
  const std::int16_t plain = bed.Add(FindingsItem(3002));
  const std::int16_t group = bed.Add(JudgementBed::GroupItem(1, "身体判定"));
  KomInfo unknown = JudgedNumeric(1201, "未設定");
  unknown.Ksyub = 0;
  const std::int16_t kindless = bed.Add(unknown);
  Finish();
  SetList(basPublic.ResultCol, bed.RowOf(listed), "所見なし$00000201\r\n\t◆◆検索画面を開きます◆◆");
  ui::ImeState& ime = grid().form()->ime;
  constexpr int kKana = 8 + 1;
  constexpr int kKanaRoman = 8 + 1 + 16;
  constexpr int kAlnum = 8;
  constexpr int kAsBefore = -1;
  enum Way { kClick, kDown, kEnterFromAbove };
  struct Case {
    const char* name;
    Way way;
    std::int16_t item;
    int han_ime;
    const char* fep;
    bool open_before;
    bool open_after;
    int conversion_after;  // kAsBefore: unchanged
  };
  const Case cases[] = {
      {"click a number", kClick, numeric, 1, "", true, false, kAsBefore},
      {"Down to a number", kDown, numeric, 1, "", true, false, kAsBefore},
      {"click a findings list", kClick, listed, 1, "", false, true, kKana},
      {"Down to a findings list, romaji", kDown, listed, 1, "K", false, true, kKanaRoman},
      {"click a findings text, closed", kClick, plain, 1, "", false, false, kAsBefore},
      {"click a findings text, open", kClick, plain, 1, "", true, true, kAsBefore},
      {"Enter onto a findings code", kEnterFromAbove, plain, 1, "", true, false, kAsBefore},
      {"click a judgement, HanIME 0", kClick, group, 0, "", true, false, kAsBefore},
      {"click a judgement, HanIME 1", kClick, group, 1, "", false, true, kAlnum},
      {"Down to a judgement, HanIME 2", kDown, group, 2, "", false, true, kKana},
      {"click a judgement, HanIME 3", kClick, group, 3, "", true, true, kAsBefore},
      {"click an item of no kind, open", kClick, kindless, 1, "", true, true, kAsBefore},
      {"Down to an item of no kind, closed", kDown, kindless, 1, "", false, false, kAsBefore},
  };
  constexpr int kBefore = 0x40;  // a conversion no call sets
  for (const Case& c : cases) {
    basPublic.HanIME = static_cast<std::int16_t>(c.han_ime);
    basPublic.FepSetting = c.fep;
    const std::int16_t from = c.way == kClick ? start : static_cast<std::int16_t>(c.item - 1);
    Go(from, basPublic.ResultCol);
    ime.open = c.open_before;
    ime.conversion = kBefore;
    switch (c.way) {
      case kClick: grid().ClickCell(basPublic.ResultCol, bed.RowOf(c.item)); break;
      case kDown: grid().DeliverKeyDown(ui::kKeyDown, 0); break;
      case kEnterFromAbove: grid().DeliverKeyDown(kEnter, 0); break;
    }
    ASSERT_EQ(grid().active_row(), bed.RowOf(c.item)) << c.name;
    EXPECT_EQ(ime.open, c.open_after) << c.name;
    EXPECT_EQ(ime.conversion, c.conversion_after == kAsBefore ? kBefore : c.conversion_after) << c.name;
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(GridEditEvents, ACheckedRowIsNotOpenedByADoubleClick) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  const std::int16_t free = bed.Add(JudgedNumeric(1101));
  Finish();
  bed.Result(bmi).Hekbn = 1;
  grid().DoubleClickCell(basPublic.ResultCol, bed.RowOf(bmi));
  EXPECT_FALSE(grid().edit_mode());
  grid().DoubleClickCell(basPublic.ResultCol, bed.RowOf(free));
  EXPECT_TRUE(grid().edit_mode());
}

}  // namespace
}  // namespace qz::testing

namespace qz::testing {
namespace {

class GridLockedEdits : public GridEditEvents {
 protected:
  // A numeric source holding "22.5" whose summary item holds "要精検" (4)
  // with done-check `hekbn`; returns the two item indexes.
  std::pair<std::int16_t, std::int16_t> SourceWithSummary(std::int16_t hekbn) {
    const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
    const std::int16_t summary = bed.Add(FindingsItem(7001));
    Finish();
    frmResultIn.ItemTable[bmi].SougouDest = summary;
    bed.Result(summary).Syoken = "要精検";
    bed.Result(summary).Han = 4;
    bed.Result(summary).Hekbn = hekbn;
    grid().SetText(basPublic.ResultCol, bed.RowOf(summary), "要精検");
    bed.Result(bmi).Knsach = "22.5 ";
    grid().SetText(basPublic.ResultCol, bed.RowOf(bmi), "22.5 ");
    return {bmi, summary};
  }
};

TEST_F(GridLockedEdits, RefusedDeletesChangeNeitherTheCellNorTheSummaryItem) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003));
  const std::int16_t other = bed.Add(JudgedNumeric(1101, "体脂肪率"), false, false);
  const std::int16_t summary = bed.Add(FindingsItem(7001));
  const std::int16_t overall = bed.Add(JudgementBed::OverallItem());
  Finish();
  frmResultIn.ItemTable[bmi].SougouDest = summary;
  bed.Result(summary).Syoken = "要精検";
  bed.Result(summary).Han = 4;
  for (std::int16_t i : {bmi, other}) {
    bed.Result(i).Knsach = "22.5 ";
    bed.Result(i).Hekbn = 1;
    grid().SetText(basPublic.ResultCol, bed.RowOf(i), "22.5 ");
    grid().SetText(basPublic.ChkCol, bed.RowOf(i), "V");
  }
  // Without the permission the check stays, as after a click.
  Go(other, basPublic.ChkCol);
  Key(kDelete);
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"「体脂肪率」の\r\n入力ご担当者に連絡して下さい。"});
  EXPECT_EQ(bed.Result(other).Hekbn, 1);
  EXPECT_EQ(bed.Cell(other, basPublic.ChkCol), "V");

  // Under the overall lock neither the check nor the value goes.
  frmResultIn.SouChk = "1";
  bed.Result(overall).Hekbn = 1;
  bed.shell.ClearRecords();
  Go(bmi, basPublic.ChkCol);
  Key(kDelete);
  EXPECT_EQ(bed.Result(bmi).Hekbn, 1);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ChkCol), "V");
  bed.Result(bmi).Hekbn = 0;
  Go(bmi, basPublic.ResultCol);
  Key(kDelete);
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{"総合判定済みのため変更できません。",
                                                   "総合判定済みのため変更できません。"}));
  EXPECT_EQ(bed.Result(bmi).Knsach, "22.5 ");
  EXPECT_EQ(bed.Cell(bmi, basPublic.ResultCol), "22.5 ");
  EXPECT_EQ(grid().active_row(), bed.RowOf(bmi));
  EXPECT_EQ(bed.Result(summary).Syoken, "要精検");
  EXPECT_EQ(bed.Result(summary).Han, 4);
  EXPECT_EQ(bed.Result(summary).User, "");

  // Nor does the automatic check touch a locked item.
  basPublic.AutoCheck = 2;
  Key(kEnter);
  EXPECT_EQ(bed.Result(bmi).Hekbn, 0);
}

TEST_F(GridLockedEdits, ADeleteClearsItsSummaryItemAndStampsIt) {
  const auto [bmi, summary] = SourceWithSummary(0);
  Go(bmi, basPublic.ResultCol);
  Key(kDelete);
  EXPECT_EQ(bed.Result(bmi).Knsach, "");
  EXPECT_EQ(bed.Result(summary).Syoken, "");
  EXPECT_EQ(bed.Result(summary).Han, 0);
  EXPECT_EQ(bed.Result(summary).User, kBedUser);
  EXPECT_EQ(bed.Result(summary).Ymd, 20261209);
  EXPECT_EQ(bed.Result(summary).Hms, 103015);
  EXPECT_EQ(bed.Cell(summary, basPublic.ResultCol), "");
  EXPECT_EQ(bed.Cell(summary, basPublic.UpdateCol), kBedUserName);
}

TEST_F(GridLockedEdits, ADeleteLeavesADoneCheckedSummaryItem) {
  const auto [bmi, summary] = SourceWithSummary(1);
  const KekkaData confirmed = bed.Result(summary);
  Go(bmi, basPublic.ResultCol);
  Key(kDelete);
  EXPECT_EQ(bed.Result(bmi).Knsach, "");
  EXPECT_EQ(bed.Result(summary), confirmed);
  EXPECT_EQ(bed.Cell(summary, basPublic.ResultCol), "要精検");
  EXPECT_EQ(bed.Cell(summary, basPublic.UpdateCol), "");
}

TEST_F(GridLockedEdits, TheAutoCheckLeavesItemsTheUserMayNotEdit) {
  const std::int16_t bmi = bed.Add(JudgedNumeric(1003), false, false);
  Finish();
  basPublic.AutoCheck = 2;
  Go(bmi, basPublic.ResultCol);
  Key(kEnter);
  EXPECT_EQ(bed.Result(bmi).Hekbn, 0);
  EXPECT_EQ(bed.Cell(bmi, basPublic.ChkCol), "");
}

}  // namespace
}  // namespace qz::testing
