// The cell being edited in a SpreadView: the input method's composition
// shown in it, the caret, and the caret's place for the candidate window.
#include <QGuiApplication>
#include <QInputMethod>
#include <QTableView>

#include "platform/ui/text_edit.h"
#include "qt/cell_text_painter.h"
#include "qt/spread_view.h"

namespace qz::qt {

void SpreadView::SetPreedit(const QString& text, int cursor) {
  if (spread_ == nullptr) return;
  // A cell that takes no typing (locked, a check box) shows no composition:
  // its commit would be refused.
  const bool takes = spread_->CellTakesInput(spread_->active_col(), spread_->active_row());
  if (preedit_.isEmpty() && !takes) return;
  if (!preedit_.isEmpty()) RepaintCell(preedit_col_, preedit_row_);
  preedit_ = takes ? text : QString();
  preedit_cursor_ = cursor;
  preedit_col_ = spread_->active_col();
  preedit_row_ = spread_->active_row();
  RepaintCell(preedit_col_, preedit_row_);
}

void SpreadView::RepaintCell(int col, int row) {
  const int vr = ViewRow(row), vc = ViewCol(col);
  if (vr < 0 || vc < 0) return;
  table_->viewport()->update(table_->visualRect(table_->model()->index(vr, vc)));
}

CellEdit SpreadView::EditOf(const QModelIndex& index) const {
  CellEdit edit;
  if (spread_ == nullptr || !index.isValid()) return edit;
  const int c = cols_[static_cast<std::size_t>(index.column())];
  const int r = rows_[static_cast<std::size_t>(index.row())];
  if (c != spread_->active_col() || r != spread_->active_row()) return edit;
  const bool composing = !preedit_.isEmpty() && c == preedit_col_ && r == preedit_row_;
  edit.editing = spread_->edit_mode() || composing;
  if (spread_->edit_mode()) {
    // Characters of the editor's text as the view's text counts them.
    const std::string& text = spread_->edit_text();
    auto units = [&text](int chars) {
      return static_cast<int>(QString::fromStdString(text.substr(0, ui::ByteOffset(text, chars))).size());
    };
    edit.caret = units(spread_->edit_caret());
    if (spread_->edit_anchor() != spread_->edit_caret()) edit.anchor = units(spread_->edit_anchor());
  }
  if (composing) {
    edit.preedit = preedit_;
    edit.preedit_cursor = preedit_cursor_;
    // Typing into a cell that is not being edited replaces its text.
    edit.replaces_text = !spread_->edit_mode();
  }
  return edit;
}

QVariant SpreadView::AnswerInputMethod(Qt::InputMethodQuery query) const {
  if (query != Qt::ImCursorRectangle || spread_ == nullptr) return {};
  const int vr = ViewRow(spread_->active_row()), vc = ViewCol(spread_->active_col());
  if (vr < 0 || vc < 0) return {};
  const QModelIndex index = table_->model()->index(vr, vc);
  QStyleOptionViewItem option;
  option.initFrom(table_->viewport());
  option.rect = table_->visualRect(index);
  option.widget = table_;
  QRect at = static_cast<const CellTextPainter*>(table_->itemDelegate())->CaretRect(option, index);
  if (at.isEmpty()) at = option.rect;
  return QRect(table_->viewport()->mapTo(table_, at.topLeft()), at.size());
}

void SpreadView::SyncEditing() {
  grid::Spread& s = *spread_;
  const int c = s.active_col(), r = s.active_row();
  // A composition left behind (the active cell moved, the grid lost the
  // focus) is no longer shown: it was never typed.
  if (!preedit_.isEmpty() && (c != preedit_col_ || r != preedit_row_ || !s.has_focus())) {
    preedit_.clear();
    RepaintCell(preedit_col_, preedit_row_);
  }
  EditShown now;
  if (s.edit_mode()) now = {true, c, r, s.edit_text().size(), s.edit_caret(), s.edit_anchor()};
  if (now == edit_shown_) return;
  // The caret appears, moves or goes (the grid reports the cells it changed
  // for repaint; these are repainted in any case); the candidate window
  // follows it.
  RepaintCell(edit_shown_.col, edit_shown_.row);
  RepaintCell(now.col, now.row);
  edit_shown_ = now;
  if (table_->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

}  // namespace qz::qt
