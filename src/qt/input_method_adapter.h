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
// (InputMethodTable). Which cells ask for Latin input is the model's
// input-method state; FormWindow turns it into the widgets' hints.
//
// User-interface thread only.
#ifndef QZ_QT_INPUT_METHOD_ADAPTER_H_
#define QZ_QT_INPUT_METHOD_ADAPTER_H_

#include <QString>
#include <QTableView>
#include <QVariant>
#include <functional>

class QInputMethodEvent;

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
