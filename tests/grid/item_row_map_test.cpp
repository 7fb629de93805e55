// Grid rows to item lines and item-table indexes.
#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "grid/grid_bed.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

TEST(ItemRowMap, ARowGivesTheItemOfItsLine) {
  GridBed bed;
  bed.AddItem(10, kKsyubNumeric);
  bed.AddItem(20, kKsyubNumeric);
  bed.AddItem(30, kKsyubNumeric);
  frmResultIn.RowItems.Append(3);
  frmResultIn.RowItems.Append(1);
  const int first = basPublic.DataRow;
  EXPECT_EQ(Fnc_RowToItem(first), 3);
  EXPECT_EQ(Fnc_RowToItem(first + 1), 1);
  EXPECT_EQ(Fnc_RowToLineIndex(first + 1), 2);
  EXPECT_EQ(Fnc_FindItemRow(1), 2);
  EXPECT_EQ(Fnc_FindItemRow(2), 0);
  EXPECT_EQ(Fnc_ItemToRow(Fnc_FindItemRow(1)), first + 1);
  // The header rows have lines 0 and below, without a report.
  EXPECT_EQ(Fnc_RowToLineIndex(basPublic.HeaderRow), basPublic.HeaderRow - basPublic.DataRow + 1);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST(ItemRowMap, ARowOutsideTheLinesIsReportedAndGivesNoItem) {
  GridBed bed;
  bed.AddItem(10, kKsyubNumeric);
  frmResultIn.RowItems.Append(1);
  for (int row : {int{basPublic.JdateRow}, basPublic.DataRow + 1, -1}) {
    SCOPED_TRACE(row);
    bed.shell.ClearRecords();
    EXPECT_EQ(Fnc_RowToItem(row), 0);
    ASSERT_EQ(bed.Boxes().size(), 1u);
    EXPECT_EQ(bed.Boxes()[0].rfind("添字の計算処理でエラーが発生しました。\r\n", 0), 0u);
  }
  // A line number beyond 16 bits overflows.
  bed.shell.ClearRecords();
  EXPECT_EQ(Fnc_RowToLineIndex(40000), 0);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_NE(bed.Boxes()[0].find("エラー番号 : 6"), std::string::npos) << bed.Boxes()[0];
}

}  // namespace
}  // namespace qz::testing
