#include "data/count_input_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"

namespace qz {
namespace {

constexpr ui::Color kPast = 0xC0C0FF;

class CountInputRowsTest : public ::testing::Test {
 protected:
  CountInputRowsTest() {
    basPublic = BasPublic{};
    basPublic.ColorPast = static_cast<std::int32_t>(kPast);
    spr.SetMaxCols(12);
  }
  ~CountInputRowsTest() override { basPublic = BasPublic{}; }

  // One item row per entry from row basPublic.DataRow: the done-check text
  // and whether the row is painted as an earlier-only item.
  struct ItemRow {
    std::string check;
    bool past;
  };
  void Fill(const std::vector<ItemRow>& rows) {
    spr.SetMaxRows(0);
    spr.SetMaxRows(basPublic.DataRow - 1 + static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int r = basPublic.DataRow + static_cast<int>(i);
      spr.SetText(basPublic.ChkCol, r, rows[i].check);
      if (rows[i].past) spr.SetBackColor(grid::Range::Row(r), kPast);
    }
  }

  grid::Spread spr{nullptr, "sprResult"};
};

TEST_F(CountInputRowsTest, CountsRowsWithoutTheCheckMarkAndSkipsEarlierOnlyRows) {
  struct Case {
    const char* name;
    std::vector<ItemRow> rows;
    int expected;
  };
  const std::vector<Case> cases = {
      {"no item rows", {}, 0},
      {"all checked", {{"V", false}, {"V", false}}, 0},
      {"empty, other text and lower case count", {{"", false}, {"X", false}, {"v", false}, {"V", false}}, 3},
      {"a mark with blanks is not the mark", {{" V", false}, {"V ", false}}, 2},
      {"earlier-only rows never count", {{"", true}, {"", false}, {"V", true}}, 1},
  };
  for (const auto& c : cases) {
    Fill(c.rows);
    EXPECT_EQ(Fnc_CountInputRows(spr), c.expected) << c.name;
  }
}

TEST_F(CountInputRowsTest, HeaderRowsAreNotItemRows) {
  Fill({{"V", false}});
  spr.SetText(basPublic.ChkCol, 1, "");
  spr.SetText(basPublic.ChkCol, basPublic.DataRow - 1, "");
  EXPECT_EQ(Fnc_CountInputRows(spr), 0);
}

TEST_F(CountInputRowsTest, AnUnreadableCheckCellCounts) {
  Fill({{"V", false}, {"V", false}, {"", true}});
  spr.SetMaxCols(basPublic.ChkCol - 1);  // the done-check column is gone
  EXPECT_EQ(Fnc_CountInputRows(spr), 2);
}

TEST_F(CountInputRowsTest, UsesTheConfiguredMarkAndLayout) {
  basPublic.ChkStr = "済";
  basPublic.ChkCol = 3;
  basPublic.DataRow = 2;
  Fill({{"済", false}, {"V", false}});
  EXPECT_EQ(Fnc_CountInputRows(spr), 1);
}

}  // namespace
}  // namespace qz
