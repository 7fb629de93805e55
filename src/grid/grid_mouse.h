// The mouse side of the result grid sprResult: the right button released
// over it, a right click (on a header cell of an earlier consultation: open
// that consultation instead), and the text tip of a cell.
//
// The right button, released, starts the image viewer QZP140B.EXE for the
// three items that have one (200100, 200102, 200104) when the cursor rests
// on the item's name cell, and otherwise opens the findings search of the
// active cell. The viewer is started from the current folder (the program
// folder) with the command line "<examinee>,<yyyymmdd>,<item number>" and
// is not waited for.
//
// Handlers of the main form's grid: the result screen's thread only, with a
// shell installed. Each traps its run-time errors and shows the error
// report with its own job text.
#ifndef QZ_GRID_GRID_MOUSE_H_
#define QZ_GRID_GRID_MOUSE_H_

#include <string>

namespace qz {

namespace grid {
class Spread;
}

// The program started for the items that have a viewer.
inline constexpr const char* kViewerProgram = "QZP140B.EXE";

// `button` 2 (right) only. With the active cell in basPublic.ItemCol on an
// item that has a viewer: starts the viewer; a viewer that cannot be
// started reports "スプレッドのマウスクリック処理でエラーが発生しました。"
// (error 53). Otherwise, unless the grid is editing a cell, the findings
// search of the active cell (cmdSearch_Click). The release that ends a
// right click on an earlier consultation's date does nothing more.
void sprResult_MouseUp(int button, int shift, float x, float y);

// A header row (above basPublic.DataRow) in an earlier consultation's
// column: refused while the findings search is open (as the main form's
// buttons refuse); else asks "<yyyy/mm/dd>の結果入力を開きます。" CR LF
// "現在の内容を保存しますか？" (Yes/No/Cancel): Cancel nothing, Yes saves
// first (a refused save keeps the screen as it is), No drops the screen's
// changes; then basPublic.ConsultDate becomes that date and the examinee
// is loaded for it. A column with no consultation loaded reports
// "スプレッドの右クリック処理でエラーが発生しました。". A header cell left of
// the earlier consultations: nothing. A data cell becomes the active cell.
void sprResult_RightClick(int click_type, int col, int row, int mouse_x, int mouse_y);

// Shows the tip the grid offers for the cell without its surrounding
// blanks: as the grid's tool tip (tool_tip_text) and as the tip returned
// (`tip_text`); the grid's text tips are then floating (2). The tip's
// width, lines and showing are left as the grid gave them. A run-time error reports "スプレッドのツールチップ処理で
// エラーが発生しました。".
void sprResult_TextTipFetch(int col, int row, int& multi_line, int& tip_width, std::string& tip_text,
                            bool& show_tip);

// Sets the three handlers on `spr` (the main form's grid).
void Sub_ConnectGridMouse(grid::Spread& spr);

}  // namespace qz

#endif  // QZ_GRID_GRID_MOUSE_H_
