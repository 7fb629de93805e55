#include "qt/list_grid_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <algorithm>

#include "qt/form_window.h"
#include "qt/model_sight.h"
#include "qt/qt_style.h"

namespace qz::qt {

class ListGridTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void Reset(grid::ListGrid* grid) {
    beginResetModel();
    grid_ = grid;
    endResetModel();
  }
  // Repaints the cells (a list is small).
  void Refresh() {
    if (rowCount({}) > 0 && columnCount({}) > 0) {
      emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
    }
  }
  int rowCount(const QModelIndex& parent) const override {
    return grid_ == nullptr || parent.isValid() ? 0 : grid_->rows();
  }
  int columnCount(const QModelIndex& parent) const override {
    return grid_ == nullptr || parent.isValid() ? 0 : grid_->cols();
  }
  Qt::ItemFlags flags(const QModelIndex&) const override { return Qt::ItemIsEnabled; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (grid_ == nullptr || !index.isValid()) return {};
    const grid::ListGrid& g = *grid_;
    const int r = index.row(), c = index.column();
    const bool fixed = r < g.fixed_rows() || c < g.fixed_cols();
    const bool show_selection = g.highlight == 1 || (g.highlight == 2 && g.has_focus());
    const bool selected = !fixed && show_selection && r >= std::min(g.row(), g.row_sel()) &&
                          r <= std::max(g.row(), g.row_sel()) && c >= std::min(g.col(), g.col_sel()) &&
                          c <= std::max(g.col(), g.col_sel());
    const QPalette& p = QApplication::palette();
    switch (role) {
      case Qt::DisplayRole:
        return QString::fromStdString(g.TextMatrix(r, c));
      case Qt::BackgroundRole:
        return QBrush(ResolveColor(selected ? ui::kSysHighlight : g.CellBackColorAt(r, c), p));
      case Qt::ForegroundRole:
        return QBrush(ResolveColor(selected ? ui::kSysHighlightText : g.CellForeColorAt(r, c), p));
      case Qt::TextAlignmentRole: {
        const int a = g.ColAlignment(c);
        const Qt::Alignment h = a == 1 ? Qt::AlignRight : (a == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        return static_cast<int>(h | Qt::AlignVCenter);
      }
      default:
        return {};
    }
  }

 private:
  grid::ListGrid* grid_ = nullptr;
};

ListGridView::ListGridView(FormWindow& window, grid::ListGrid& grid, QWidget* parent)
    : QTableView(parent), window_(window), grid_(&grid) {
  model_ = new ListGridTableModel(this);
  setModel(model_);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setMinimumSectionSize(0);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAutoScroll(false);
  setWordWrap(false);
  setTabKeyNavigation(false);
  model_->Reset(grid_);
}

ListGridView::~ListGridView() = default;

bool ListGridView::Synced::operator==(const Synced& o) const {
  return revision == o.revision && row == o.row && col == o.col && row_sel == o.row_sel && col_sel == o.col_sel &&
         focus == o.focus && highlight == o.highlight && back == o.back && fore == o.fore &&
         back_fixed == o.back_fixed && fore_fixed == o.fore_fixed && visible == o.visible;
}

void ListGridView::Detach() {
  grid_ = nullptr;
  synced_.reset();
  model_->Reset(nullptr);
}

void ListGridView::Sync() {
  if (grid_ == nullptr) return;
  const grid::ListGrid& g = *grid_;
  // A list out of sight is brought up to date when it is shown again.
  if (!ModelShown(g)) return;
  // An unchanged list costs nothing.
  const Synced now{g.revision(), g.row(),         g.col(),          g.row_sel(),      g.col_sel(),
                   g.has_focus(), g.highlight,     g.back_color,     g.fore_color,     g.back_color_fixed,
                   g.fore_color_fixed, isVisible()};
  if (synced_ && *synced_ == now) return;
  synced_ = now;
  if (g.rows() != rows_ || g.cols() != cols_) {
    rows_ = g.rows();
    cols_ = g.cols();
    model_->Reset(grid_);
    row_px_.assign(static_cast<std::size_t>(rows_), -1);
    col_px_.assign(static_cast<std::size_t>(cols_), -1);
  } else {
    model_->Refresh();
  }
  for (int c = 0; c < cols_; ++c) {
    const int px = window_.Px(g.ColWidth(c));
    if (px == col_px_[static_cast<std::size_t>(c)]) continue;
    col_px_[static_cast<std::size_t>(c)] = px;
    setColumnHidden(c, px <= 0);
    if (px > 0) setColumnWidth(c, px);
  }
  for (int r = 0; r < rows_; ++r) {
    const int px = window_.Px(g.RowHeight(r));
    if (px == row_px_[static_cast<std::size_t>(r)]) continue;
    row_px_[static_cast<std::size_t>(r)] = px;
    setRowHidden(r, px <= 0);
    if (px > 0) setRowHeight(r, px);
  }
  // The current row is brought into view when it moves.
  if (g.row() != shown_row_ && g.row() < rows_ && g.col() < cols_) {
    shown_row_ = g.row();
    scrollTo(model_->index(g.row_sel(), g.col_sel()));
  }
  QPalette p = palette();
  const QColor back = ResolveColor(g.back_color, QApplication::palette());
  if (p.color(QPalette::Base) != back) {
    p.setColor(QPalette::Base, back);
    setPalette(p);
  }
}

bool ListGridView::CellAt(QObject* watched, QPoint pos, int& row, int& col) const {
  auto* w = qobject_cast<QWidget*>(watched);
  if (grid_ == nullptr || w == nullptr) return false;
  const QModelIndex index = indexAt(viewport()->mapFrom(w, pos));
  if (!index.isValid()) return false;
  row = index.row();
  col = index.column();
  return true;
}

}  // namespace qz::qt
