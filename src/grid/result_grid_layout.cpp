#include "grid/result_grid_layout.h"

#include <cstdint>
#include <string_view>

#include "examinee/bas_public.h"
#include "grid/grid_procedure.h"
#include "platform/grid/spread.h"

namespace qz {

namespace {

using grid::Range;

// The font size of the unit column's title, which has no setting.
constexpr int kUnitTitleFontSize = 11;
// The font size of the titles of the course and date rows.
constexpr int kRowTitleFontSize = 11;

// Writes `text` into cell (col, row) in the bold header font of `size`.
void WriteTitle(grid::Spread& spr, int col, int row, std::string_view text, int size) {
  spr.col = col;
  spr.row = row;
  spr.SetText(text);
  spr.SetFontName(kResultHeaderFont);
  spr.SetFontBold(true);
  spr.SetFontSize(size);
}

void PaintRow(grid::Spread& spr, int row, std::int32_t color) {
  spr.SetBackColor(Range::Row(row), static_cast<grid::Color>(color));
}

void InitResultSpread() {
  grid::Spread& spr = ResultGrid();
  const BasPublic& p = basPublic;

  spr.block_mode = false;
  spr.col = -1;
  spr.row = -1;
  spr.SetText("");
  spr.SetAlignment(grid::HAlign::kCenter);

  struct Title {
    int col;
    std::string_view text;
    int size;
  };
  const Title titles[] = {
      {p.ItemCol, "検査項目", p.FontSizeKom},         {p.StdCol, "基準値", p.FontSizeStd},
      {p.UnitCol, "単位", kUnitTitleFontSize},        {p.SyoCodeCol, "所見ｺｰﾄﾞ", p.FontSizeSyoCode},
      {p.ChkCol, "済", p.FontSizeChk},                {p.HanCol, "判定", p.FontSizeHantei},
      {p.UpdateCol, "更新者", p.FontSizeUpdate},      {p.UptimeCol, "更新日時", p.FontSizeUptime},
      {p.HanSyoCol, "判定所見", p.FontSizeHanSyo},    {p.SokuteiCol, "測定区分", p.FontSizeSokutei},
  };
  for (const Title& t : titles) WriteTitle(spr, t.col, p.HeaderRow, t.text, t.size);
  PaintRow(spr, p.HeaderRow, p.ColorTitle);

  WriteTitle(spr, p.ItemCol, p.CourseRow, "コース名", kRowTitleFontSize);
  PaintRow(spr, p.CourseRow, p.ColorCos);
  WriteTitle(spr, p.ItemCol, p.JdateRow, "受診日", kRowTitleFontSize);
  PaintRow(spr, p.JdateRow, p.ColorJdate);
}

}  // namespace

void SetResultGridDesign(grid::Spread& spr) {
  spr.SetMaxCols(kResultGridDesignCols);
  spr.SetMaxRows(basPublic.DataRow - 1);
  spr.SetRowHeight(0, 0);
}

void Sub_InitResultSpread() {
  RunGridProcedure("スプレッドの初期化処理でエラーが発生しました。", InitResultSpread);
}

}  // namespace qz
