// The header rows every examinee load writes first.
#include <gtest/gtest.h>

#include "examinee/bas_public.h"
#include "grid/grid_bed.h"
#include "grid/result_grid_layout.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

using grid::Range;

TEST(ResultGridLayout, TitlesFontsAndRowColoursReplaceWhatThePreviousExamineeLeft) {
  GridBed bed;
  basPublic.FontSizeKom = 14;
  basPublic.FontSizeSokutei = 9;
  basPublic.FontSizeHanSyo = 8;
  basPublic.ColorTitle = 0x111111;
  basPublic.ColorCos = 0x222222;
  basPublic.ColorJdate = 0x333333;
  bed.AddItem(1, kKsyubNumeric);
  bed.ShowAll(1);
  bed.spr.SetText(basPublic.ResultCol, basPublic.DataRow, "12.5 ");
  bed.spr.SetText(basPublic.PastCol, basPublic.HeaderRow, "前回結果");
  bed.spr.SetAlignment(Range::Cell(basPublic.ResultCol, basPublic.DataRow), grid::HAlign::kRight);

  Sub_InitResultSpread();

  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_EQ(bed.spr.TextAt(basPublic.ResultCol, basPublic.DataRow), "");
  EXPECT_EQ(bed.spr.TextAt(basPublic.PastCol, basPublic.HeaderRow), "");
  EXPECT_EQ(bed.spr.FormatAt(basPublic.ResultCol, basPublic.DataRow).align, grid::HAlign::kCenter);

  struct Expected {
    int col;
    const char* text;
    double size;
  };
  const Expected titles[] = {
      {1, "検査項目", 14}, {2, "基準値", 11}, {3, "単位", 11},     {4, "所見ｺｰﾄﾞ", 11}, {6, "測定区分", 9},
      {7, "済", 11},       {8, "判定", 11},   {9, "更新者", 11},   {10, "更新日時", 11}, {11, "判定所見", 8},
  };
  for (const Expected& t : titles) {
    SCOPED_TRACE(t.text);
    const grid::CellFormat f = bed.spr.FormatAt(t.col, basPublic.HeaderRow);
    EXPECT_EQ(bed.spr.TextAt(t.col, basPublic.HeaderRow), t.text);
    EXPECT_EQ(f.font_name, kResultHeaderFont);
    EXPECT_TRUE(f.font_bold);
    EXPECT_EQ(f.font_size, t.size);
    EXPECT_EQ(f.back_color, 0x111111u);
  }
  // The unit title keeps 11 whatever the unit setting says.
  basPublic.FontSizeTani = 5;
  Sub_InitResultSpread();
  EXPECT_EQ(bed.spr.FormatAt(basPublic.UnitCol, basPublic.HeaderRow).font_size, 11);

  EXPECT_EQ(bed.spr.TextAt(basPublic.ItemCol, basPublic.CourseRow), "コース名");
  EXPECT_EQ(bed.spr.TextAt(basPublic.ItemCol, basPublic.JdateRow), "受診日");
  for (int row : {2, 3}) {
    const grid::CellFormat f = bed.spr.FormatAt(basPublic.ItemCol, row);
    EXPECT_TRUE(f.font_bold);
    EXPECT_EQ(f.font_size, 11);
  }
  // Whole rows, the result and history columns too.
  EXPECT_EQ(bed.spr.BackColorAt(basPublic.PastCol, basPublic.HeaderRow), 0x111111u);
  EXPECT_EQ(bed.spr.BackColorAt(basPublic.ResultCol, basPublic.CourseRow), 0x222222u);
  EXPECT_EQ(bed.spr.BackColorAt(basPublic.PastCol, basPublic.JdateRow), 0x333333u);
}

TEST(ResultGridLayout, AScreenWithoutItsGridIsReported) {
  GridBed bed;
  frmResultIn.sprResult = nullptr;
  Sub_InitResultSpread();
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("スプレッドの初期化処理でエラーが発生しました。\r\n", 0), 0u) << bed.Boxes()[0];
  EXPECT_EQ(bed.shell.boxes()[0].request.title, "結果入力");
}

TEST(ResultGridLayout, TheDesignHasTheHeaderRowsAndRoomForFiveEarlierConsultations) {
  grid::Spread spr(nullptr, "sprResult");
  SetResultGridDesign(spr);
  EXPECT_EQ(spr.max_cols(), basPublic.PastCol - 1 + 5);
  EXPECT_EQ(spr.max_rows(), basPublic.DataRow - 1);
  EXPECT_EQ(spr.RowHeight(0), 0);
}

}  // namespace
}  // namespace qz::testing
