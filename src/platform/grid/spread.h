// Spread: the model of a spreadsheet grid control (the result grid, the sort
// grid, the debug and list grids). It holds cells, their formats and the
// active cell, raises the grid's events and draws nothing; the Qt front end
// renders it and the scripted shell drives it through the user-action
// methods at the end of the class.
//
// Cells are addressed (column, row) from 0: row 0 is the column-header row,
// column 0 the row-header column, data cells run 1..max_cols() and
// 1..max_rows(). The program's procedures use the grid the classic way: set
// `col` and `row` (and `col2`, `row2` with `block_mode` for a block; -1 for a
// whole row, column or sheet), then read or write a property such as
// Text() or SetBackColor(). C++ callers may use the direct forms that take a
// Range or a cell.
//
// Formats follow "the last write wins": a write to the sheet, a column, a
// row or a cell is stamped, and a cell shows the latest of the four. A
// format written on a column therefore also holds for rows added later, and
// a whole-row colour reaches the row-header column 0. Shrinking max_rows()
// or max_cols() drops the dropped cells' and lines' state for good.
//
// Events are std::function members the owning form sets. They are raised
// synchronously and the handlers may call back into the grid (move the
// active cell, change texts, raise nested events). The grid raises its
// leave-cell event on every move of the active cell, and with new column
// and row -1 when it loses the focus (OnFocusLeaving).
//
// Single-threaded (the user-interface thread). Not copyable.
#ifndef QZ_PLATFORM_GRID_SPREAD_H_
#define QZ_PLATFORM_GRID_SPREAD_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/grid/spread_types.h"
#include "platform/ui/control.h"

namespace qz::grid {

class Spread : public ui::Control {
 public:
  // A grid of the design size 500 x 500 (cells take no memory until
  // written). `form` may be null (tests).
  Spread(ui::Form* form, std::string name, int index = -1);
  ~Spread() override;

  // --- Size ---------------------------------------------------------------
  int max_rows() const { return max_rows_; }
  int max_cols() const { return max_cols_; }
  // Negative values count as 0. Growing adds default cells (column formats
  // apply to them); shrinking drops the cells, row or column formats and
  // sizes beyond the new size. The active cell is pulled inside the grid
  // without an event; an edit of a dropped cell is abandoned.
  void SetMaxRows(int n);
  void SetMaxCols(int n);

  // True when (col, row) lies in the grid, headers included.
  bool InGrid(int col, int row) const;

  // --- The current cell or block -----------------------------------------
  // Plain data; nothing happens until a property is read or written.
  int col = 1, row = 1;
  int col2 = 1, row2 = 1;
  bool block_mode = false;

  // The range the current-cell properties below act on: the block
  // (col,row)-(col2,row2) when block_mode, else (col, row).
  Range Current() const;

  // Properties of the current cell. Setters write the whole current range;
  // getters read the cell (col, row) (a -1 reads that line's or the
  // sheet's own format). Text() of a cell outside the grid is empty.
  // MaxEditLen counts CP932 bytes (two a full-width character), 0 or less
  // for no limit; the default is 255. Lock takes effect only while
  // `protect` is set.
  std::string Text() const;
  void SetText(std::string_view text);
  CellType GetCellType() const;
  void SetCellType(CellType type);
  Color BackColor() const;
  void SetBackColor(Color color);
  Color ForeColor() const;
  void SetForeColor(Color color);
  HAlign Alignment() const;
  void SetAlignment(HAlign align);
  std::string FontName() const;
  void SetFontName(std::string_view name);
  double FontSize() const;
  void SetFontSize(double size);
  bool FontBold() const;
  void SetFontBold(bool bold);
  int MaxEditLen() const;
  void SetMaxEditLen(int bytes);
  int EditCharSet() const;
  void SetEditCharSet(int char_set);
  bool Lock() const;
  void SetLock(bool lock);
  // The list of a combo cell: its entries joined by tab characters, kept
  // verbatim (an entry may end in CR LF).
  std::string ComboList() const;
  void SetComboList(std::string_view tab_separated);
  bool ComboEditable() const;
  void SetComboEditable(bool editable);
  int ComboMaxDrop() const;
  void SetComboMaxDrop(int rows);
  int ComboCount() const;
  // The selected entry, -1 for none.
  int ComboCurSel() const;
  // Selects entry `index` (-1 none) of every cell of the range: its text
  // becomes that entry (empty for -1). An index outside the list is
  // ignored. Raises no event.
  void SetComboCurSel(int index);
  // Inserts `text` as entry `index` of the list of every cell of the range
  // (-1 or an index past the end appends).
  void AddComboEntry(int index, std::string_view text);

  // --- Direct forms --------------------------------------------------------
  // GetText: false when (col, row) is outside the grid; else the text (the
  // editor's text for the cell being edited).
  bool GetText(int col, int row, std::string& out) const;
  std::string TextAt(int col, int row) const;
  // Writes the text of every cell of `range` inside the grid; with -1 only
  // the data cells (headers keep their text). Writing the cell being edited
  // writes the editor's text. On a combo cell the entry equal to the text
  // becomes selected, else none. Raises no event.
  void SetText(int col, int row, std::string_view text);
  void SetText(const Range& range, std::string_view text);
  CellFormat FormatAt(int col, int row) const;
  Color BackColorAt(int col, int row) const;
  Color ForeColorAt(int col, int row) const;
  int ComboCurSelAt(int col, int row) const;
  void SetCellType(const Range& range, CellType type);
  void SetBackColor(const Range& range, Color color);
  void SetForeColor(const Range& range, Color color);
  void SetAlignment(const Range& range, HAlign align);
  void SetFontName(const Range& range, std::string_view name);
  void SetFontSize(const Range& range, double size);
  void SetFontBold(const Range& range, bool bold);
  void SetMaxEditLen(const Range& range, int bytes);
  void SetEditCharSet(const Range& range, int char_set);
  void SetLock(const Range& range, bool lock);
  void SetComboList(const Range& range, std::string_view tab_separated);
  void SetComboEditable(const Range& range, bool editable);
  void SetComboMaxDrop(const Range& range, int rows);
  void SetComboCurSel(const Range& range, int index);
  void AddComboEntry(const Range& range, int index, std::string_view text);

  // True when typing may change the cell: not locked under protection, and
  // of a type that takes typing (edit, number, editable combo).
  bool CellTakesInput(int col, int row) const;

  // --- Lines ----------------------------------------------------------------
  // Widths in the grid's character units; 0 hides a column. `col` -1 sets
  // every column 0..max_cols(). Reads outside the grid give 0.
  double ColWidth(int col) const;
  void SetColWidth(int col, double width);
  // Heights in points; 0 hides a row. `row` -1 sets every row.
  double RowHeight(int row) const;
  void SetRowHeight(int row, double height);

  // --- Whole grid (plain data) --------------------------------------------
  bool protect = true;     // locks take effect only while protected
  int rows_frozen = 0;     // leading data rows that do not scroll
  int cols_frozen = 0;     // leading data columns that do not scroll
  int text_tip = 0;        // 0 off, 1 fixed, 2 floating, 3/4 the same with focus only
  int text_tip_delay = 500;
  int page_rows = 20;      // data rows in view; the front end keeps it current
  int page_cols = 10;      // data columns in view

  // --- Active cell, scrolling, edit mode -----------------------------------
  int active_col() const { return active_col_; }
  int active_row() const { return active_row_; }
  int top_row() const { return top_row_; }
  int left_col() const { return left_col_; }
  // Performs an action on the cell (col, row): kActionActiveCell moves the
  // active cell there (a data cell only; raises leave-cell), kActionGotoCell
  // scrolls it into view, kActionGotoTop scrolls its row to the top of the
  // scrolling rows. Other values are ignored.
  void SetAction(int action);
  // Moves the active cell to the data cell (col, row): commits an edit,
  // raises leave-cell (which may cancel or move elsewhere). Returns true
  // when the active cell is then (col, row).
  bool MoveActiveCell(int col, int row);

  bool edit_mode() const { return editing_; }
  // True starts editing the active cell with its text (ignored when the
  // cell takes no input); false commits the editor's text to the cell and
  // raises change when it differs from the text before the edit.
  void SetEditMode(bool on);
  // The editor's text; empty when not editing.
  const std::string& edit_text() const { return edit_text_; }
  // The editor's caret and the other end of its selection (the anchor), in
  // characters of edit_text(); both at its end when editing starts with the
  // cell's text. The editing keys (spread_editor.cpp): Left/Right/Home/End
  // move the caret (Shift extends the selection), Delete and Backspace
  // erase the selection or one character, Ctrl+A selects everything,
  // Ctrl+C copies the selection (outside editing: the cell's text), Ctrl+X
  // copies and erases it, Ctrl+V types the clipboard's first line as the
  // user's typing.
  int edit_caret() const;
  int edit_anchor() const;

  bool has_focus() const { return focused_; }

  // --- Sorting --------------------------------------------------------------
  // Sorts the rows of `block` (-1 = all data rows or columns) by up to
  // three keys. Cells of the block's columns move with their rows (text,
  // list selection, own format). A key column of numeric cell type compares
  // numbers (a text that is no number sorts before all numbers), any other
  // compares CP932 bytes. Stable. More than three keys, or a key outside the
  // grid, throws RunTimeError (invalid call).
  void Sort(const Range& block, std::span<const SortKey> keys);

  // --- Change tracking (for a front end) ------------------------------------
  // What changed since a front end last looked, so that an unchanged grid
  // costs it nothing and a change repaints only its own cells.
  //
  // revision() rises with every change of what the grid shows: cell texts
  // and formats, list selections, the grid's size, line sizes, the active
  // cell, the scroll position and the editor. The plain data members above
  // (protect, rows_frozen, ...) and those of Control are not tracked.
  std::uint64_t revision() const { return revision_; }
  // The cells whose text or format changed since the last TakeChanges, as
  // ranges (-1 for all rows or columns, headers included); `all` when they
  // were too many to list or the grid's size changed. Line sizes, the
  // active cell and scrolling raise the revision only. Clears the record.
  struct Changes {
    bool all = false;
    std::vector<Range> ranges;
  };
  Changes TakeChanges();
  // How many times the storage of a cell was looked up since construction:
  // every read of a text or format counts. Shows tests and benchmarks the
  // work a front end did.
  std::uint64_t cell_reads() const { return cell_reads_; }

  // --- Events ----------------------------------------------------------------
  std::function<void(int col, int row, int new_col, int new_row, bool& cancel)> on_leave_cell;
  std::function<void(int col, int row)> on_change;
  std::function<void(int col, int row)> on_click;
  std::function<void(int col, int row)> on_dbl_click;
  std::function<void(int& key_code, int shift)> on_key_down;
  std::function<void(int click_type, int col, int row, int mouse_x, int mouse_y)> on_right_click;
  std::function<void(int button, int shift, float x, float y)> on_mouse_up;
  std::function<void(int col, int row, int& multi_line, int& tip_width, std::string& tip_text,
                     bool& show_tip)>
      on_text_tip_fetch;

  // --- User actions (scripted shell, Qt front end) -------------------------
  // All are ignored while the grid is hidden or disabled.
  //
  // A left click: a data cell becomes the active cell (leave-cell), a check
  // box cell that takes clicks toggles (change); then mouse-up and click
  // are raised, also for header cells.
  void ClickCell(int col, int row, float x = 0, float y = 0);
  // A double click: the click, then editing of the active cell starts (its
  // text kept), then dbl-click.
  void DoubleClickCell(int col, int row, float x = 0, float y = 0);
  // The second press of a double click whose first press was delivered as
  // a click already (a front end's mouse): editing of the active cell
  // starts when it is (col, row), then dbl-click.
  void SecondClickOfDouble(int col, int row);
  // The right button pressed over (col, row) (right-click) and released
  // (mouse-up with the right button). The active cell does not move.
  void RightClickCell(int col, int row, float x = 0, float y = 0);
  // Delivers a key press that the form's key preview let through: raises
  // key-down, then, unless the handler set the key code to 0, the grid's
  // own handling (arrows, Tab and Page keys move; Enter commits an edit;
  // Escape abandons it; F2 starts it; Backspace deletes the last character;
  // Space toggles a check box). Returns the key code after the handler.
  int DeliverKeyDown(int key_code, int shift);
  // Characters typed into the active cell. A cell not being edited starts
  // editing with an empty editor (typing replaces the text). A single-byte
  // cell takes a full-width character in its half-width form (１ as 1).
  // Characters the cell's character set or type refuses are dropped, and
  // so is what would pass the maximum length; when every character is
  // dropped, no edit starts and the cell keeps its text. Typing clears a combo's selection.
  // Returns false (and changes nothing) when the cell takes no input.
  bool TypeText(std::string_view text);
  // Types into (col, row) as a person would: click the cell unless it is
  // already active, then for every character a key-down and the character.
  void TypeIntoCell(int col, int row, std::string_view text);
  // Picks entry `index` of the active combo cell from its drop-down list:
  // an edit is abandoned, the entry becomes the selection and the text,
  // and change is raised. Returns false when the active cell is no combo
  // cell, takes no input, or the index is outside its list.
  bool PickComboEntry(int index);
  // The tip for (col, row) when the pointer rests there: nullopt while text
  // tips are off (or focus-only without focus). Otherwise raises
  // text-tip-fetch with the tip pre-filled with the cell's text, and
  // returns the tip unless the handler cleared show_tip.
  std::optional<std::string> FetchTextTip(int col, int row);

  // Records the cell under the pointer for the next click the shell
  // delivers (HandleClick); the front end calls it as the mouse goes down.
  // Without one, a click acts on the active cell.
  void PointAt(int col, int row);

  // Focus hooks (called by the form).
  void OnFocusArriving(Control* from) override;
  void OnFocusLeaving(Control* to) override;

  // Input the shell delivers to the focused grid: a key goes through
  // DeliverKeyDown, a typed character (after KeyPress) through TypeText, a
  // left click through ClickCell and a right click through RightClickCell,
  // at the pointed cell or else the active cell.
  void HandleKeyDown(int& key_code, int& shift) override;
  void HandleChar(int& ascii, std::string_view text) override;
  void HandleClick(int button, int shift) override;

 private:
  struct Format;
  struct Cell;
  struct Line;
  const Cell* FindCell(int col, int row) const;
  Cell& CellRef(int col, int row);
  template <class T, class F>
  T Resolve(int col, int row, F field, const T& fallback) const;
  template <class V, class F>
  void Apply(const Range& range, F field, const V& value);
  template <class Fn>
  void ForEachCell(const Range& range, bool allocate, Fn fn);
  void WriteText(int col, int row, std::string_view text);
  void CommitEdit();
  void AbandonEdit();
  void MoveBy(int dcol, int drow);
  // The editor (spread_editor.cpp).
  bool EditorKey(int key, int shift);
  void PlaceEditCaret(int caret, bool extend);
  void EraseEditSelection();
  void EraseEditChar(bool forward);
  std::string EditSelection() const;
  void ToggleCheck(int col, int row);
  bool CellLocked(int col, int row) const;
  bool IsHeader(int col, int row) const { return col == 0 || row == 0; }
  // Records a change of the cells of `range` / of the whole grid / of what
  // only the revision tells (line sizes, active cell, scrolling).
  void Touch(const Range& range);
  void TouchAll();
  void TouchView() { ++revision_; }

  int max_rows_ = 0;
  int max_cols_ = 0;
  std::vector<std::vector<Cell>> cells_;  // [row][col], a row allocated on first write
  std::vector<Line> row_lines_;           // 0..max_rows_
  std::vector<Line> col_lines_;           // 0..max_cols_
  std::unique_ptr<Format> sheet_;
  std::uint64_t stamp_ = 0;
  std::uint64_t revision_ = 1;
  Changes changes_{true, {}};
  mutable std::uint64_t cell_reads_ = 0;

  int active_col_ = 1, active_row_ = 1;
  int top_row_ = 1, left_col_ = 1;
  bool editing_ = false;
  std::string edit_text_;
  int edit_caret_ = 0, edit_anchor_ = 0;
  std::string edit_before_;
  bool focused_ = false;
  int point_col_ = -1, point_row_ = -1;
};

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_SPREAD_H_
