// Text colours by colour letter in the result grid, the dialogs' grids and
// the group-jump list.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "examinee/bas_public.h"
#include "grid/cell_colors.h"
#include "grid/grid_bed.h"
#include "loading/group_forms.h"

namespace qz::testing {
namespace {

constexpr grid::Color kBefore = 0x123456;

class CellColors : public ::testing::Test {
 protected:
  CellColors() {
    for (std::size_t i = 0; i < basPublic.ColorTable.size(); ++i) {
      basPublic.ColorTable[i] = static_cast<std::int32_t>(0x100 + i);
    }
    bed.AddItem(1, kKsyubNumeric);
    bed.ShowAll();
  }
  ~CellColors() override {
    SetColorTargetGrid(kColorTargetDebug, nullptr);
    SetColorTargetGrid(kColorTargetDeleteList, nullptr);
  }
  GridBed bed;
};

TEST_F(CellColors, EachLetterTakesItsEntryOfTheColourTableAndOtherTextsNothing) {
  struct Case {
    const char* letter;
    grid::Color expected;
  };
  const Case cases[] = {
      {"B", 0x100}, {"R", 0x101}, {"P", 0x102}, {"T", 0x103}, {"W", 0x104},   {"A", 0x105},
      {"K", 0x106}, {"C", 0x107}, {"E", 0x108}, {"O", 0x109}, {" R ", 0x101}, {"r", kBefore},
      {"", kBefore}, {"X", kBefore}, {"BR", kBefore},
  };
  const int row = basPublic.DataRow;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("'") + c.letter + "'");
    bed.spr.SetForeColor(grid::Range::Cell(basPublic.ResultCol, row), kBefore);
    Sub_SetCellForeColor(basPublic.ResultCol, row, c.letter);
    EXPECT_EQ(bed.spr.ForeColorAt(basPublic.ResultCol, row), c.expected);
    EXPECT_EQ(bed.spr.col, basPublic.ResultCol);
    EXPECT_EQ(bed.spr.row, row);
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(CellColors, TheDialogGridsAreColouredOnceTheirFormsTellWhereTheyAre) {
  grid::Spread list(nullptr, "sprList");
  list.SetMaxCols(3);
  list.SetMaxRows(3);
  SetColorTargetGrid(kColorTargetDeleteList, [&] { return &list; });
  Sub_SetCellForeColor(2, 3, "E", kColorTargetDeleteList);
  EXPECT_EQ(list.ForeColorAt(2, 3), 0x108u);
  EXPECT_NE(bed.spr.ForeColorAt(2, 3), 0x108u);

  // The debug window has not told where its grid is.
  Sub_SetCellForeColor(2, 3, "E", kColorTargetDebug);
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("検査結果情報の更新処理でエラーが発生しました。\r\n", 0), 0u);
}

TEST_F(CellColors, AJumpCellOutsideTheListChangesNoColourAndShowsNothing) {
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  jump.AddItem("group a\t1\t\t0");
  jump.AddItem("group b\t3\t\t1");
  jump.SetCellForeColorAt(0, 2, kBefore);
  jump.SetCellForeColorAt(1, 2, kBefore);

  Sub_SetJumpCellColor(2, 1, "R");
  EXPECT_EQ(jump.CellForeColorAt(1, 2), 0x101u);
  EXPECT_EQ(jump.row(), 1);
  EXPECT_EQ(jump.col(), 2);

  Sub_SetJumpCellColor(2, 5, "B");   // no row 5
  Sub_SetJumpCellColor(9, 0, "B");   // no column 9
  Sub_SetJumpCellColor(2, -1, "B");  // no group
  Sub_SetJumpCellColor(2, 0, "z");   // no letter
  EXPECT_EQ(jump.CellForeColorAt(0, 2), kBefore);
  EXPECT_EQ(jump.CellForeColorAt(1, 2), 0x101u);
  EXPECT_TRUE(bed.Boxes().empty());
}

}  // namespace
}  // namespace qz::testing
