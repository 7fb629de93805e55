// The frozen lines of the first input groups.
#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "grid/frozen_rows.h"
#include "grid/grid_bed.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

constexpr grid::Color kLock = 0x00DDEE;
constexpr grid::Color kOwn = 0x445566;

class FrozenRows : public ::testing::Test {
 protected:
  FrozenRows() { basPublic.ColorScrLock = static_cast<std::int32_t>(kLock); }
  // Paints every line with kOwn, then runs Sub_SprFix.
  void Fix() {
    for (int r = basPublic.DataRow; r <= bed.spr.max_rows(); ++r) bed.spr.SetBackColor(grid::Range::Row(r), kOwn);
    Sub_SprFix();
  }
  grid::Color LineColor(int line) { return bed.spr.BackColorAt(basPublic.ItemCol, line + basPublic.DataRow - 1); }

  GridBed bed;
};

TEST_F(FrozenRows, TheLinesOfTheGroupsUpToFixGrpAreFrozenAndPaintedExceptItemsNotBookedNow) {
  bed.AddItem(1, kKsyubNumeric, 5);
  bed.AddItem(2, kKsyubNumeric, 10).Past = kPastBookedEarlier;
  bed.AddItem(3, kKsyubNumeric, 10);
  bed.AddItem(4, kKsyubNumeric, 20);
  bed.AddItem(5, kKsyubNumeric, 30);
  bed.ShowAll();
  basPublic.FixGrp = 10;
  Fix();
  EXPECT_EQ(bed.spr.rows_frozen, 3 + basPublic.DataRow - 1);
  EXPECT_EQ(LineColor(1), kLock);
  EXPECT_EQ(LineColor(2), kOwn);  // earlier only: keeps its own colour
  EXPECT_EQ(LineColor(3), kLock);
  EXPECT_EQ(LineColor(4), kOwn);
  EXPECT_EQ(LineColor(5), kOwn);
  // Whole rows: the row-header column too.
  EXPECT_EQ(bed.spr.BackColorAt(0, basPublic.DataRow), kLock);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(FrozenRows, WithFixGrpBelowTheFirstGroupOnlyTheHeaderRowsStay) {
  bed.AddItem(1, kKsyubNumeric, 20);
  bed.AddItem(2, kKsyubNumeric, 30);
  bed.ShowAll();
  basPublic.FixGrp = 10;
  Fix();
  EXPECT_EQ(bed.spr.rows_frozen, basPublic.DataRow - 1);
  EXPECT_EQ(LineColor(1), kOwn);
  EXPECT_EQ(LineColor(2), kOwn);

  // No line at all.
  frmResultIn.RowItems.Clear();
  bed.spr.rows_frozen = 7;
  Sub_SprFix();
  EXPECT_EQ(bed.spr.rows_frozen, basPublic.DataRow - 1);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(FrozenRows, EveryLineFrozenWhenAllGroupsAreUpToFixGrp) {
  bed.AddItem(1, kKsyubNumeric, 10);
  bed.AddItem(2, kKsyubNumeric, 10);
  bed.ShowAll();
  Fix();
  EXPECT_EQ(bed.spr.rows_frozen, bed.spr.max_rows());
  EXPECT_EQ(LineColor(2), kLock);
}

}  // namespace
}  // namespace qz::testing
