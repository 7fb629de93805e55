#include "qt/spread_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <tuple>

#include "platform/ui/shell.h"
#include "qt/cell_text_painter.h"
#include "qt/form_window.h"
#include "qt/input_method_adapter.h"
#include "qt/model_sight.h"
#include "qt/qt_backend.h"
#include "qt/qt_style.h"

namespace qz::qt {

namespace {

constexpr int kTypeRole = kCellTypeRole;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// The cells in sight, asked for by the table as it paints. What a cell
// shows is resolved once and kept until the grid reports the cell changed.
class SpreadTableModel : public QAbstractTableModel {
 public:
  explicit SpreadTableModel(SpreadView* view) : QAbstractTableModel(view), view_(view) {}

  void Reset(grid::Spread* spread) {
    beginResetModel();
    spread_ = spread;
    cells_.assign(static_cast<std::size_t>(rowCount({})) * static_cast<std::size_t>(columnCount({})), Shown{});
    endResetModel();
  }
  // Repaints the cells in sight among `changes`.
  void Refresh(const grid::Spread::Changes& changes) {
    const int rows = rowCount({}), cols = columnCount({});
    if (rows == 0 || cols == 0) return;
    if (changes.all) {
      for (Shown& cell : cells_) cell.known = false;
      emit dataChanged(index(0, 0), index(rows - 1, cols - 1));
      return;
    }
    for (const grid::Range& range : changes.ranges) {
      const auto [top, bottom] = ViewSpan(view_->shown_rows(), range.row1, range.row2);
      const auto [left, right] = ViewSpan(view_->shown_cols(), range.col1, range.col2);
      if (top > bottom || left > right) continue;
      for (int vr = top; vr <= bottom; ++vr) {
        for (int vc = left; vc <= right; ++vc) cells_[Slot(vr, vc)].known = false;
      }
      emit dataChanged(index(top, left), index(bottom, right));
    }
  }

  // Drops what the cells showed (the lines in sight moved) without a repaint.
  void Forget() {
    for (Shown& cell : cells_) cell.known = false;
  }
  // Repaints view row `vr` (nothing when it is not in the table).
  void RepaintRow(int vr) {
    if (vr < 0 || vr >= rowCount({}) || columnCount({}) == 0) return;
    emit dataChanged(index(vr, 0), index(vr, columnCount({}) - 1));
  }

  int rowCount(const QModelIndex& parent) const override {
    return spread_ == nullptr || parent.isValid() ? 0 : static_cast<int>(view_->shown_rows().size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return spread_ == nullptr || parent.isValid() ? 0 : static_cast<int>(view_->shown_cols().size());
  }

  Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (spread_ == nullptr || !index.isValid()) return {};
    const Shown& cell = ShownAt(index.row(), index.column());
    switch (role) {
      case Qt::DisplayRole:
        return cell.text;
      case Qt::CheckStateRole:
        return cell.check;
      case Qt::BackgroundRole:
        return cell.back;
      case Qt::ForegroundRole:
        return cell.fore;
      case Qt::FontRole:
        return cell.font;
      case Qt::TextAlignmentRole:
        return cell.align;
      case kTypeRole:
        return cell.type;
      default:
        return {};
    }
  }

 private:
  // What one cell shows, by role.
  struct Shown {
    bool known = false;
    QVariant text, check;
    QBrush back, fore;
    QFont font;
    int align = 0;
    int type = 0;
  };

  std::size_t Slot(int vr, int vc) const {
    return static_cast<std::size_t>(vr) * view_->shown_cols().size() + static_cast<std::size_t>(vc);
  }

  const Shown& ShownAt(int vr, int vc) const {
    Shown& cell = cells_[Slot(vr, vc)];
    if (cell.known) return cell;
    const int c = view_->shown_cols()[static_cast<std::size_t>(vc)];
    const int r = view_->shown_rows()[static_cast<std::size_t>(vr)];
    const grid::CellFormat f = spread_->FormatAt(c, r);
    const bool check = f.type == grid::CellType::kCheckBox && c > 0 && r > 0;
    const std::string text = spread_->TextAt(c, r);
    cell.text = check ? QVariant() : QVariant(Q(text));
    cell.check = check ? QVariant(text == "1" ? Qt::Checked : Qt::Unchecked) : QVariant();
    const QPalette palette = QApplication::palette();
    cell.back = QBrush(ResolveColor(f.back_color, palette));
    cell.fore = QBrush(ResolveColor(f.fore_color, palette));
    cell.font = FontOf(f);
    Qt::Alignment h = Qt::AlignLeft;
    if (f.align == grid::HAlign::kRight) h = Qt::AlignRight;
    if (f.align == grid::HAlign::kCenter || r == 0 || c == 0) h = Qt::AlignHCenter;
    cell.align = static_cast<int>(h | Qt::AlignVCenter);
    // Headers show their text only.
    cell.type = c > 0 && r > 0 ? static_cast<int>(f.type) : static_cast<int>(grid::CellType::kStaticText);
    cell.known = true;
    return cell;
  }

  // The Qt font of a cell's format, built once per font of the grid.
  const QFont& FontOf(const grid::CellFormat& f) const {
    auto key = std::make_tuple(f.font_name, f.font_size, f.font_bold);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, FontFor(f.font_name, f.font_size, f.font_bold)).first;
    return it->second;
  }

  // The view lines (first, last) that show the model lines a..b of a range
  // (-1: every line); first > last when none is shown.
  static std::pair<int, int> ViewSpan(const std::vector<int>& shown, int a, int b) {
    int lo = std::min(a, b), hi = std::max(a, b);
    if (a < 0 || b < 0) {
      lo = 0;
      hi = std::numeric_limits<int>::max();
    }
    // The lines shown ascend: the header, the frozen ones, the scrolling ones.
    const auto first = std::lower_bound(shown.begin(), shown.end(), lo);
    const auto last = std::upper_bound(shown.begin(), shown.end(), hi);
    return {static_cast<int>(first - shown.begin()), static_cast<int>(last - shown.begin()) - 1};
  }

  SpreadView* view_;
  grid::Spread* spread_ = nullptr;
  mutable std::vector<Shown> cells_;  // [view row * view columns + view column]
  mutable std::map<std::tuple<std::string, double, bool>, QFont> fonts_;
};


SpreadView::SpreadView(FormWindow& window, grid::Spread& spread, QWidget* parent)
    : QWidget(parent), window_(window), spread_(&spread) {
  auto* table = new InputMethodTable(this);
  table->answer = [this](Qt::InputMethodQuery query) { return AnswerInputMethod(query); };
  table_ = table;
  vbar_ = new QScrollBar(Qt::Vertical, this);
  hbar_ = new QScrollBar(Qt::Horizontal, this);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(table_, 0, 0);
  layout->addWidget(vbar_, 0, 1);
  layout->addWidget(hbar_, 1, 0);
  model_ = new SpreadTableModel(this);
  table_->setModel(model_);
  table_->setItemDelegate(new CellTextPainter([this](const QModelIndex& index) { return EditOf(index); }, table_));
  table_->horizontalHeader()->hide();
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setMinimumSectionSize(0);
  table_->verticalHeader()->setMinimumSectionSize(0);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAutoScroll(false);
  table_->setWordWrap(false);
  table_->setTabKeyNavigation(false);
  setFocusProxy(table_);
  auto scroll = [this](QScrollBar* bar, bool rows) {
    connect(bar, &QScrollBar::actionTriggered, this, [this, bar, rows](int) {
      const int to = bar->sliderPosition();
      window_.Dispatch([this, to, rows](ui::Shell&) { rows ? ScrollRows(to) : ScrollCols(to); });
    });
  };
  scroll(vbar_, true);
  scroll(hbar_, false);
  model_->Reset(spread_);
}

SpreadView::~SpreadView() = default;

void SpreadView::Detach() {
  spread_ = nullptr;
  synced_.reset();
  rows_.clear();
  cols_.clear();
  model_->Reset(nullptr);
}

QWidget* SpreadView::FocusWidget() const { return table_; }

namespace {

// Lines shown along one axis: the header 0, the frozen lines, then the
// scrolling ones from `first`, as many as fill `room` pixels (one more,
// partly in view) when `size_px` gives each line's size; all of them when
// `room` is negative. A grid of a thousand lines thus costs the table the
// few it shows.
std::vector<int> ShownLines(int max, int frozen, int first, int room, const std::function<int(int)>& size_px) {
  std::vector<int> lines;
  if (max < 0) return lines;
  lines.push_back(0);
  frozen = std::clamp(frozen, 0, max);
  int used = room < 0 ? 0 : size_px(0);
  for (int i = 1; i <= frozen; ++i) {
    lines.push_back(i);
    if (room >= 0) used += size_px(i);
  }
  for (int i = std::max(first, frozen + 1); i <= max && (room < 0 || used <= room); ++i) {
    lines.push_back(i);
    if (room >= 0) used += size_px(i);
  }
  return lines;
}

}  // namespace

bool SpreadView::Synced::operator==(const Synced& o) const {
  return revision == o.revision && rows_frozen == o.rows_frozen && cols_frozen == o.cols_frozen &&
         back_color == o.back_color && fore_color == o.fore_color && SameFont(font, o.font) && viewport == o.viewport && height == o.height &&
         visible == o.visible;
}

void SpreadView::Sync() {
  if (spread_ == nullptr) return;
  grid::Spread& s = *spread_;
  // A grid out of sight is brought up to date when it is shown again.
  if (!ModelShown(s)) return;
  // An unchanged grid costs nothing: not one cell is read.
  const Synced now{s.revision(), s.rows_frozen, s.cols_frozen, s.back_color, s.fore_color, s.font,
                   table_->viewport()->size(), height(), isVisible()};
  if (synced_ && *synced_ == now) {
    // A composition still shown goes when the grid loses the focus, which
    // changes no cell.
    if (!preedit_.isEmpty()) SyncEditing();
    return;
  }
  // The grid's own colours and font show in every cell without one of its
  // own: when they change, every cell may show another.
  const bool own_look_changed = synced_ && (synced_->back_color != now.back_color ||
                                            synced_->fore_color != now.fore_color || !SameFont(synced_->font, now.font));
  synced_ = now;
  const double point_px = logicalDpiY() / 72.0;
  std::vector<int> rows =
      // The view's own height holds the table's before Qt has laid it out.
      ShownLines(s.max_rows(), s.rows_frozen, s.top_row(), std::max(height(), table_->viewport()->height()),
                 [&](int r) { return static_cast<int>(std::lround(s.RowHeight(r) * point_px)); });
  std::vector<int> cols = ShownLines(s.max_cols(), s.cols_frozen, s.left_col(), -1, {});
  grid::Spread::Changes changes = s.TakeChanges();
  if (own_look_changed) changes = {true, {}};
  if (rows.size() != rows_.size() || cols != cols_) {
    rows_ = std::move(rows);
    cols_ = std::move(cols);
    model_->Reset(spread_);
    row_px_.assign(rows_.size(), -1);
    col_px_.assign(cols_.size(), -1);
    char_px_.clear();
  } else if (rows != rows_) {
    // Scrolled with as many lines in sight: the table keeps its shape and
    // the line sizes that did not change; the lines still in sight move as
    // pixels when they can, and only what comes into sight is painted.
    const int moved = ScrolledPixels(rows, point_px);
    const int old_current = table_->currentIndex().row();
    rows_ = std::move(rows);
    char_px_.clear();  // other cells in sight tell the columns' fonts
    if (moved == 0) {
      model_->Refresh(grid::Spread::Changes{true, {}});
    } else {
      model_->Forget();
      QWidget* port = table_->viewport();
      int fixed_px = 0;
      for (std::size_t i = 0; i < FixedLines(rows_, s.rows_frozen); ++i) fixed_px += std::max(0, row_px_[i]);
      port->scroll(0, -moved, QRect(0, fixed_px, port->width(), port->height() - fixed_px));
      model_->Refresh(changes);
      // The active cell's frame moved with the pixels: the line it moved to
      // and the line the table takes for the active one repaint.
      const int lines = moved / std::max(1, row_px_.back());
      if (old_current >= 0) {
        model_->RepaintRow(old_current - lines);
        model_->RepaintRow(old_current);
      }
    }
  } else {
    model_->Refresh(changes);
  }
  // Sizes: rows in points, columns in character widths of their cells' font.
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const int px = static_cast<int>(std::lround(s.RowHeight(rows_[i]) * point_px));
    if (px == row_px_[i]) continue;
    // A row hidden or shown again counts no more (or again) for a column's font.
    if ((px == 0) != (row_px_[i] == 0)) char_px_.clear();
    row_px_[i] = px;
    table_->setRowHidden(static_cast<int>(i), px == 0);
    if (px > 0) table_->setRowHeight(static_cast<int>(i), px);
  }
  MeasureColumns(changes);
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    const int px = ColumnPixels(s.ColWidth(cols_[i]), char_px_[i], table_);
    if (px == col_px_[i]) continue;
    col_px_[i] = px;
    table_->setColumnHidden(static_cast<int>(i), px == 0);
    if (px > 0) table_->setColumnWidth(static_cast<int>(i), px);
  }
  // The table itself never scrolls: the lines shown are the model's.
  table_->verticalScrollBar()->setValue(0);
  table_->horizontalScrollBar()->setValue(0);
  // What is in view, for the model's paging.
  const int fixed_rows = 1 + std::clamp(s.rows_frozen, 0, s.max_rows());
  const int fixed_cols = 1 + std::clamp(s.cols_frozen, 0, s.max_cols());
  int h = table_->viewport()->height(), page_rows = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    h -= std::max(0, row_px_[i]);
    if (h < 0) break;
    if (static_cast<int>(i) >= fixed_rows && row_px_[i] > 0) ++page_rows;
  }
  int w = table_->viewport()->width(), page_cols = 0;
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    w -= std::max(0, col_px_[i]);
    if (w < 0) break;
    if (static_cast<int>(i) >= fixed_cols && col_px_[i] > 0) ++page_cols;
  }
  if (isVisible()) {
    s.page_rows = std::max(1, page_rows);
    s.page_cols = std::max(1, page_cols);
  }
  const QSignalBlocker vb(vbar_), hb(hbar_);
  const int first_row = fixed_rows, first_col = fixed_cols;
  // Dragged to its end, the bar shows the last rows filling the view, as
  // the wheel does; the rows now in sight may be of other heights.
  vbar_->setRange(first_row, std::max(first_row, LastTopRow()));
  vbar_->setPageStep(std::max(1, s.page_rows));
  vbar_->setValue(s.top_row());
  hbar_->setRange(first_col, std::max(first_col, s.max_cols() - s.page_cols + 1));
  hbar_->setPageStep(std::max(1, s.page_cols));
  hbar_->setValue(s.left_col());
  // The active cell.
  const int vr = ViewRow(s.active_row()), vc = ViewCol(s.active_col());
  const QModelIndex current = vr >= 0 && vc >= 0 ? model_->index(vr, vc) : QModelIndex();
  if (table_->currentIndex() != current) {
    table_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  }
  SyncEditing();
  QPalette p = table_->palette();
  const QColor back = ResolveColor(s.back_color, QApplication::palette());
  if (p.color(QPalette::Base) != back) {
    p.setColor(QPalette::Base, back);
    table_->setPalette(p);
  }
}

void SpreadView::MeasureColumns(const grid::Spread::Changes& changes) {
  const grid::Spread& s = *spread_;
  // The cells in sight (the headers, the frozen lines and a page of the
  // others) tell a column's font.
  if (char_px_.size() != cols_.size() || changes.all) {
    char_px_.clear();
    for (int col : cols_) char_px_.push_back(CharacterPixels(s, col, rows_));
    return;
  }
  // Only a column with a changed cell in sight may draw in another font now.
  std::vector<bool> stale(cols_.size(), false);
  auto within = [](int line, int a, int b) { return a < 0 || b < 0 || (line >= std::min(a, b) && line <= std::max(a, b)); };
  for (const grid::Range& range : changes.ranges) {
    if (std::none_of(rows_.begin(), rows_.end(), [&](int r) { return within(r, range.row1, range.row2); })) continue;
    for (std::size_t i = 0; i < cols_.size(); ++i) {
      if (within(cols_[i], range.col1, range.col2)) stale[i] = true;
    }
  }
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    if (stale[i]) char_px_[i] = CharacterPixels(s, cols_[i], rows_);
  }
}

std::size_t SpreadView::FixedLines(const std::vector<int>& lines, int frozen) {
  std::size_t n = 0;
  while (n < lines.size() && lines[n] <= std::max(0, frozen)) ++n;
  return n;
}

int SpreadView::ScrolledPixels(const std::vector<int>& rows, double point_px) const {
  // The lines that scroll, before and after, all of one height in sight.
  const grid::Spread& s = *spread_;
  const std::size_t fixed = FixedLines(rows, s.rows_frozen);
  if (fixed != FixedLines(rows_, s.rows_frozen) || fixed >= rows.size() || fixed >= rows_.size()) return 0;
  const int line_px = static_cast<int>(std::lround(s.RowHeight(rows[fixed]) * point_px));
  if (line_px <= 0) return 0;
  for (std::size_t i = fixed; i < rows.size(); ++i) {
    if (static_cast<int>(std::lround(s.RowHeight(rows[i]) * point_px)) != line_px) return 0;
    if (row_px_[i] != line_px) return 0;
  }
  // Consecutive lines both times (no hidden line in between), shifted by a
  // few lines.
  const int shift = rows[fixed] - rows_[fixed];
  if (shift == 0 || std::abs(shift) >= static_cast<int>(rows.size() - fixed)) return 0;
  if (rows.back() - rows[fixed] != static_cast<int>(rows.size() - fixed - 1)) return 0;
  if (rows_.back() - rows_[fixed] != static_cast<int>(rows_.size() - fixed - 1)) return 0;
  return shift * line_px;
}

int SpreadView::ViewRow(int row) const {
  auto it = std::find(rows_.begin(), rows_.end(), row);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

int SpreadView::ViewCol(int col) const {
  auto it = std::find(cols_.begin(), cols_.end(), col);
  return it == cols_.end() ? -1 : static_cast<int>(it - cols_.begin());
}

bool SpreadView::CellAt(QObject* watched, QPoint pos, int& col, int& row) const {
  auto* w = qobject_cast<QWidget*>(watched);
  if (spread_ == nullptr || w == nullptr) return false;
  const QModelIndex index = table_->indexAt(table_->viewport()->mapFrom(w, pos));
  if (!index.isValid()) return false;
  col = cols_[static_cast<std::size_t>(index.column())];
  row = rows_[static_cast<std::size_t>(index.row())];
  return true;
}

bool SpreadView::CellCentre(int col, int row, QPoint& at) const {
  const int vr = ViewRow(row), vc = ViewCol(col);
  if (vr < 0 || vc < 0) return false;
  at = table_->visualRect(table_->model()->index(vr, vc)).center();
  return true;
}

void SpreadView::ScrollRows(int top) {
  if (spread_ == nullptr) return;
  grid::Spread& s = *spread_;
  const int saved_col = s.col, saved_row = s.row;
  s.col = s.left_col();
  s.row = std::clamp(top, 1, std::max(1, s.max_rows()));
  s.SetAction(grid::kActionGotoTop);
  s.col = saved_col;
  s.row = saved_row;
}

void SpreadView::ScrollCols(int left) {
  if (spread_ == nullptr) return;
  grid::Spread& s = *spread_;
  const int saved_col = s.col, saved_row = s.row;
  s.row = s.top_row();
  // Scrolling to the right brings the column in at the right edge.
  const int target = std::clamp(left, 1, std::max(1, s.max_cols()));
  s.col = target < s.left_col() ? target : target + s.page_cols - 1;
  s.SetAction(grid::kActionGotoCell);
  s.col = saved_col;
  s.row = saved_row;
}

void SpreadView::Wheel(QPoint delta) {
  if (spread_ == nullptr) return;
  // From the first scrolling line in sight (the model's top row may lie
  // among the frozen ones), never above it.
  const grid::Spread& s = *spread_;
  const int first_row = std::max(1, s.rows_frozen + 1), first_col = std::max(1, s.cols_frozen + 1);
  const int steps = -delta.y() / 40;  // three lines a notch
  const int top = std::max(s.top_row(), first_row);
  if (steps < 0) ScrollRows(std::max(first_row, top + steps));
  if (steps > 0 && top < LastTopRow()) ScrollRows(std::min(top + steps, LastTopRow()));
  const int hsteps = -delta.x() / 120;
  if (hsteps != 0) ScrollCols(std::max(first_col, std::max(s.left_col(), first_col) + hsteps));
}

int SpreadView::LastTopRow() const {
  const grid::Spread& s = *spread_;
  const double point_px = logicalDpiY() / 72.0;
  const int first_row = std::max(1, s.rows_frozen + 1);
  // The view's height below the column headers and the frozen rows.
  int room = table_->viewport()->height();
  for (int r = 0; r < first_row && r <= s.max_rows(); ++r) {
    room -= static_cast<int>(std::lround(s.RowHeight(r) * point_px));
  }
  int top = std::max(first_row, s.max_rows());
  for (int r = s.max_rows(); r >= first_row; --r) {
    room -= static_cast<int>(std::lround(s.RowHeight(r) * point_px));
    if (room < 0) break;
    top = r;
  }
  return top;
}

void SpreadView::PopupCombo() {
  if (spread_ == nullptr) return;
  grid::Spread& s = *spread_;
  const grid::CellFormat f = s.FormatAt(s.active_col(), s.active_row());
  if (f.type != grid::CellType::kComboBox || f.combo_entries.empty()) return;
  const int vr = ViewRow(s.active_row()), vc = ViewCol(s.active_col());
  if (vr < 0 || vc < 0) return;
  // The list is as wide as its entries' texts need, at most the screen.
  QMenu menu(this);
  menu.setFont(FontFor(f.font_name, f.font_size, f.font_bold));
  for (std::size_t i = 0; i < f.combo_entries.size(); ++i) {
    menu.addAction(ShownComboEntry(Q(f.combo_entries[i])))->setData(static_cast<int>(i));
  }
  if (const QScreen* screen = table_->screen()) menu.setMaximumWidth(screen->availableGeometry().width());
  const QRect cell = table_->visualRect(model_->index(vr, vc));
  QAction* picked = menu.exec(table_->viewport()->mapToGlobal(cell.bottomLeft()));
  if (picked == nullptr) return;
  const int index = picked->data().toInt();
  grid::Spread* spread = spread_;
  window_.Dispatch([spread, index](ui::Shell&) { spread->PickComboEntry(index); });
}

void SpreadView::ShowTip(QObject* watched, QHelpEvent* event) {
  int col = 0, row = 0;
  if (!CellAt(watched, event->pos(), col, row)) {
    QToolTip::hideText();
    return;
  }
  std::optional<std::string> tip;
  grid::Spread* spread = spread_;
  window_.Dispatch([spread, col, row, &tip](ui::Shell&) { tip = spread->FetchTextTip(col, row); });
  if (tip && !tip->empty()) {
    QToolTip::showText(event->globalPos(), Q(*tip), table_);
  } else {
    QToolTip::hideText();
  }
}

}  // namespace qz::qt
