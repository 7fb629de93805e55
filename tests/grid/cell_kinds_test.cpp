// Cell kinds, locks and the cursor's way through the input cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "examinee/bas_public.h"
#include "grid/cell_kind_table.h"
#include "grid/cell_kinds.h"
#include "grid/cursor_destination.h"
#include "grid/grid_bed.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

// The kinds of columns 1..12 of a line as a string of digits.
std::string LineKinds(int row) {
  std::string s;
  for (int c = 1; c <= 12; ++c) s += static_cast<char>('0' + frmResultIn.CellKinds(c, row));
  return s;
}

TEST(CellKinds, EachKindOfItemHasItsInputCells) {
  struct Case {
    const char* what;
    std::int16_t ksyub;
    std::int16_t kekano, syokno, hantno, past;
    const char* kinds;  // columns 1..12
  };
  const Case cases[] = {
      {"numeric", kKsyubNumeric, 0, 0, 0, 0, "444213434444"},
      {"numeric, no result", kKsyubNumeric, 1, 0, 0, 0, "444223434444"},
      {"calculated", kKsyubCalculated, 0, 0, 0, 0, "444233434444"},
      {"findings", kKsyubFindings, 0, 0, 0, 0, "444113434444"},
      {"findings, no result", kKsyubFindings, 1, 0, 0, 0, "444213434444"},
      {"findings, no findings", kKsyubFindings, 0, 1, 0, 0, "444123434444"},
      {"judgement-coded", kKsyubGroupJudgement, 0, 0, 0, 0, "444213444444"},
      {"judgement-coded, no judgement", kKsyubGroupJudgement, 0, 0, 1, 0, "444223444444"},
      // Nothing of an item not booked now is entered: neither its code, its
      // result, its measurement class nor its judgement.
      {"numeric, earlier only", kKsyubNumeric, 0, 0, 0, kPastBookedEarlier, "444222424444"},
      {"calculated, results only", kKsyubCalculated, 0, 0, 0, kPastResultOnly, "444222424444"},
      {"findings, earlier only", kKsyubFindings, 0, 0, 0, kPastBookedEarlier, "444222424444"},
  };
  GridBed bed;
  long long code = 1;
  for (const Case& c : cases) {
    KomInfo& item = bed.AddItem(code++, c.ksyub);
    item.Kekano = c.kekano;
    item.Syokno = c.syokno;
    item.Hantno = c.hantno;
    item.Past = c.past;
  }
  bed.ShowAll(1);
  Sub_SprSet();
  ASSERT_TRUE(bed.Boxes().empty());

  const int lines = frmResultIn.RowCount();
  EXPECT_EQ(frmResultIn.CellKinds.Cols(), 12);
  EXPECT_EQ(frmResultIn.CellKinds.Rows(), lines + basPublic.DataRow + 1);
  for (int r = 1; r < basPublic.DataRow; ++r) EXPECT_EQ(LineKinds(r), "444444444444") << "header row " << r;
  for (int k = 0; k < lines; ++k) {
    SCOPED_TRACE(cases[k].what);
    EXPECT_EQ(LineKinds(basPublic.DataRow + k), cases[k].kinds);
  }
  // The two spare rows after the last line.
  EXPECT_EQ(LineKinds(lines + basPublic.DataRow), "000000000000");
  EXPECT_EQ(LineKinds(lines + basPublic.DataRow + 1), "000000000000");
}

TEST(CellKinds, LocksFollowTheKindsAndStopAtARowOutsideTheTable) {
  GridBed bed;
  bed.AddItem(1, kKsyubFindings);
  bed.AddItem(2, kKsyubGroupJudgement);
  bed.ShowAll();
  Sub_SprSet();
  Sub_LockSet();
  ASSERT_TRUE(bed.Boxes().empty());
  for (int r = 1; r <= bed.spr.max_rows(); ++r) {
    for (int c = 1; c <= bed.spr.max_cols(); ++c) {
      const std::int16_t kind = frmResultIn.CellKinds(c, r);
      EXPECT_EQ(bed.spr.FormatAt(c, r).lock, kind != kCellInput && kind != kCellPickOnly)
          << "cell " << c << "," << r << " kind " << kind;
    }
  }

  // A grid with more rows than the table: the locking stops at the first
  // cell outside it, after the error report.
  const int outside = frmResultIn.CellKinds.Rows() + 1;
  bed.spr.SetMaxRows(outside);
  bed.spr.SetLock(grid::Range::Row(outside - 1), false);
  Sub_LockSet();
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("セルのロック処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_TRUE(bed.spr.FormatAt(bed.spr.max_cols(), outside - 1).lock);
  EXPECT_FALSE(bed.spr.FormatAt(1, outside).lock);
}

TEST(CellKinds, ALineOfAnItemOutsideTheTableIsReported) {
  GridBed bed;
  bed.AddItem(1, kKsyubNumeric);
  bed.ShowAll();
  frmResultIn.RowItems.Append(5);  // no item 5
  Sub_SprSet();
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("フォーカスの取得処理でエラーが発生しました。\r\n", 0), 0u);
  // The lines before it have their kinds.
  EXPECT_EQ(frmResultIn.CellKinds(basPublic.ResultCol, basPublic.DataRow), kCellInput);
}

class Cursor : public ::testing::Test {
 protected:
  Cursor() {
    bed.AddItem(1, kKsyubNumeric);
    bed.AddItem(2, kKsyubNumeric).Kekano = 1;
    bed.AddItem(3, kKsyubFindings);
    bed.AddItem(4, kKsyubGroupJudgement);
    bed.AddItem(5, kKsyubCalculated);
    bed.AddItem(6, kKsyubNumeric);
    bed.ShowAll(2);
    Sub_SprSet();
  }
  // Line `line`'s grid row.
  static std::int32_t Row(int line) { return line + basPublic.DataRow - 1; }

  GridBed bed;
};

TEST_F(Cursor, EnterVisitsTheInputCellsInReadingOrderAndStaysOnTheLast) {
  std::int32_t row = Row(1), col = basPublic.StartCol - 1;
  const std::pair<std::int32_t, std::int32_t> expected[] = {
      {Row(1), 5}, {Row(3), 4}, {Row(3), 5}, {Row(4), 5}, {Row(6), 5}, {Row(6), 5},
  };
  for (const auto& [want_row, want_col] : expected) {
    std::int32_t dest_row = -9, dest_col = -9;
    Sub_GetCursorDestination(row, col, kEnterKey, dest_row, dest_col);
    EXPECT_EQ(dest_row, want_row);
    EXPECT_EQ(dest_col, want_col);
    row = dest_row;
    col = dest_col;
  }
  // At the end the cell it stayed on was made the active cell.
  EXPECT_EQ(bed.spr.active_row(), Row(6));
  EXPECT_EQ(bed.spr.active_col(), 5);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(Cursor, ItemsWithoutALineDoNotCarryTheScanPastTheLastLine) {
  // More items in the table than lines: the spare rows end the scan.
  bed.AddItem(7, kKsyubNumeric);
  bed.AddItem(8, kKsyubNumeric);
  bed.AddItem(9, kKsyubNumeric);
  std::int32_t dest_row = 0, dest_col = 0;
  Sub_GetCursorDestination(Row(6), 5, kEnterKey, dest_row, dest_col);
  EXPECT_EQ(dest_row, Row(6));
  EXPECT_EQ(dest_col, 5);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(Cursor, AnotherKeyLeavesTheCursorWhereItIs) {
  std::int32_t dest_row = 0, dest_col = 0;
  Sub_GetCursorDestination(Row(2), 8, 40, dest_row, dest_col);
  EXPECT_EQ(dest_row, Row(2));
  EXPECT_EQ(dest_col, 8);
  EXPECT_EQ(bed.spr.active_row(), Row(2));
  EXPECT_EQ(bed.spr.active_col(), 8);
}

TEST_F(Cursor, WithoutCellKindsTheErrorIsReportedAndTheOutValuesKept) {
  frmResultIn.CellKinds = CellKindTable{};
  std::int32_t dest_row = 77, dest_col = 88;
  Sub_GetCursorDestination(Row(1), 3, kEnterKey, dest_row, dest_col);
  EXPECT_EQ(dest_row, 77);
  EXPECT_EQ(dest_col, 88);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("カーソルの移動先取得処理でエラーが発生しました。\r\n", 0), 0u);
}

}  // namespace
}  // namespace qz::testing
