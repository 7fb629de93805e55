// The update-time text of an item's current result.
#include <gtest/gtest.h>

#include "grid/grid_bed.h"
#include "grid/last_write.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

TEST(LastWrite, AWrittenResultShowsItsDateAndTimeAndAnUnwrittenOneNothing) {
  GridBed bed;
  bed.AddItem(1, kKsyubNumeric);
  bed.ShowAll(1);
  struct Case {
    const char* user;
    std::int32_t ymd, hms;
    const char* expected;
  };
  const Case cases[] = {
      {"U001", 20261209, 143005, "2026/12/09 14:30:05"},
      {"U001", 20260101, 93005, "2026/01/01 09:30:05"},  // the hour keeps its leading zero
      {"U001", 20260101, 0, "2026/01/01 00:00:00"},
      {"", 20261209, 143005, ""},
      {"   ", 20261209, 143005, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    KekkaData& r = frmResultIn.ResultMatrix(1, 0);
    r.User = c.user;
    r.Ymd = c.ymd;
    r.Hms = c.hms;
    EXPECT_EQ(Fnc_FormatLastWrite(1), c.expected);
  }
  // The stamp of an earlier consultation is not the current one's.
  frmResultIn.ResultMatrix(1, 0).User = "";
  frmResultIn.ResultMatrix(1, 1).User = "U002";
  EXPECT_EQ(Fnc_FormatLastWrite(1), "");
  EXPECT_TRUE(bed.Boxes().empty());

  // An item outside the matrix.
  EXPECT_EQ(Fnc_FormatLastWrite(2), "");
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("最終書き込みデータの編集処理でエラーが発生しました。\r\n", 0), 0u);
}

}  // namespace
}  // namespace qz::testing
