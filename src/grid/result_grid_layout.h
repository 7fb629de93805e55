// The layout of the result grid frmResultIn.sprResult: its design-time
// properties and the header rows every examinee load writes first.
//
// Columns and rows are the layout constants of basPublic (ItemCol 1 ...
// PastCol 12; HeaderRow 1, CourseRow 2, JdateRow 3, DataRow 4): the three
// header rows are ordinary grid rows, the item lines follow from DataRow.
// The result and history headers, course names, dates, the row count and
// the column widths are written by the load after Sub_InitResultSpread.
//
// The result screen's thread only.
#ifndef QZ_GRID_RESULT_GRID_LAYOUT_H_
#define QZ_GRID_RESULT_GRID_LAYOUT_H_

namespace qz {

namespace grid {
class Spread;
}

// Columns of the result grid as designed: the eleven columns of the current
// consultation and five earlier ones (the history load sets the count for
// each consultation).
inline constexpr int kResultGridDesignCols = 16;

// The header font of the result grid.
inline constexpr const char* kResultHeaderFont = "ＭＳ　ゴシック";

// Gives a newly made result grid its design-time properties: the design
// column count, the three header rows and no item line, the grid's own
// column-letter row hidden (the grid's header rows carry the titles).
// For the form that owns the grid, once when it makes it.
void SetResultGridDesign(grid::Spread& spr);

// Clears every cell's text and centres it, then writes the column titles
// of row basPublic.HeaderRow ("検査項目", "基準値", "単位", "所見ｺｰﾄﾞ", "済",
// "判定", "更新者", "更新日時", "判定所見", "測定区分") in bold
// kResultHeaderFont at the sizes of the FontSize settings (the unit title
// always 11), "コース名" and "受診日" in the item column of the course and
// date rows (bold, 11), and paints the three header rows with
// basPublic.ColorTitle, ColorCos and ColorJdate.
//
// Called by the examinee load after the settings master is read. A run-time
// error (a screen without its grid among them) shows the error report
// "スプレッドの初期化処理でエラーが発生しました。" and ends the routine.
void Sub_InitResultSpread();

}  // namespace qz

#endif  // QZ_GRID_RESULT_GRID_LAYOUT_H_
