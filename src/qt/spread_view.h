// SpreadView: the widget rendering a spreadsheet grid model (spread.h): a
// table of its cells (texts, cell types with check boxes and list cells,
// colours, fonts, alignment; hidden rows and columns of size 0), the
// header row and column, the frozen rows and columns that do not scroll,
// and scroll bars over the model's own top row and left column (the
// vertical one ends, as the wheel stops, with the last row at the bottom of
// a full view).
//
// The view shows the model and scrolls it; everything else (clicks, keys,
// typing) reaches the model through the form window and the shell. Sync()
// brings it in step: nothing happens while the model is unchanged, and a
// change repaints the cells in sight that the model reports changed (the
// table asks only for the cells in sight).
// Wheel, Scroll and a pick from a list cell's drop-down change the model
// and must run inside QtBackend::Dispatch.
#ifndef QZ_QT_SPREAD_VIEW_H_
#define QZ_QT_SPREAD_VIEW_H_

#include <QSize>
#include <QVariant>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/grid/spread.h"

class QHelpEvent;
class QScrollBar;
class QTableView;

namespace qz::qt {

class FormWindow;
class SpreadTableModel;
struct CellEdit;

class SpreadView : public QWidget {
  Q_OBJECT

 public:
  SpreadView(FormWindow& window, grid::Spread& spread, QWidget* parent);
  ~SpreadView() override;

  void Sync();
  // Cuts the view from the model (its form goes away).
  void Detach();
  // The model cell (col, row) under `pos` of `watched` (the table's
  // viewport or the view itself); false when there is none.
  bool CellAt(QObject* watched, QPoint pos, int& col, int& row) const;
  // The centre of the model cell (col, row) in the table's viewport, into
  // `at`; false when the cell is not among the lines in sight.
  bool CellCentre(int col, int row, QPoint& at) const;
  // Scrolls the model by a wheel's angle delta (inside Dispatch); scrolling
  // down stops once the last row is in sight.
  void Wheel(QPoint angle_delta);
  // Makes `top` the first scrolling row / `left` the first scrolling column
  // (inside Dispatch).
  void ScrollRows(int top);
  void ScrollCols(int left);
  // Drops down the list of the active cell when it is a list cell that
  // takes a pick; the pick goes to the model through Dispatch.
  void PopupCombo();
  // The text tip for the cell under the pointer (asks the model through
  // Dispatch).
  void ShowTip(QObject* watched, QHelpEvent* event);
  // The widget that takes Qt's focus for the grid.
  QWidget* FocusWidget() const;
  // The input method's composition in the active cell (empty: none); shown
  // there until it is committed, the active cell moves or the grid loses
  // the focus. A cell that takes no typing shows none.
  void SetPreedit(const QString& text, int cursor);
  const QString& preedit() const { return preedit_; }
  QTableView* table() const { return table_; }
  // The model row and column shown at view row / column `i`.
  const std::vector<int>& shown_rows() const { return rows_; }
  const std::vector<int>& shown_cols() const { return cols_; }

 private:
  int ViewRow(int row) const;
  int ViewCol(int col) const;
  // How many of `lines` (ascending) are the header and the frozen lines.
  static std::size_t FixedLines(const std::vector<int>& lines, int frozen);
  // The pixels the lines in sight moved up (down when negative) from rows_
  // to `rows`, when they can move as pixels: the same lines in sight, all
  // of one height, shifted by fewer than they are. 0 otherwise.
  int ScrolledPixels(const std::vector<int>& rows, double point_px) const;

  // What the last sync brought in step.
  struct Synced {
    std::uint64_t revision;
    int rows_frozen, cols_frozen;
    ui::Color back_color, fore_color;
    ui::Font font;
    QSize viewport;
    int height;
    bool visible;
    bool operator==(const Synced& o) const;
  };
  // Measures the character unit of the shown columns whose cells' fonts
  // may have changed by `changes` (all of them when none is known yet).
  void MeasureColumns(const grid::Spread::Changes& changes);

  // Input method and editing (spread_view_editing.cpp).
  CellEdit EditOf(const QModelIndex& index) const;
  QVariant AnswerInputMethod(Qt::InputMethodQuery query) const;
  void SyncEditing();
  // Repaints the cell (col, row) when it is in sight.
  void RepaintCell(int col, int row);

  // The first scrolling row that shows the last row at the bottom of the
  // view (the last row itself when it alone is taller than the view): the
  // end of the wheel's and the vertical scroll bar's travel.
  int LastTopRow() const;

  FormWindow& window_;
  grid::Spread* spread_;
  QTableView* table_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  SpreadTableModel* model_;
  std::vector<int> rows_, cols_;
  std::vector<int> row_px_, col_px_;
  std::optional<Synced> synced_;
  std::vector<double> char_px_;  // per shown column; empty when the fonts may have changed
  QString preedit_;
  int preedit_cursor_ = -1;
  int preedit_col_ = -1, preedit_row_ = -1;
  // The editor as last drawn: editing, cell, text length, caret, anchor.
  struct EditShown {
    bool editing = false;
    int col = -1, row = -1;
    std::size_t length = 0;
    int caret = 0, anchor = 0;
    bool operator==(const EditShown&) const = default;
  };
  EditShown edit_shown_;
};

}  // namespace qz::qt

#endif  // QZ_QT_SPREAD_VIEW_H_
