// The text colour of a cell by colour letter: one of "B", "R", "P", "T",
// "W", "A", "K", "C", "E", "O" (blanks around it ignored) names an entry of
// basPublic.ColorTable, in this order. Any other letter, the empty one and
// lower case included, leaves the cell's colour as it was.
//
// Sub_SetCellForeColor colours a cell of the result grid or of the grids of
// two dialogs (the debug window, the delete list); Sub_SetJumpCellColor a
// cell of the group-jump list frmGrpJmp.flxGroop. The result screen's
// thread only.
#ifndef QZ_GRID_CELL_COLORS_H_
#define QZ_GRID_CELL_COLORS_H_

#include <cstdint>
#include <functional>
#include <string_view>

namespace qz {

namespace grid {
class Spread;
}

// Targets of Sub_SetCellForeColor.
inline constexpr std::int16_t kColorTargetResult = 0;      // frmResultIn.sprResult
inline constexpr std::int16_t kColorTargetDebug = 1;       // the grid of the debug window
inline constexpr std::int16_t kColorTargetDeleteList = 2;  // the grid of the delete list

// Tells Sub_SetCellForeColor where the grid of target kColorTargetDebug or
// kColorTargetDeleteList is: `grid` gives it (null while the dialog has
// none). The module of each dialog registers it once; an empty function
// removes it. Other targets are ignored.
void SetColorTargetGrid(std::int16_t target, std::function<grid::Spread*()> grid);

// Makes (col, row) the current cell of the target grid (kColorTargetDebug,
// kColorTargetDeleteList, any other value the result grid) and sets its
// text colour to the colour of `letter`. A target without its grid, or
// another run-time error, shows the error report "検査結果情報の更新処理で
// エラーが発生しました。".
void Sub_SetCellForeColor(std::int32_t col, std::int32_t row, std::string_view letter,
                          std::int16_t target = kColorTargetResult);

// Makes (row, col) the current cell of frmGrpJmp.flxGroop and sets its text
// colour to the colour of `letter`. Errors are ignored: a cell outside the
// list changes no colour (and shows nothing).
void Sub_SetJumpCellColor(std::int32_t col, std::int32_t row, std::string_view letter);

}  // namespace qz

#endif  // QZ_GRID_CELL_COLORS_H_
