// Cells, formats, lists, locks and sorting of the spreadsheet grid model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"

namespace qz::grid {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr Color kGray = 0xC0C0C0;

class SpreadTest : public ::testing::Test {
 protected:
  SpreadTest() {
    spr.SetMaxCols(12);
    spr.SetMaxRows(10);
  }
  Spread spr{nullptr, "sprResult"};
};

struct ColourWrite {
  Range range;
  Color color;
};

struct PrecedenceCase {
  const char* name;
  std::vector<ColourWrite> writes;
  int col, row;
  Color expected;
};

TEST_F(SpreadTest, TheLastColourWrittenOnCellRowColumnOrSheetWins) {
  const std::vector<PrecedenceCase> cases = {
      {"nothing written: data cell", {}, 3, 5, ui::kSysWindowBackground},
      {"nothing written: row header", {}, 0, 5, ui::kSysButtonFace},
      {"column then row", {{Range::Column(3), kRed}, {Range::Row(5), kGreen}}, 3, 5, kGreen},
      {"row then column", {{Range::Row(5), kGreen}, {Range::Column(3), kRed}}, 3, 5, kRed},
      {"cell then column", {{Range::Cell(3, 5), kBlue}, {Range::Column(3), kRed}}, 3, 5, kRed},
      {"column then cell", {{Range::Column(3), kRed}, {Range::Cell(3, 5), kBlue}}, 3, 5, kBlue},
      {"cell then row", {{Range::Cell(3, 5), kBlue}, {Range::Row(5), kGreen}}, 3, 5, kGreen},
      {"row, cell, then sheet",
       {{Range::Row(5), kGreen}, {Range::Cell(3, 5), kBlue}, {Range::Sheet(), kGray}}, 3, 5, kGray},
      {"sheet then row", {{Range::Sheet(), kGray}, {Range::Row(5), kGreen}}, 3, 5, kGreen},
      {"a whole-row colour reaches the row header", {{Range::Row(5), kGreen}}, 0, 5, kGreen},
      {"a cell colour stays in its cell", {{Range::Cell(3, 5), kBlue}}, 4, 5, ui::kSysWindowBackground},
      {"a block colours its inside", {{Range::Block(2, 4, 5, 6), kRed}}, 4, 6, kRed},
      {"a block leaves its outside", {{Range::Block(2, 4, 5, 6), kRed}}, 6, 6, ui::kSysWindowBackground},
      {"a reversed block is the same block", {{Range::Block(5, 6, 2, 4), kRed}}, 2, 4, kRed},
  };
  for (const auto& c : cases) {
    Spread s(nullptr, "s");
    s.SetMaxCols(12);
    s.SetMaxRows(10);
    for (const auto& w : c.writes) s.SetBackColor(w.range, w.color);
    EXPECT_EQ(s.BackColorAt(c.col, c.row), c.expected) << c.name;
  }
}

TEST_F(SpreadTest, AColumnColourHoldsForRowsAddedLaterAndShrinkingDropsRowState) {
  spr.SetMaxRows(3);
  spr.SetForeColor(Range::Column(5), kRed);
  spr.SetBackColor(Range::Row(3), kGreen);
  spr.SetMaxRows(8);
  EXPECT_EQ(spr.ForeColorAt(5, 8), kRed);
  EXPECT_EQ(spr.ForeColorAt(4, 8), ui::kSysWindowText);

  spr.SetText(2, 7, "old");
  spr.SetBackColor(Range::Cell(2, 7), kBlue);
  spr.SetBackColor(Range::Row(6), kBlue);
  spr.SetMaxRows(5);
  spr.SetMaxRows(8);
  EXPECT_EQ(spr.TextAt(2, 7), "");
  EXPECT_EQ(spr.BackColorAt(2, 7), ui::kSysWindowBackground);
  EXPECT_EQ(spr.BackColorAt(1, 6), ui::kSysWindowBackground);
  EXPECT_EQ(spr.BackColorAt(1, 3), kGreen);  // a row kept keeps its colour
  EXPECT_EQ(spr.ForeColorAt(5, 7), kRed);
}

TEST_F(SpreadTest, CurrentCellPropertiesFollowColRowAndBlockMode) {
  spr.col = -1;
  spr.row = 2;
  spr.SetBackColor(kRed);
  spr.col = 4;
  spr.row = -1;
  spr.SetFontBold(true);
  spr.col = 2;
  spr.row = 6;
  spr.col2 = 3;
  spr.row2 = 7;
  spr.block_mode = true;
  spr.SetText("x");
  spr.block_mode = false;

  EXPECT_EQ(spr.BackColorAt(0, 2), kRed);
  EXPECT_EQ(spr.BackColorAt(12, 2), kRed);
  EXPECT_TRUE(spr.FormatAt(4, 9).font_bold);
  EXPECT_FALSE(spr.FormatAt(5, 9).font_bold);
  EXPECT_EQ(spr.TextAt(3, 7), "x");
  EXPECT_EQ(spr.TextAt(4, 7), "");
  spr.col = 4;
  spr.row = 1;
  EXPECT_TRUE(spr.FontBold());
  spr.col = 3;
  spr.row = 2;
  EXPECT_EQ(spr.BackColor(), kRed);
}

TEST_F(SpreadTest, GetTextFailsOutsideTheGridOnly) {
  spr.SetText(12, 10, "last");
  struct Case {
    int col, row;
    bool readable;
  };
  for (const Case& c : std::vector<Case>{{12, 10, true}, {0, 0, true}, {13, 1, false},
                                         {1, 11, false}, {-1, 1, false}, {1, -1, false}}) {
    std::string out = "unchanged";
    EXPECT_EQ(spr.GetText(c.col, c.row, out), c.readable) << c.col << "," << c.row;
    if (!c.readable) {
      EXPECT_EQ(out, "unchanged");
    }
  }
  std::string out;
  spr.GetText(12, 10, out);
  EXPECT_EQ(out, "last");
}

TEST_F(SpreadTest, EmptyingTheWholeSheetKeepsHeaderTexts) {
  spr.SetText(0, 3, "row title");
  spr.SetText(4, 0, "col title");
  spr.SetText(4, 3, "data");
  spr.SetText(Range::Sheet(), "");
  EXPECT_EQ(spr.TextAt(4, 3), "");
  EXPECT_EQ(spr.TextAt(0, 3), "row title");
  EXPECT_EQ(spr.TextAt(4, 0), "col title");
}

TEST_F(SpreadTest, ComboListIsKeptVerbatimAndGrowsEntryByEntry) {
  const std::string list = "胃炎$00000101\r\n\t潰瘍$00000202\r\n\t◆◆検索画面を開きます◆◆";
  spr.SetCellType(Range::Cell(5, 4), CellType::kComboBox);
  spr.col = 5;
  spr.row = 4;
  spr.SetComboList(list);
  EXPECT_EQ(spr.ComboList(), list);
  EXPECT_EQ(spr.ComboCount(), 3);
  EXPECT_EQ(spr.GetCellType(), CellType::kComboBox);

  spr.SetComboList("");
  EXPECT_EQ(spr.ComboCount(), 0);
  spr.AddComboEntry(0, "b\r\n");
  spr.AddComboEntry(-1, "c\r\n");
  spr.AddComboEntry(0, "a\r\n");
  EXPECT_EQ(spr.ComboList(), "a\r\n\tb\r\n\tc\r\n");
  EXPECT_EQ(spr.ComboCurSel(), -1);

  spr.SetComboCurSel(1);
  EXPECT_EQ(spr.Text(), "b\r\n");
  spr.SetComboCurSel(7);  // outside the list: ignored
  EXPECT_EQ(spr.ComboCurSel(), 1);
  spr.SetComboCurSel(-1);
  EXPECT_EQ(spr.Text(), "");
}

TEST_F(SpreadTest, WritingAComboTextSelectsTheEqualEntryOrNone) {
  spr.SetCellType(Range::Column(8), CellType::kComboBox);
  spr.SetComboList(Range::Column(8), "Ａ  異常なし\tＢ  軽度異常");
  spr.SetText(8, 4, "Ｂ  軽度異常");
  EXPECT_EQ(spr.ComboCurSelAt(8, 4), 1);
  spr.SetText(8, 4, "Ｂ");
  EXPECT_EQ(spr.ComboCurSelAt(8, 4), -1);
  EXPECT_EQ(spr.TextAt(8, 4), "Ｂ");
}

TEST_F(SpreadTest, TypingIntoAnEditableComboClearsItsSelection) {
  spr.SetCellType(Range::Cell(5, 4), CellType::kComboBox);
  spr.SetComboList(Range::Cell(5, 4), "x\ty");
  spr.SetComboEditable(Range::Cell(5, 4), true);
  spr.SetComboCurSel(Range::Cell(5, 4), 1);
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  ASSERT_TRUE(spr.TypeText("所見"));
  EXPECT_EQ(spr.ComboCurSelAt(5, 4), -1);
  EXPECT_EQ(spr.TextAt(5, 4), "所見");
  spr.SetEditMode(false);
  EXPECT_EQ(spr.TextAt(5, 4), "所見");
  EXPECT_EQ(spr.ComboCurSelAt(5, 4), -1);
}

TEST_F(SpreadTest, LocksTakeEffectUnderProtectionOnly) {
  struct Case {
    CellType type;
    bool editable_combo;
    bool lock;
    bool protect;
    bool takes_input;
  };
  const std::vector<Case> cases = {
      {CellType::kEdit, false, false, true, true},
      {CellType::kEdit, false, true, true, false},
      {CellType::kEdit, false, true, false, true},
      {CellType::kInteger, false, false, true, true},
      {CellType::kFloat, false, true, true, false},
      {CellType::kStaticText, false, false, true, false},
      {CellType::kCheckBox, false, false, true, false},
      {CellType::kComboBox, false, false, true, false},
      {CellType::kComboBox, true, false, true, true},
      {CellType::kComboBox, true, true, true, false},
  };
  for (const Case& c : cases) {
    Spread s(nullptr, "s");
    s.SetMaxCols(3);
    s.SetMaxRows(3);
    s.SetCellType(Range::Cell(2, 2), c.type);
    s.SetComboEditable(Range::Cell(2, 2), c.editable_combo);
    s.SetLock(Range::Cell(2, 2), c.lock);
    s.protect = c.protect;
    ASSERT_TRUE(s.MoveActiveCell(2, 2));
    EXPECT_EQ(s.CellTakesInput(2, 2), c.takes_input) << static_cast<int>(c.type) << c.lock << c.protect;
    EXPECT_EQ(s.TypeText("1"), c.takes_input);
    s.SetEditMode(false);
    EXPECT_EQ(s.TextAt(2, 2), c.takes_input ? "1" : "");
  }
}

TEST_F(SpreadTest, LockedCellsRefusePicksChecksAndEditMode) {
  spr.SetCellType(Range::Cell(6, 4), CellType::kComboBox);
  spr.SetComboList(Range::Cell(6, 4), "未実施\t測定不能");
  spr.SetCellType(Range::Cell(7, 4), CellType::kCheckBox);
  spr.SetLock(Range::Row(4), true);
  int changes = 0;
  spr.on_change = [&](int, int) { ++changes; };

  spr.ClickCell(6, 4);
  EXPECT_FALSE(spr.PickComboEntry(0));
  spr.ClickCell(7, 4);
  EXPECT_EQ(spr.TextAt(7, 4), "");
  spr.ClickCell(5, 4);
  spr.SetEditMode(true);
  EXPECT_FALSE(spr.edit_mode());
  EXPECT_EQ(changes, 0);

  spr.SetLock(Range::Row(4), false);
  spr.ClickCell(7, 4);
  EXPECT_EQ(spr.TextAt(7, 4), "1");
  spr.ClickCell(6, 4);
  EXPECT_TRUE(spr.PickComboEntry(1));
  EXPECT_EQ(spr.TextAt(6, 4), "測定不能");
  EXPECT_EQ(changes, 2);
}

TEST_F(SpreadTest, TypingKeepsToTheMaximumLengthInBytesAndTheCharacterSet) {
  struct Case {
    CellType type;
    int max_len;
    int char_set;
    const char* typed;
    const char* kept;
  };
  const std::vector<Case> cases = {
      {CellType::kEdit, 4, kCharSetAll, "結果値", "結果"},          // 2 bytes a character
      {CellType::kEdit, 3, kCharSetAll, "a結果", "a結"},
      // A full-width character with a half-width form is taken in it; half-width
      // kana is single-byte; a character with no single-byte form is dropped.
      {CellType::kEdit, 10, kCharSetSingleByte, "１2．５ｶﾅ漢", "12.5ｶﾅ"},
      // The minus sign is the code page's full-width minus: never dropped.
      {CellType::kEdit, 10, kCharSetSingleByte, "−5 －5 ー", "-5 -5 ｰ"},
      {CellType::kInteger, 10, kCharSetAll, "-12a.5", "-125"},
      {CellType::kFloat, 10, kCharSetAll, "12.5e", "12.5"},
  };
  for (const Case& c : cases) {
    Spread s(nullptr, "s");
    s.SetMaxCols(2);
    s.SetMaxRows(2);
    s.SetCellType(Range::Cell(1, 1), c.type);
    s.SetMaxEditLen(Range::Cell(1, 1), c.max_len);
    s.SetEditCharSet(Range::Cell(1, 1), c.char_set);
    ASSERT_TRUE(s.TypeText(c.typed));
    EXPECT_EQ(s.edit_text(), c.kept) << c.typed;
  }
}

TEST_F(SpreadTest, KeysTheCellRefusesStartNoEditAndKeepItsText) {
  Spread s(nullptr, "s");
  s.SetMaxCols(2);
  s.SetMaxRows(2);
  s.SetEditCharSet(Range::Cell(1, 1), kCharSetSingleByte);
  s.SetText(1, 1, "12.5 ");
  ASSERT_TRUE(s.TypeText("漢"));
  EXPECT_FALSE(s.edit_mode());
  s.DeliverKeyDown(kKeyReturn, 0);
  EXPECT_EQ(s.TextAt(1, 1), "12.5 ");
  // A key it takes replaces the text as usual.
  ASSERT_TRUE(s.TypeText("１"));
  s.DeliverKeyDown(kKeyReturn, 0);
  EXPECT_EQ(s.TextAt(1, 1), "1");
}

TEST_F(SpreadTest, SortsRowsByThreeKeysStablyAndNumericallyForNumberColumns) {
  spr.SetCellType(Range::Column(1), CellType::kFloat);
  spr.SetCellType(Range::Column(5), CellType::kInteger);
  // col 1 item number, col 2 name, col 5 group, col 6 order (text, descending)
  struct Row {
    const char* code;
    const char* name;
    const char* group;
    const char* order;
  };
  const std::vector<Row> rows = {
      {"300", "c", "10", "2"}, {"100", "a", "10", "1"}, {"200", "b", "5", "9"},
      {"90", "d", "10", "2"},  {"90", "e", "10", "2"},  {"400", "f", "10", "1"},
  };
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    spr.SetText(1, i + 1, rows[i].code);
    spr.SetText(2, i + 1, rows[i].name);
    spr.SetText(5, i + 1, rows[i].group);
    spr.SetText(6, i + 1, rows[i].order);
  }
  spr.SetBackColor(Range::Cell(2, 3), kRed);  // row "b" carries its own cell colour
  const SortKey keys[] = {{5, true}, {6, false}, {1, true}};
  spr.Sort(Range::Block(1, 1, 12, 6), keys);

  std::string names;
  for (int r = 1; r <= 6; ++r) names += spr.TextAt(2, r);
  // group 5 first (numeric: 5 < 10); then order "2" before "1"; then code
  // 90 < 300 numerically; the tie d/e keeps its order.
  EXPECT_EQ(names, "bdecaf");
  EXPECT_EQ(spr.BackColorAt(2, 1), kRed);
  EXPECT_EQ(spr.BackColorAt(2, 3), ui::kSysWindowBackground);
}

TEST_F(SpreadTest, SortsMoreRowsThanTheDesignSize) {
  spr.SetMaxRows(1200);
  spr.SetCellType(Range::Column(1), CellType::kFloat);
  for (int r = 1; r <= 1200; ++r) spr.SetText(1, r, std::to_string(1201 - r));
  const SortKey keys[] = {{1, true}};
  spr.Sort(Range::Block(1, 1, 1, 1200), keys);
  EXPECT_EQ(spr.TextAt(1, 1), "1");
  EXPECT_EQ(spr.TextAt(1, 600), "600");
  EXPECT_EQ(spr.TextAt(1, 1200), "1200");
}

TEST_F(SpreadTest, ANumberKeyTakesOnlyDecimalNumbersAndKeepsATotalOrder) {
  // Texts that are no decimal number sort before the numbers, in their
  // order; a cell of another type in the key column changes nothing.
  spr.SetCellType(Range::Column(1), CellType::kFloat);
  spr.SetCellType(Range::Cell(1, 6), CellType::kEdit);
  const std::vector<std::string> texts = {" 5 ", "nan", "-2", "inf", "1e1", "0x10", "+3", "", "abc", "7"};
  for (int i = 0; i < static_cast<int>(texts.size()); ++i) spr.SetText(1, i + 1, texts[i]);
  const SortKey keys[] = {{1, true}};
  spr.Sort(Range::Block(1, 1, 1, static_cast<int>(texts.size())), keys);
  std::vector<std::string> sorted;
  for (int r = 1; r <= static_cast<int>(texts.size()); ++r) sorted.push_back(spr.TextAt(1, r));
  EXPECT_EQ(sorted, (std::vector<std::string>{"nan", "inf", "0x10", "", "abc", "-2", "+3", " 5 ", "7", "1e1"}));
}

TEST_F(SpreadTest, SortRefusesMoreThanThreeKeys) {
  const SortKey keys[] = {{1, true}, {2, true}, {3, true}, {4, true}};
  try {
    spr.Sort(Range::Sheet(), keys);
    FAIL() << "no error";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.number(), kErrInvalidCall);
  }
}

TEST_F(SpreadTest, ColumnWidthZeroHidesAColumnFromArrowMoves) {
  spr.SetColWidth(6, 0);
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.DeliverKeyDown(kKeyRight, 0);
  EXPECT_EQ(spr.active_col(), 7);
  EXPECT_EQ(spr.ColWidth(6), 0);
  EXPECT_EQ(spr.ColWidth(13), 0);  // outside the grid
}

}  // namespace
}  // namespace qz::grid
