#include "platform/grid/spread.h"

#include <algorithm>
#include <utility>

#include "platform/grid/spread_cells.h"

namespace qz::grid {

namespace {

constexpr int kDesignSize = 500;
constexpr double kDefaultColWidth = 9.0;
constexpr double kDefaultRowHeight = 12.0;
constexpr int kDefaultMaxEditLen = 255;
constexpr int kDefaultMaxDrop = 8;
// Changed ranges recorded before the record gives up and says "all".
constexpr std::size_t kMaxChangeRanges = 256;

// The lines a range covers along one axis. `all` is a -1 address.
struct Span {
  bool all;
  int lo, hi;
};

Span MakeSpan(int a, int b, int max) {
  if (a < 0 || b < 0) return {true, 1, max};
  return {false, std::min(a, b), std::min(std::max(a, b), max)};
}

std::vector<std::string> SplitTabs(std::string_view text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  std::size_t start = 0;
  while (true) {
    std::size_t tab = text.find('\t', start);
    if (tab == std::string_view::npos) {
      entries.emplace_back(text.substr(start));
      return entries;
    }
    entries.emplace_back(text.substr(start, tab - start));
    start = tab + 1;
  }
}

// One axis of a changed range: lines lo..hi, or every line.
struct Lines {
  bool all;
  int lo, hi;
};

Lines LinesOf(int a, int b) {
  if (a < 0 || b < 0) return {true, 0, 0};
  return {false, std::min(a, b), std::max(a, b)};
}

bool Covers(Lines outer, Lines inner) {
  return outer.all || (!inner.all && outer.lo <= inner.lo && inner.hi <= outer.hi);
}

bool SameLines(Lines a, Lines b) { return a.all == b.all && (a.all || (a.lo == b.lo && a.hi == b.hi)); }

// Widens `into` by `more` when they lie side by side or overlap.
bool Join(Lines& into, Lines more) {
  if (into.all || more.all || more.lo > into.hi + 1 || more.hi < into.lo - 1) return false;
  into.lo = std::min(into.lo, more.lo);
  into.hi = std::max(into.hi, more.hi);
  return true;
}

Range RangeOf(Lines cols, Lines rows) {
  return {cols.all ? -1 : cols.lo, rows.all ? -1 : rows.lo, cols.all ? -1 : cols.hi, rows.all ? -1 : rows.hi};
}

}  // namespace

Spread::Spread(ui::Form* form, std::string name, int index)
    : Control(form, std::move(name), index, ui::ControlKind::kSpread),
      sheet_(std::make_unique<Format>()) {
  back_color = ui::kSysWindowBackground;
  fore_color = ui::kSysWindowText;
  SetMaxCols(kDesignSize);
  SetMaxRows(kDesignSize);
}

Spread::~Spread() = default;

// --- Size --------------------------------------------------------------------

void Spread::SetMaxRows(int n) {
  n = std::max(0, n);
  TouchAll();
  if (editing_ && active_row_ > n) AbandonEdit();
  cells_.resize(n + 1);
  const std::size_t old = row_lines_.size();
  row_lines_.resize(n + 1);
  for (std::size_t r = old; r < row_lines_.size(); ++r) row_lines_[r].size = kDefaultRowHeight;
  max_rows_ = n;
  active_row_ = std::max(1, std::min(active_row_, n));
  top_row_ = std::max(1, std::min(top_row_, n));
}

void Spread::SetMaxCols(int n) {
  n = std::max(0, n);
  TouchAll();
  if (editing_ && active_col_ > n) AbandonEdit();
  for (auto& cells : cells_) {
    if (cells.size() > static_cast<std::size_t>(n) + 1) cells.resize(n + 1);
  }
  const std::size_t old = col_lines_.size();
  col_lines_.resize(n + 1);
  for (std::size_t c = old; c < col_lines_.size(); ++c) col_lines_[c].size = kDefaultColWidth;
  max_cols_ = n;
  active_col_ = std::max(1, std::min(active_col_, n));
  left_col_ = std::max(1, std::min(left_col_, n));
}

bool Spread::InGrid(int c, int r) const {
  return c >= 0 && r >= 0 && c <= max_cols_ && r <= max_rows_;
}

// --- Change tracking ---------------------------------------------------------

void Spread::Touch(const Range& range) {
  ++revision_;
  if (changes_.all) return;
  const Lines cols = LinesOf(range.col1, range.col2);
  const Lines rows = LinesOf(range.row1, range.row2);
  if (!changes_.ranges.empty()) {
    Range& last = changes_.ranges.back();
    Lines last_cols = LinesOf(last.col1, last.col2);
    Lines last_rows = LinesOf(last.row1, last.row2);
    if (Covers(last_cols, cols) && Covers(last_rows, rows)) return;
    if ((SameLines(last_rows, rows) && Join(last_cols, cols)) ||
        (SameLines(last_cols, cols) && Join(last_rows, rows))) {
      last = RangeOf(last_cols, last_rows);
      return;
    }
  }
  if (changes_.ranges.size() >= kMaxChangeRanges) {
    TouchAll();
    return;
  }
  changes_.ranges.push_back(RangeOf(cols, rows));
}

void Spread::TouchAll() {
  ++revision_;
  changes_.all = true;
  changes_.ranges.clear();
}

Spread::Changes Spread::TakeChanges() { return std::exchange(changes_, Changes{}); }

// --- Storage -----------------------------------------------------------------

const Spread::Cell* Spread::FindCell(int c, int r) const {
  ++cell_reads_;
  if (!InGrid(c, r)) return nullptr;
  const auto& cells = cells_[r];
  if (static_cast<std::size_t>(c) >= cells.size()) return nullptr;
  return &cells[c];
}

Spread::Cell& Spread::CellRef(int c, int r) {
  Touch(Range::Cell(c, r));
  auto& cells = cells_[r];
  if (static_cast<std::size_t>(c) >= cells.size()) cells.resize(max_cols_ + 1);
  return cells[c];
}

template <class T, class F>
T Spread::Resolve(int c, int r, F field, const T& fallback) const {
  const Layer<T>* best = nullptr;
  auto consider = [&](const Format* f) {
    if (f == nullptr) return;
    const Layer<T>& layer = f->*field;
    if (layer.stamp != 0 && (best == nullptr || layer.stamp > best->stamp)) best = &layer;
  };
  consider(sheet_.get());
  if (c >= 0 && c <= max_cols_) consider(col_lines_[c].format.get());
  if (r >= 0 && r <= max_rows_) consider(row_lines_[r].format.get());
  if (const Cell* cell = FindCell(c, r)) consider(cell->format.get());
  return best != nullptr ? best->value : fallback;
}

template <class V, class F>
void Spread::Apply(const Range& range, F field, const V& value) {
  const std::uint64_t stamp = ++stamp_;
  Touch(range);
  auto set = [&](std::unique_ptr<Format>& f) {
    if (!f) f = std::make_unique<Format>();
    auto& layer = (*f).*field;
    layer.value = value;
    layer.stamp = stamp;
  };
  const Span cs = MakeSpan(range.col1, range.col2, max_cols_);
  const Span rs = MakeSpan(range.row1, range.row2, max_rows_);
  if (cs.all && rs.all) {
    set(sheet_);
  } else if (cs.all) {
    for (int r = rs.lo; r <= rs.hi; ++r) set(row_lines_[r].format);
  } else if (rs.all) {
    for (int c = cs.lo; c <= cs.hi; ++c) set(col_lines_[c].format);
  } else {
    for (int r = rs.lo; r <= rs.hi; ++r) {
      for (int c = cs.lo; c <= cs.hi; ++c) set(CellRef(c, r).format);
    }
  }
}

template <class Fn>
void Spread::ForEachCell(const Range& range, bool allocate, Fn fn) {
  const Span cs = MakeSpan(range.col1, range.col2, max_cols_);
  const Span rs = MakeSpan(range.row1, range.row2, max_rows_);
  for (int r = rs.lo; r <= rs.hi; ++r) {
    if (!allocate && cells_[r].empty()) continue;
    for (int c = cs.lo; c <= cs.hi; ++c) {
      if (allocate || static_cast<std::size_t>(c) < cells_[r].size()) fn(c, r);
    }
  }
}

// --- Current cell ------------------------------------------------------------

Range Spread::Current() const {
  if (block_mode) return Range::Block(col, row, col2, row2);
  return Range::Cell(col, row);
}

std::string Spread::Text() const { return TextAt(col, row); }
void Spread::SetText(std::string_view text) { SetText(Current(), text); }
CellType Spread::GetCellType() const { return FormatAt(col, row).type; }
void Spread::SetCellType(CellType type) { SetCellType(Current(), type); }
Color Spread::BackColor() const { return BackColorAt(col, row); }
void Spread::SetBackColor(Color color) { SetBackColor(Current(), color); }
Color Spread::ForeColor() const { return ForeColorAt(col, row); }
void Spread::SetForeColor(Color color) { SetForeColor(Current(), color); }
HAlign Spread::Alignment() const { return Resolve(col, row, &Format::align, HAlign::kLeft); }
void Spread::SetAlignment(HAlign align) { SetAlignment(Current(), align); }
std::string Spread::FontName() const { return Resolve(col, row, &Format::font_name, font.name); }
void Spread::SetFontName(std::string_view name) { SetFontName(Current(), name); }
double Spread::FontSize() const { return Resolve(col, row, &Format::font_size, font.size); }
void Spread::SetFontSize(double size) { SetFontSize(Current(), size); }
bool Spread::FontBold() const { return Resolve(col, row, &Format::font_bold, font.bold); }
void Spread::SetFontBold(bool bold) { SetFontBold(Current(), bold); }
int Spread::MaxEditLen() const { return Resolve(col, row, &Format::max_edit_len, kDefaultMaxEditLen); }
void Spread::SetMaxEditLen(int bytes) { SetMaxEditLen(Current(), bytes); }
int Spread::EditCharSet() const { return Resolve(col, row, &Format::edit_char_set, kCharSetAll); }
void Spread::SetEditCharSet(int char_set) { SetEditCharSet(Current(), char_set); }
bool Spread::Lock() const { return Resolve(col, row, &Format::lock, false); }
void Spread::SetLock(bool lock) { SetLock(Current(), lock); }

std::string Spread::ComboList() const {
  std::string joined;
  const auto entries = Resolve(col, row, &Format::combo_entries, std::vector<std::string>{});
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) joined += '\t';
    joined += entries[i];
  }
  return joined;
}

void Spread::SetComboList(std::string_view text) { SetComboList(Current(), text); }
bool Spread::ComboEditable() const { return Resolve(col, row, &Format::combo_editable, false); }
void Spread::SetComboEditable(bool editable) { SetComboEditable(Current(), editable); }
int Spread::ComboMaxDrop() const { return Resolve(col, row, &Format::combo_max_drop, kDefaultMaxDrop); }
void Spread::SetComboMaxDrop(int rows) { SetComboMaxDrop(Current(), rows); }

int Spread::ComboCount() const {
  return static_cast<int>(Resolve(col, row, &Format::combo_entries, std::vector<std::string>{}).size());
}

int Spread::ComboCurSel() const { return ComboCurSelAt(col, row); }
void Spread::SetComboCurSel(int index) { SetComboCurSel(Current(), index); }
void Spread::AddComboEntry(int index, std::string_view text) { AddComboEntry(Current(), index, text); }

// --- Direct forms ------------------------------------------------------------

bool Spread::GetText(int c, int r, std::string& out) const {
  if (!InGrid(c, r)) return false;
  out = TextAt(c, r);
  return true;
}

std::string Spread::TextAt(int c, int r) const {
  if (editing_ && c == active_col_ && r == active_row_) {
    ++cell_reads_;
    return edit_text_;
  }
  const Cell* cell = FindCell(c, r);
  return cell != nullptr ? cell->text : std::string();
}

void Spread::WriteText(int c, int r, std::string_view text) {
  if (editing_ && c == active_col_ && r == active_row_) {
    edit_text_ = std::string(text);
    Touch(Range::Cell(c, r));
    return;
  }
  if (text.empty() && FindCell(c, r) == nullptr) return;  // already empty
  Cell& cell = CellRef(c, r);
  cell.text = std::string(text);
  cell.combo_sel = -1;
  if (Resolve(c, r, &Format::type, CellType::kEdit) == CellType::kComboBox) {
    const auto entries = Resolve(c, r, &Format::combo_entries, std::vector<std::string>{});
    auto it = std::find(entries.begin(), entries.end(), cell.text);
    if (it != entries.end()) cell.combo_sel = static_cast<int>(it - entries.begin());
  }
}

void Spread::SetText(int c, int r, std::string_view text) {
  if (InGrid(c, r)) WriteText(c, r, text);
}

void Spread::SetText(const Range& range, std::string_view text) {
  if (text.empty()) {
    // Only cells that exist can hold a text; the editor is cleared too.
    ForEachCell(range, false, [&](int c, int r) { WriteText(c, r, text); });
    if (editing_) {
      const Span cs = MakeSpan(range.col1, range.col2, max_cols_);
      const Span rs = MakeSpan(range.row1, range.row2, max_rows_);
      if (active_col_ >= cs.lo && active_col_ <= cs.hi && active_row_ >= rs.lo &&
          active_row_ <= rs.hi) {
        edit_text_.clear();
        Touch(Range::Cell(active_col_, active_row_));
      }
    }
    return;
  }
  ForEachCell(range, true, [&](int c, int r) { WriteText(c, r, text); });
}

CellFormat Spread::FormatAt(int c, int r) const {
  CellFormat f;
  f.type = Resolve(c, r, &Format::type, CellType::kEdit);
  f.back_color = BackColorAt(c, r);
  f.fore_color = ForeColorAt(c, r);
  f.align = Resolve(c, r, &Format::align, HAlign::kLeft);
  f.font_name = Resolve(c, r, &Format::font_name, font.name);
  f.font_size = Resolve(c, r, &Format::font_size, font.size);
  f.font_bold = Resolve(c, r, &Format::font_bold, font.bold);
  f.max_edit_len = Resolve(c, r, &Format::max_edit_len, kDefaultMaxEditLen);
  f.edit_char_set = Resolve(c, r, &Format::edit_char_set, kCharSetAll);
  f.lock = Resolve(c, r, &Format::lock, false);
  f.combo_entries = Resolve(c, r, &Format::combo_entries, std::vector<std::string>{});
  f.combo_editable = Resolve(c, r, &Format::combo_editable, false);
  f.combo_max_drop = Resolve(c, r, &Format::combo_max_drop, kDefaultMaxDrop);
  return f;
}

Color Spread::BackColorAt(int c, int r) const {
  return Resolve(c, r, &Format::back_color, IsHeader(c, r) ? ui::kSysButtonFace : back_color);
}

Color Spread::ForeColorAt(int c, int r) const {
  return Resolve(c, r, &Format::fore_color, IsHeader(c, r) ? ui::kSysButtonText : fore_color);
}

int Spread::ComboCurSelAt(int c, int r) const {
  const Cell* cell = FindCell(c, r);
  return cell != nullptr ? cell->combo_sel : -1;
}

void Spread::SetCellType(const Range& range, CellType type) { Apply(range, &Format::type, type); }
void Spread::SetBackColor(const Range& range, Color color) { Apply(range, &Format::back_color, color); }
void Spread::SetForeColor(const Range& range, Color color) { Apply(range, &Format::fore_color, color); }
void Spread::SetAlignment(const Range& range, HAlign align) { Apply(range, &Format::align, align); }
void Spread::SetFontName(const Range& range, std::string_view name) {
  Apply(range, &Format::font_name, std::string(name));
}
void Spread::SetFontSize(const Range& range, double size) { Apply(range, &Format::font_size, size); }
void Spread::SetFontBold(const Range& range, bool bold) { Apply(range, &Format::font_bold, bold); }
void Spread::SetMaxEditLen(const Range& range, int bytes) { Apply(range, &Format::max_edit_len, bytes); }
void Spread::SetEditCharSet(const Range& range, int char_set) {
  Apply(range, &Format::edit_char_set, char_set);
}
void Spread::SetLock(const Range& range, bool lock) { Apply(range, &Format::lock, lock); }
void Spread::SetComboEditable(const Range& range, bool editable) {
  Apply(range, &Format::combo_editable, editable);
}
void Spread::SetComboMaxDrop(const Range& range, int rows) { Apply(range, &Format::combo_max_drop, rows); }

void Spread::SetComboList(const Range& range, std::string_view tab_separated) {
  Apply(range, &Format::combo_entries, SplitTabs(tab_separated));
  ForEachCell(range, false, [&](int c, int r) { CellRef(c, r).combo_sel = -1; });
}

void Spread::SetComboCurSel(const Range& range, int index) {
  ForEachCell(range, index >= 0, [&](int c, int r) {
    const auto entries = Resolve(c, r, &Format::combo_entries, std::vector<std::string>{});
    if (index < -1 || index >= static_cast<int>(entries.size())) return;
    Cell& cell = CellRef(c, r);
    cell.combo_sel = index;
    cell.text = index >= 0 ? entries[index] : std::string();
    if (editing_ && c == active_col_ && r == active_row_) edit_text_ = cell.text;
  });
}

void Spread::AddComboEntry(const Range& range, int index, std::string_view text) {
  ForEachCell(range, true, [&](int c, int r) {
    auto entries = Resolve(c, r, &Format::combo_entries, std::vector<std::string>{});
    const int n = static_cast<int>(entries.size());
    const int at = (index < 0 || index > n) ? n : index;
    entries.insert(entries.begin() + at, std::string(text));
    Apply(Range::Cell(c, r), &Format::combo_entries, entries);
    Cell& cell = CellRef(c, r);
    if (cell.combo_sel >= at) ++cell.combo_sel;
  });
}

bool Spread::CellLocked(int c, int r) const {
  return protect && Resolve(c, r, &Format::lock, false);
}

bool Spread::CellTakesInput(int c, int r) const {
  if (c < 1 || r < 1 || !InGrid(c, r)) return false;
  if (CellLocked(c, r)) return false;
  switch (Resolve(c, r, &Format::type, CellType::kEdit)) {
    case CellType::kEdit:
    case CellType::kFloat:
    case CellType::kInteger:
      return true;
    case CellType::kComboBox:
      return Resolve(c, r, &Format::combo_editable, false);
    default:
      return false;
  }
}

// --- Lines -------------------------------------------------------------------

double Spread::ColWidth(int c) const {
  return (c >= 0 && c <= max_cols_) ? col_lines_[c].size : 0;
}

void Spread::SetColWidth(int c, double width) {
  TouchView();
  if (c == -1) {
    for (auto& line : col_lines_) line.size = width;
  } else if (c >= 0 && c <= max_cols_) {
    col_lines_[c].size = width;
  }
}

double Spread::RowHeight(int r) const {
  return (r >= 0 && r <= max_rows_) ? row_lines_[r].size : 0;
}

void Spread::SetRowHeight(int r, double height) {
  TouchView();
  if (r == -1) {
    for (auto& line : row_lines_) line.size = height;
  } else if (r >= 0 && r <= max_rows_) {
    row_lines_[r].size = height;
  }
}

}  // namespace qz::grid
