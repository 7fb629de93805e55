#include "qt/spread_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/ui/shell.h"
#include "qt/cell_text_painter.h"
#include "qt/form_window.h"
#include "qt/input_method_adapter.h"
#include "qt/model_snapshot.h"
#include "qt/qt_backend.h"
#include "qt/qt_style.h"

namespace qz::qt {

namespace {

constexpr int kTypeRole = kCellTypeRole;

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// The cells in sight, asked for by the table as it paints. Formats are
// resolved once per sync.
class SpreadTableModel : public QAbstractTableModel {
 public:
  explicit SpreadTableModel(SpreadView* view) : QAbstractTableModel(view), view_(view) {}

  void Reset(grid::Spread* spread) {
    beginResetModel();
    spread_ = spread;
    formats_.clear();
    endResetModel();
    shown_.Forget();
  }
  // Repaints the cells in sight when anything they show changed.
  void Refresh() {
    formats_.clear();
    if (!shown_.Changed(*this, {Qt::DisplayRole, Qt::CheckStateRole, Qt::BackgroundRole, Qt::ForegroundRole,
                                Qt::FontRole, Qt::TextAlignmentRole, kTypeRole})) {
      return;
    }
    if (rowCount({}) > 0 && columnCount({}) > 0) {
      emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
    }
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
    const int c = view_->shown_cols()[static_cast<std::size_t>(index.column())];
    const int r = view_->shown_rows()[static_cast<std::size_t>(index.row())];
    const grid::CellFormat& f = FormatOf(c, r);
    const bool check = f.type == grid::CellType::kCheckBox && c > 0 && r > 0;
    switch (role) {
      case Qt::DisplayRole:
        return check ? QVariant() : QVariant(Q(spread_->TextAt(c, r)));
      case Qt::CheckStateRole:
        if (!check) return {};
        return spread_->TextAt(c, r) == "1" ? Qt::Checked : Qt::Unchecked;
      case Qt::BackgroundRole:
        return QBrush(ResolveColor(f.back_color, QApplication::palette()));
      case Qt::ForegroundRole:
        return QBrush(ResolveColor(f.fore_color, QApplication::palette()));
      case Qt::FontRole:
        return FontFor(f.font_name, f.font_size, f.font_bold);
      case Qt::TextAlignmentRole: {
        Qt::Alignment h = Qt::AlignLeft;
        if (f.align == grid::HAlign::kRight) h = Qt::AlignRight;
        if (f.align == grid::HAlign::kCenter || r == 0 || c == 0) h = Qt::AlignHCenter;
        return static_cast<int>(h | Qt::AlignVCenter);
      }
      case kTypeRole:  // headers show their text only
        return c > 0 && r > 0 ? static_cast<int>(f.type) : static_cast<int>(grid::CellType::kStaticText);
      default:
        return {};
    }
  }

 private:
  const grid::CellFormat& FormatOf(int c, int r) const {
    auto key = std::make_pair(c, r);
    auto it = formats_.find(key);
    if (it == formats_.end()) it = formats_.emplace(key, spread_->FormatAt(c, r)).first;
    return it->second;
  }

  SpreadView* view_;
  grid::Spread* spread_ = nullptr;
  mutable std::map<std::pair<int, int>, grid::CellFormat> formats_;
  ModelSnapshot shown_;
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
  // Fonts are measured again when the cells in sight changed.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { char_px_.clear(); });
  connect(model_, &QAbstractItemModel::dataChanged, this, [this] { char_px_.clear(); });
}

SpreadView::~SpreadView() = default;

void SpreadView::Detach() {
  spread_ = nullptr;
  rows_.clear();
  cols_.clear();
  model_->Reset(nullptr);
}

QWidget* SpreadView::FocusWidget() const { return table_; }

namespace {

// Lines shown along one axis: the header 0, the frozen lines, then the
// scrolling ones from `first`.
std::vector<int> ShownLines(int max, int frozen, int first) {
  std::vector<int> lines;
  if (max < 0) return lines;
  lines.push_back(0);
  frozen = std::clamp(frozen, 0, max);
  for (int i = 1; i <= frozen; ++i) lines.push_back(i);
  for (int i = std::max(first, frozen + 1); i <= max; ++i) lines.push_back(i);
  return lines;
}

}  // namespace

void SpreadView::Sync() {
  if (spread_ == nullptr) return;
  grid::Spread& s = *spread_;
  // A grid out of sight is brought up to date when it is shown again.
  if (!ModelShown(s)) return;
  std::vector<int> rows = ShownLines(s.max_rows(), s.rows_frozen, s.top_row());
  std::vector<int> cols = ShownLines(s.max_cols(), s.cols_frozen, s.left_col());
  if (rows != rows_ || cols != cols_) {
    rows_ = std::move(rows);
    cols_ = std::move(cols);
    model_->Reset(spread_);
    row_px_.assign(rows_.size(), -1);
    col_px_.assign(cols_.size(), -1);
  } else {
    model_->Refresh();
  }
  // Sizes: columns in character widths of their cells' font, rows in points.
  const double point_px = logicalDpiY() / 72.0;
  if (char_px_.size() != cols_.size()) {
    // The headers, the frozen lines and a page of the others are enough to
    // know a column's font.
    constexpr std::size_t kSampledLines = 64;
    const std::vector<int> sample(rows_.begin(), rows_.begin() + std::min(rows_.size(), kSampledLines));
    char_px_.clear();
    for (int col : cols_) char_px_.push_back(CharacterPixels(s, col, sample));
  }
  for (std::size_t i = 0; i < cols_.size(); ++i) {
    const int px = ColumnPixels(s.ColWidth(cols_[i]), char_px_[i], table_);
    if (px == col_px_[i]) continue;
    col_px_[i] = px;
    table_->setColumnHidden(static_cast<int>(i), px == 0);
    if (px > 0) table_->setColumnWidth(static_cast<int>(i), px);
  }
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const int px = static_cast<int>(std::lround(s.RowHeight(rows_[i]) * point_px));
    if (px == row_px_[i]) continue;
    row_px_[i] = px;
    table_->setRowHidden(static_cast<int>(i), px == 0);
    if (px > 0) table_->setRowHeight(static_cast<int>(i), px);
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
  vbar_->setRange(first_row, std::max(first_row, s.max_rows() - s.page_rows + 1));
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
  QMenu menu(this);
  menu.setFont(FontFor(f.font_name, f.font_size, f.font_bold));
  for (std::size_t i = 0; i < f.combo_entries.size(); ++i) {
    QString text = Q(f.combo_entries[i]);
    text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    menu.addAction(text)->setData(static_cast<int>(i));
  }
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
