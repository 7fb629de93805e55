// How the Qt front end takes the input method's events (fcitx5, IBus): the
// committed text is typed into the model like keyboard text, and the text
// still being composed (the preedit) is shown in place without reaching the
// model until it is committed.
//
// In a text box (a QLineEdit) the line edit shows the preedit underlined at
// its caret (a locked box shows none: it refuses the commit) and answers
// where the candidate window goes; the model's text stays the line's text.
// In a grid the cell being typed into shows it
// (SpreadView::SetPreedit) and the grid's table answers the caret's place
// (InputMethodTable). Whether the input method composes in a field, and
// whether it asks for Japanese there, is the program's (Fnc_FieldIme, for
// the grid's active cell as for a box): FormWindow answers Qt::ImEnabled
// and Qt::ImHints from it (AnswerFieldIme) and tells the input method
// whenever the answer may have changed (the focus or the active cell
// moved, the window's state changed).
//
// User-interface thread only.
#ifndef QZ_QT_INPUT_METHOD_ADAPTER_H_
#define QZ_QT_INPUT_METHOD_ADAPTER_H_

#include <QString>
#include <QTableView>
#include <QVariant>
#include <functional>

#include "data/imm_on_off.h"

class QInputMethodEvent;
class QInputMethodQueryEvent;

namespace qz::ui {
class Control;
}

namespace qz::qt {

class FormWindow;

// Delivers an input-method event that reached a widget of `control` in
// `window`: its commit string is typed into the model (the focused control
// of the active form), its preedit is shown where the control shows text.
// Always consumes it.
void DeliverInputMethod(FormWindow& window, ui::Control& control, QInputMethodEvent* event);

// The hints of a field: Japanese input leaves them free, a field that
// composes otherwise prefers Latin input, one that does not compose takes
// Latin input without prediction.
Qt::InputMethodHints HintsOf(FieldIme ime);

// Sets the answers to Qt::ImEnabled and Qt::ImHints in `query` (those it
// asks) from `ime`.
void AnswerFieldIme(QInputMethodQueryEvent& query, FieldIme ime);

// The preedit of an input-method event and the caret within it (-1: at its
// end, or hidden).
struct Preedit {
  QString text;
  int cursor = -1;
};
Preedit PreeditOf(const QInputMethodEvent& event);

// A table view whose input-method queries are answered by `answer` (the
// grid's caret); queries it does not answer (an invalid QVariant) go to
// QTableView.
class InputMethodTable : public QTableView {
 public:
  using QTableView::QTableView;
  std::function<QVariant(Qt::InputMethodQuery query)> answer;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

}  // namespace qz::qt

#endif  // QZ_QT_INPUT_METHOD_ADAPTER_H_
