#include "qt/input_method_adapter.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/controls.h"
#include "platform/ui/shell.h"
#include "qt/form_window.h"
#include "qt/spread_view.h"

namespace qz::qt {

namespace {

// The line edit showing a text control's text, or nullptr.
QLineEdit* LineEditOf(QWidget* widget) {
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line;
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
  return nullptr;
}

}  // namespace

Preedit PreeditOf(const QInputMethodEvent& event) {
  Preedit p;
  p.text = event.preeditString();
  for (const QInputMethodEvent::Attribute& a : event.attributes()) {
    if (a.type == QInputMethodEvent::Cursor) p.cursor = a.length > 0 ? a.start : -1;
  }
  return p;
}

Qt::InputMethodHints HintsOf(FieldIme ime) {
  if (!ime.composes) return Qt::ImhPreferLatin | Qt::ImhNoPredictiveText;
  return ime.kana ? Qt::ImhNone : Qt::ImhPreferLatin;
}

void AnswerFieldIme(QInputMethodQueryEvent& query, FieldIme ime) {
  if ((query.queries() & Qt::ImEnabled) != 0) query.setValue(Qt::ImEnabled, ime.composes);
  if ((query.queries() & Qt::ImHints) != 0) query.setValue(Qt::ImHints, static_cast<int>(HintsOf(ime)));
}

void DeliverInputMethod(FormWindow& window, ui::Control& control, QInputMethodEvent* event) {
  event->accept();
  const std::string commit = event->commitString().toStdString();
  if (!commit.empty()) window.Dispatch([commit](ui::Shell& shell) { shell.UserCommit(commit); });
  const Preedit preedit = PreeditOf(*event);
  switch (control.kind()) {
    case ui::ControlKind::kSpread:
      if (auto* view = qobject_cast<SpreadView*>(window.WidgetOf(control))) view->SetPreedit(preedit.text, preedit.cursor);
      break;
    case ui::ControlKind::kTextBox:
    case ui::ControlKind::kComboBox:
      if (QLineEdit* line = LineEditOf(window.WidgetOf(control))) {
        // The composition only: the committed text came back as the model's.
        // A locked box, which refuses the commit, shows none.
        const bool locked = static_cast<const ui::TextControl&>(control).locked;
        QInputMethodEvent composing(locked ? QString() : event->preeditString(),
                                    locked ? QList<QInputMethodEvent::Attribute>() : event->attributes());
        static_cast<QObject*>(line)->event(&composing);
      }
      break;
    default:
      break;
  }
  QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

QVariant InputMethodTable::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (answer) {
    QVariant v = answer(query);
    if (v.isValid()) return v;
  }
  return QTableView::inputMethodQuery(query);
}

}  // namespace qz::qt
