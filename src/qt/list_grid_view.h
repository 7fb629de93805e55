// ListGridView: the widget rendering a list grid model (list_grid.h): its
// cells' texts and colours, the fixed rows and columns in their colours,
// column widths and row heights in twips, column alignment, and the
// selection in the highlight colours as the grid's highlight setting asks.
//
// It shows the model only; clicks and keys reach the model through the
// form window and the shell. Sync() brings it in step; it does nothing
// while the model, its cursor and its colours are unchanged.
#ifndef QZ_QT_LIST_GRID_VIEW_H_
#define QZ_QT_LIST_GRID_VIEW_H_

#include <QTableView>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/grid/list_grid.h"

namespace qz::qt {

class FormWindow;
class ListGridTableModel;

class ListGridView : public QTableView {
  Q_OBJECT

 public:
  ListGridView(FormWindow& window, grid::ListGrid& grid, QWidget* parent);
  ~ListGridView() override;

  void Sync();
  void Detach();
  // The model cell (row, col) under `pos` of `watched`; false when none.
  bool CellAt(QObject* watched, QPoint pos, int& row, int& col) const;
  QWidget* FocusWidget() { return this; }

 private:
  FormWindow& window_;
  grid::ListGrid* grid_;
  ListGridTableModel* model_;
  int rows_ = -1, cols_ = -1;
  std::vector<int> row_px_, col_px_;
  int shown_row_ = -1;

  // What the last sync brought in step.
  struct Synced {
    std::uint64_t revision;
    int row, col, row_sel, col_sel;
    bool focus;
    int highlight;
    ui::Color back, fore, back_fixed, fore_fixed;
    bool visible;
    bool operator==(const Synced& o) const;
  };
  std::optional<Synced> synced_;
};

}  // namespace qz::qt

#endif  // QZ_QT_LIST_GRID_VIEW_H_
