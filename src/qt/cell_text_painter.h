// How the grid views draw and measure cell texts.
//
// CellTextPainter draws a cell of a grid view: its colours and one line of
// text without the trailing blanks of fixed-length fields, clipped at the
// cell's edge (never elided with "…"; a text that fits the cell but not its
// margins takes the margins), a list cell's drop-down arrow, the active cell's
// frame and, in the cell being edited, the editor's selection, the input
// method's preedit text (underlined, at the caret) and the caret.
//
// CharacterPixels gives the unit of a column whose width is counted in
// characters: a character of the font its cells are drawn in (the font of
// most of its cells among the given rows); ColumnPixels adds the cell's
// text margins, so a column of n characters shows n half-width characters
// of its own cells whole.
//
// Used by the grid views on the user-interface thread.
#ifndef QZ_QT_CELL_TEXT_PAINTER_H_
#define QZ_QT_CELL_TEXT_PAINTER_H_

#include <QString>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "platform/grid/spread.h"

namespace qz::qt {

// The item-data role with a spreadsheet cell's type (grid::CellType).
inline constexpr int kCellTypeRole = Qt::UserRole + 1;

// What the painter draws in the cell being edited.
struct CellEdit {
  bool editing = false;     // the cell is the one being edited
  bool replaces_text = false;  // composing into a cell not yet edited: its text goes
  QString preedit;          // the input method's text not yet committed
  int preedit_cursor = -1;  // caret within the preedit, -1 at its end
  int caret = -1;           // the editor's caret in the cell's text, -1 at its end
  int anchor = -1;          // the other end of the editor's selection, -1 none
};

// `text` without its trailing half-width and full-width blanks and line
// breaks.
QString WithoutTrailingBlanks(const QString& text);

// What a list cell's drop-down shows of its entry `entry`: the text before
// the blanks that pad it to its stored width (a run of two or more, with
// whatever the entry keeps past them), without line breaks or trailing
// blanks.
QString ShownComboEntry(const QString& entry);

// Pixels of one character of column `col` of `spread`: the half-width
// character of the font most of its cells in `rows` are drawn in (the
// grid's own font when there are none).
double CharacterPixels(const grid::Spread& spread, int col, const std::vector<int>& rows);

// Pixels of a column `chars` characters of `char_px` wide in a view drawn
// with `widget`'s style: the characters and the text margins of a cell; 0
// (hidden) for a width of 0 or less.
int ColumnPixels(double chars, double char_px, const QWidget* widget);

class CellTextPainter : public QStyledItemDelegate {
 public:
  // `edit_of` tells for a view index whether it is the cell being edited
  // and what the input method is composing there.
  CellTextPainter(std::function<CellEdit(const QModelIndex&)> edit_of, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Where the caret of the cell being edited is drawn, in the coordinates
  // of `option.rect`'s widget; an empty rectangle when `index` is not
  // being edited.
  QRect CaretRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  // Where a cell's line of text goes: its box, the left end of the text
  // (the editor's text and the composition together, aligned as the cell
  // asks) and the baseline.
  struct Place {
    QRect box;
    int x = 0;
    int baseline = 0;
  };
  Place PlaceText(const QStyleOptionViewItem& option, const CellEdit& edit) const;

  std::function<CellEdit(const QModelIndex&)> edit_of_;
};

}  // namespace qz::qt

#endif  // QZ_QT_CELL_TEXT_PAINTER_H_
