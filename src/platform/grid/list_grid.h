// ListGrid: the model of a list grid control (the group lists, the findings
// list, the unconfirmed and unperformed item lists). Rows and columns count
// from 0; the first fixed_rows() rows and fixed_cols() columns are headers.
// It draws nothing: the Qt front end renders it, the scripted shell drives
// it through the user-action methods.
//
// The current cell is (row(), col()); the selection runs from it to
// (row_sel(), col_sel()) in either direction. Setting row or col collapses
// the selection onto the new current cell. A cell's colours read as its
// own default until written (the grid's back_color/fore_color for data
// cells, back_color_fixed/fore_color_fixed for header cells).
//
// Access to a row or column outside the grid throws RunTimeError (number
// kErrSubscript), as the platform control raises its run-time error; the
// program's handlers report it.
//
// Events are std::function members the owning form sets, raised
// synchronously; handlers may call back into the grid. Single-threaded.
#ifndef QZ_PLATFORM_GRID_LIST_GRID_H_
#define QZ_PLATFORM_GRID_LIST_GRID_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"

namespace qz::grid {

// Orders of ListGrid::Sort.
enum class ListSort {
  kGenericAscending,   // numbers numerically (before texts), texts by bytes
  kGenericDescending,
  kNumericAscending,   // a text that is no number counts as 0
  kNumericDescending,
  kStringNoCaseAscending,  // CP932 bytes, ASCII letters folded
  kStringNoCaseDescending,
  kStringAscending,    // CP932 bytes
  kStringDescending,
};

class ListGrid : public ui::Control {
 public:
  // Two rows and two columns, one fixed row and one fixed column, as the
  // control comes from the designer. `form` may be null (tests).
  ListGrid(ui::Form* form, std::string name, int index = -1);
  ~ListGrid() override;

  // --- Size -------------------------------------------------------------------
  int rows() const { return static_cast<int>(cells_.size()); }
  int cols() const { return cols_; }
  // Rows 0 empties the list (fixed rows too). Growing adds empty rows of
  // the default height; shrinking drops rows. The current cell and the
  // selection are pulled inside.
  void SetRows(int n);
  void SetCols(int n);
  int fixed_rows() const { return fixed_rows_; }
  int fixed_cols() const { return fixed_cols_; }
  // Rises with every change of the cells (texts, colours), the size and the
  // line sizes and alignments, so that a front end skips an unchanged grid.
  // The current cell, the selection, the focus and the plain data members
  // are not tracked: a front end compares them itself.
  std::uint64_t revision() const { return revision_; }
  // Throws RunTimeError (invalid call) when n exceeds the rows/columns.
  void SetFixedRows(int n);
  void SetFixedCols(int n);

  // Adds a row at `index` (-1 = at the end) whose cells, from column 0, take
  // the tab-separated pieces of `text` (pieces beyond the columns are
  // dropped). Throws when index is past the end.
  void AddItem(std::string_view text, int index = -1);
  // Removes row `index`; throws when there is no such row.
  void RemoveItem(int index);
  // Empties every cell: its text and colours (rows and sizes stay).
  void Clear();

  // --- Cells --------------------------------------------------------------------
  const std::string& TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, std::string_view text);
  // The text of the current cell.
  const std::string& Text() const;
  void SetText(std::string_view text);

  // --- Current cell and selection ----------------------------------------------
  int row() const { return row_; }
  int col() const { return col_; }
  int row_sel() const { return row_sel_; }
  int col_sel() const { return col_sel_; }
  void SetRow(int r);
  void SetCol(int c);
  void SetRowSel(int r);
  void SetColSel(int c);
  // 0 colour writes go to the current cell only; 1 to the whole selection.
  int fill_style = 0;
  // How the front end shows the selection: 0 never, 1 always, 2 only while
  // the grid has the focus.
  int highlight = 1;

  // Colours of the current cell (with fill_style 1, writes cover the
  // selection).
  ui::Color CellBackColor() const;
  void SetCellBackColor(ui::Color color);
  ui::Color CellForeColor() const;
  void SetCellForeColor(ui::Color color);
  ui::Color CellBackColorAt(int row, int col) const;
  void SetCellBackColorAt(int row, int col, ui::Color color);
  ui::Color CellForeColorAt(int row, int col) const;
  void SetCellForeColorAt(int row, int col, ui::Color color);
  ui::Color back_color_fixed = ui::kSysButtonFace;
  ui::Color fore_color_fixed = ui::kSysButtonText;

  // --- Lines (twips) --------------------------------------------------------------
  int ColWidth(int col) const;
  // `col` -1 sets every column (and those added later).
  void SetColWidth(int col, int width);
  int RowHeight(int row) const;
  // `row` -1 sets every row (and those added later).
  void SetRowHeight(int row, int height);
  // 0 left, 1 right, 2 centre.
  int ColAlignment(int col) const;
  void SetColAlignment(int col, int alignment);

  // Sorts rows first_row..last_row (either order) by the texts of column
  // `key_col`; stable; colours move with their rows. Throws when a row or
  // the column is outside the grid.
  void Sort(int first_row, int last_row, int key_col, ListSort order);

  bool has_focus() const { return focused_; }
  // The cell under the pointer at the last mouse action.
  int mouse_row() const { return mouse_row_; }
  int mouse_col() const { return mouse_col_; }

  // --- Events ---------------------------------------------------------------------
  std::function<void()> on_click;
  std::function<void()> on_dbl_click;
  std::function<void(int& key_code, int shift)> on_key_down;
  std::function<void(int& key_code, int shift)> on_key_up;
  std::function<void(int button, int shift, float x, float y)> on_mouse_up;

  // --- User actions (ignored while hidden or disabled) ----------------------------
  // A left click on (row, col). On a data cell it becomes the current cell
  // with the selection collapsed onto it; with Shift (shift & 1) only the
  // selection end moves there. Then mouse-up and click are raised.
  void ClickCell(int row, int col, int shift = 0);
  // A drag with the left button from one data cell to another: the first
  // becomes the current cell, the second the selection end; then mouse-up
  // and click.
  void DragSelect(int from_row, int from_col, int to_row, int to_col);
  // A double click: the click, then dbl-click.
  void DoubleClickCell(int row, int col);
  // The second press of a double click whose first press was delivered as
  // a click already (a front end's mouse): dbl-click.
  void SecondClickOfDouble();
  // A key pressed: key-down; unless the handler set the code to 0, Up/Down
  // (Left/Right) move the current cell, with Shift only the selection end.
  // Returns the key code after the handler.
  int DeliverKeyDown(int key_code, int shift);
  // A key released: key-up. Returns the key code after the handler.
  int DeliverKeyUp(int key_code, int shift);
  // Key-down then key-up of one key.
  void PressKey(int key_code, int shift = 0);

  // Records the cell under the pointer for the next click the shell
  // delivers (HandleClick); without one a click acts on the current cell.
  void PointAt(int row, int col);

  void OnFocusArriving(Control* from) override;
  void OnFocusLeaving(Control* to) override;

  // Input the shell delivers to the focused grid: keys go through
  // DeliverKeyDown/DeliverKeyUp, a left click through ClickCell at the
  // pointed (else the current) cell; another button raises mouse-up only.
  void HandleKeyDown(int& key_code, int& shift) override;
  void HandleKeyUp(int& key_code, int& shift) override;
  void HandleClick(int button, int shift) override;

 private:
  struct Cell {
    std::string text;
    std::optional<ui::Color> back;
    std::optional<ui::Color> fore;
  };

  void CheckCell(int row, int col) const;
  const Cell& At(int row, int col) const;
  Cell& At(int row, int col);
  void ClampCursor();
  float PointY(int row) const;
  float PointX(int col) const;
  template <class Fn>
  void ForFill(Fn fn);
  void RaiseMouseUpAndClick(int shift, int row, int col);
  void Touch() { ++revision_; }

  std::uint64_t revision_ = 1;
  int cols_ = 2;
  int fixed_rows_ = 1;
  int fixed_cols_ = 1;
  std::vector<std::vector<Cell>> cells_;  // [row][col]
  std::vector<int> row_heights_;
  std::vector<int> col_widths_;
  std::vector<int> col_aligns_;
  int default_row_height_ = 240;
  int default_col_width_ = 960;
  int row_ = 1, col_ = 1, row_sel_ = 1, col_sel_ = 1;
  int mouse_row_ = -1, mouse_col_ = -1;
  bool focused_ = false;
  int point_row_ = -1, point_col_ = -1;
};

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_LIST_GRID_H_
