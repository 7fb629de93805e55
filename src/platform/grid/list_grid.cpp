#include "platform/grid/list_grid.h"

#include <algorithm>
#include <utility>

#include "platform/grid/sort_number.h"
#include "platform/grid/spread_types.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"

namespace qz::grid {

namespace {

std::string FoldAscii(std::string bytes) {
  for (char& c : bytes) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return bytes;
}

}  // namespace

ListGrid::ListGrid(ui::Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ui::ControlKind::kListGrid) {
  back_color = ui::kSysWindowBackground;
  fore_color = ui::kSysWindowText;
  SetCols(2);
  SetRows(2);
}

ListGrid::~ListGrid() = default;

// --- Size ----------------------------------------------------------------------

void ListGrid::SetRows(int n) {
  Touch();
  n = std::max(0, n);
  cells_.resize(n, std::vector<Cell>(cols_));
  row_heights_.resize(n, default_row_height_);
  fixed_rows_ = std::min(fixed_rows_, n);
  ClampCursor();
}

void ListGrid::SetCols(int n) {
  Touch();
  n = std::max(0, n);
  cols_ = n;
  for (auto& cells : cells_) cells.resize(n);
  col_widths_.resize(n, default_col_width_);
  col_aligns_.resize(n, 0);
  fixed_cols_ = std::min(fixed_cols_, n);
  ClampCursor();
}

void ListGrid::SetFixedRows(int n) {
  Touch();
  if (n < 0 || n > rows()) throw RunTimeError(kErrInvalidCall);
  fixed_rows_ = n;
}

void ListGrid::SetFixedCols(int n) {
  Touch();
  if (n < 0 || n > cols_) throw RunTimeError(kErrInvalidCall);
  fixed_cols_ = n;
}

void ListGrid::ClampCursor() {
  const int last_row = std::max(0, rows() - 1);
  const int last_col = std::max(0, cols_ - 1);
  row_ = std::clamp(row_, 0, last_row);
  row_sel_ = std::clamp(row_sel_, 0, last_row);
  col_ = std::clamp(col_, 0, last_col);
  col_sel_ = std::clamp(col_sel_, 0, last_col);
}

void ListGrid::AddItem(std::string_view text, int index) {
  Touch();
  if (index < -1 || index > rows()) throw RunTimeError(kErrSubscript);
  const int at = index == -1 ? rows() : index;
  std::vector<Cell> cells(cols_);
  std::size_t start = 0;
  for (int c = 0; c < cols_; ++c) {
    const std::size_t tab = text.find('\t', start);
    cells[c].text = std::string(text.substr(start, tab == std::string_view::npos ? std::string_view::npos
                                                                                 : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  cells_.insert(cells_.begin() + at, std::move(cells));
  row_heights_.insert(row_heights_.begin() + at, default_row_height_);
  ClampCursor();
}

void ListGrid::RemoveItem(int index) {
  Touch();
  if (index < 0 || index >= rows()) throw RunTimeError(kErrSubscript);
  cells_.erase(cells_.begin() + index);
  row_heights_.erase(row_heights_.begin() + index);
  fixed_rows_ = std::min(fixed_rows_, rows());
  ClampCursor();
}

void ListGrid::Clear() {
  Touch();
  for (auto& cells : cells_) {
    for (auto& cell : cells) cell = Cell{};
  }
}

// --- Cells ---------------------------------------------------------------------

void ListGrid::CheckCell(int r, int c) const {
  if (r < 0 || r >= rows() || c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
}

const ListGrid::Cell& ListGrid::At(int r, int c) const {
  CheckCell(r, c);
  return cells_[r][c];
}

ListGrid::Cell& ListGrid::At(int r, int c) {
  Touch();
  CheckCell(r, c);
  return cells_[r][c];
}

const std::string& ListGrid::TextMatrix(int r, int c) const { return At(r, c).text; }
void ListGrid::SetTextMatrix(int r, int c, std::string_view text) { At(r, c).text = std::string(text); }
const std::string& ListGrid::Text() const { return TextMatrix(row_, col_); }
void ListGrid::SetText(std::string_view text) { SetTextMatrix(row_, col_, text); }

// --- Current cell and selection -------------------------------------------------

void ListGrid::SetRow(int r) {
  if (r < 0 || r >= rows()) throw RunTimeError(kErrSubscript);
  row_ = row_sel_ = r;
  col_sel_ = col_;
}

void ListGrid::SetCol(int c) {
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  col_ = col_sel_ = c;
  row_sel_ = row_;
}

void ListGrid::SetRowSel(int r) {
  if (r < 0 || r >= rows()) throw RunTimeError(kErrSubscript);
  row_sel_ = r;
}

void ListGrid::SetColSel(int c) {
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  col_sel_ = c;
}

template <class Fn>
void ListGrid::ForFill(Fn fn) {
  Touch();
  CheckCell(row_, col_);
  if (fill_style != 1) {
    fn(cells_[row_][col_]);
    return;
  }
  for (int r = std::min(row_, row_sel_); r <= std::max(row_, row_sel_); ++r) {
    for (int c = std::min(col_, col_sel_); c <= std::max(col_, col_sel_); ++c) fn(cells_[r][c]);
  }
}

ui::Color ListGrid::CellBackColor() const { return CellBackColorAt(row_, col_); }
void ListGrid::SetCellBackColor(ui::Color color) {
  ForFill([&](Cell& cell) { cell.back = color; });
}
ui::Color ListGrid::CellForeColor() const { return CellForeColorAt(row_, col_); }
void ListGrid::SetCellForeColor(ui::Color color) {
  ForFill([&](Cell& cell) { cell.fore = color; });
}

ui::Color ListGrid::CellBackColorAt(int r, int c) const {
  const Cell& cell = At(r, c);
  if (cell.back) return *cell.back;
  return (r < fixed_rows_ || c < fixed_cols_) ? back_color_fixed : back_color;
}

void ListGrid::SetCellBackColorAt(int r, int c, ui::Color color) { At(r, c).back = color; }

ui::Color ListGrid::CellForeColorAt(int r, int c) const {
  const Cell& cell = At(r, c);
  if (cell.fore) return *cell.fore;
  return (r < fixed_rows_ || c < fixed_cols_) ? fore_color_fixed : fore_color;
}

void ListGrid::SetCellForeColorAt(int r, int c, ui::Color color) { At(r, c).fore = color; }

// --- Lines ------------------------------------------------------------------------

int ListGrid::ColWidth(int c) const {
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  return col_widths_[c];
}

void ListGrid::SetColWidth(int c, int width) {
  Touch();
  if (c == -1) {
    default_col_width_ = width;
    std::fill(col_widths_.begin(), col_widths_.end(), width);
    return;
  }
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  col_widths_[c] = width;
}

int ListGrid::RowHeight(int r) const {
  if (r < 0 || r >= rows()) throw RunTimeError(kErrSubscript);
  return row_heights_[r];
}

void ListGrid::SetRowHeight(int r, int height) {
  Touch();
  if (r == -1) {
    default_row_height_ = height;
    std::fill(row_heights_.begin(), row_heights_.end(), height);
    return;
  }
  if (r < 0 || r >= rows()) throw RunTimeError(kErrSubscript);
  row_heights_[r] = height;
}

int ListGrid::ColAlignment(int c) const {
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  return col_aligns_[c];
}

void ListGrid::SetColAlignment(int c, int alignment) {
  Touch();
  if (c < 0 || c >= cols_) throw RunTimeError(kErrSubscript);
  col_aligns_[c] = alignment;
}

// --- Sorting ----------------------------------------------------------------------

void ListGrid::Sort(int first_row, int last_row, int key_col, ListSort order) {
  Touch();
  CheckCell(first_row, key_col);
  CheckCell(last_row, key_col);
  const int lo = std::min(first_row, last_row), hi = std::max(first_row, last_row);
  const bool descending = order == ListSort::kGenericDescending || order == ListSort::kNumericDescending ||
                          order == ListSort::kStringNoCaseDescending ||
                          order == ListSort::kStringDescending;
  // Comparison keys, computed once per row.
  struct Key {
    bool is_number = false;
    double number = 0;
    std::string bytes;
  };
  std::vector<Key> keys(hi - lo + 1);
  for (int r = lo; r <= hi; ++r) {
    Key& k = keys[r - lo];
    const std::string& text = cells_[r][key_col].text;
    k.is_number = ParseSortNumber(text, k.number);
    k.bytes = text::ToCp932(text);
    if (order == ListSort::kStringNoCaseAscending || order == ListSort::kStringNoCaseDescending) {
      k.bytes = FoldAscii(std::move(k.bytes));
    }
    if ((order == ListSort::kNumericAscending || order == ListSort::kNumericDescending) && !k.is_number) {
      k.is_number = true;
      k.number = 0;
    }
  }
  const bool numeric = order == ListSort::kNumericAscending || order == ListSort::kNumericDescending;
  const bool generic = order == ListSort::kGenericAscending || order == ListSort::kGenericDescending;
  auto compare = [&](const Key& a, const Key& b) {
    if (numeric || (generic && a.is_number && b.is_number)) {
      return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    }
    if (generic && a.is_number != b.is_number) return a.is_number ? -1 : 1;
    return a.bytes.compare(b.bytes);
  };
  std::vector<int> idx(hi - lo + 1);
  for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<int>(i);
  std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
    const int c = compare(keys[a], keys[b]);
    return descending ? c > 0 : c < 0;
  });
  std::vector<std::vector<Cell>> rows_moved;
  std::vector<int> heights;
  for (int i : idx) {
    rows_moved.push_back(std::move(cells_[lo + i]));
    heights.push_back(row_heights_[lo + i]);
  }
  for (std::size_t i = 0; i < idx.size(); ++i) {
    cells_[lo + i] = std::move(rows_moved[i]);
    row_heights_[lo + i] = heights[i];
  }
}

// --- User actions ---------------------------------------------------------------------

float ListGrid::PointY(int r) const {
  float y = 0;
  for (int i = 0; i < r && i < rows(); ++i) y += static_cast<float>(row_heights_[i]);
  return y + (r < rows() ? static_cast<float>(row_heights_[r]) / 2 : 0);
}

float ListGrid::PointX(int c) const {
  float x = 0;
  for (int i = 0; i < c && i < cols_; ++i) x += static_cast<float>(col_widths_[i]);
  return x + (c < cols_ ? static_cast<float>(col_widths_[c]) / 2 : 0);
}

void ListGrid::RaiseMouseUpAndClick(int shift, int r, int c) {
  mouse_row_ = r;
  mouse_col_ = c;
  if (on_mouse_up) on_mouse_up(kButtonLeft, shift, PointX(c), PointY(r));
  if (!FormGone() && on_click) on_click();
}

void ListGrid::ClickCell(int r, int c, int shift) {
  if (!visible || !enabled) return;
  CheckCell(r, c);
  if (r >= fixed_rows_ && c >= fixed_cols_) {
    if ((shift & kShiftMask) != 0) {
      row_sel_ = r;
      col_sel_ = c;
    } else {
      row_ = row_sel_ = r;
      col_ = col_sel_ = c;
    }
  }
  RaiseMouseUpAndClick(shift, r, c);
}

void ListGrid::DragSelect(int from_row, int from_col, int to_row, int to_col) {
  if (!visible || !enabled) return;
  CheckCell(from_row, from_col);
  CheckCell(to_row, to_col);
  if (from_row >= fixed_rows_ && from_col >= fixed_cols_ && to_row >= fixed_rows_ && to_col >= fixed_cols_) {
    row_ = from_row;
    col_ = from_col;
    row_sel_ = to_row;
    col_sel_ = to_col;
  }
  RaiseMouseUpAndClick(0, to_row, to_col);
}

void ListGrid::DoubleClickCell(int r, int c) {
  if (!visible || !enabled) return;
  ClickCell(r, c);
  if (!FormGone()) SecondClickOfDouble();
}

void ListGrid::SecondClickOfDouble() {
  if (!visible || !enabled) return;
  if (on_dbl_click) on_dbl_click();
}

int ListGrid::DeliverKeyDown(int key, int shift) {
  if (!visible || !enabled) return key;
  if (on_key_down) on_key_down(key, shift);
  int dr = 0, dc = 0;
  if (key == kKeyUp) dr = -1;
  if (key == kKeyDown) dr = 1;
  if (key == kKeyLeft) dc = -1;
  if (key == kKeyRight) dc = 1;
  if (dr == 0 && dc == 0) return key;
  const bool extend = (shift & kShiftMask) != 0;
  const int from_row = extend ? row_sel_ : row_, from_col = extend ? col_sel_ : col_;
  const int r = std::clamp(from_row + dr, fixed_rows_, std::max(fixed_rows_, rows() - 1));
  const int c = std::clamp(from_col + dc, fixed_cols_, std::max(fixed_cols_, cols_ - 1));
  if (r >= rows() || c >= cols_) return key;
  row_sel_ = r;
  col_sel_ = c;
  if (!extend) {
    row_ = r;
    col_ = c;
  }
  return key;
}

int ListGrid::DeliverKeyUp(int key, int shift) {
  if (!visible || !enabled) return key;
  if (on_key_up) on_key_up(key, shift);
  return key;
}

void ListGrid::PressKey(int key, int shift) {
  DeliverKeyDown(key, shift);
  DeliverKeyUp(key, shift);
}

void ListGrid::PointAt(int r, int c) {
  point_row_ = r;
  point_col_ = c;
}

void ListGrid::HandleKeyDown(int& key_code, int& shift) { key_code = DeliverKeyDown(key_code, shift); }
void ListGrid::HandleKeyUp(int& key_code, int& shift) { key_code = DeliverKeyUp(key_code, shift); }

void ListGrid::HandleClick(int button, int shift) {
  int r = row_, c = col_;
  if (point_row_ >= 0 && point_row_ < rows() && point_col_ >= 0 && point_col_ < cols_) {
    r = point_row_;
    c = point_col_;
  }
  point_row_ = point_col_ = -1;
  if (rows() == 0 || cols_ == 0) return;
  if (button == kButtonLeft) {
    ClickCell(r, c, shift);
  } else if (visible && enabled) {
    mouse_row_ = r;
    mouse_col_ = c;
    if (on_mouse_up) on_mouse_up(button, shift, PointX(c), PointY(r));
  }
}

void ListGrid::OnFocusArriving(Control*) { focused_ = true; }
void ListGrid::OnFocusLeaving(Control*) { focused_ = false; }

}  // namespace qz::grid
