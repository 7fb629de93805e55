#include "qt/result_screen_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "kit/demo_catalog.h"
#include "kit/demo_data.h"
#include "platform/runtime/app.h"
#include "qt/qt_test_app.h"
#include "qt/spread_view.h"
#include "tools/frm_copy.h"

namespace qz::qt {

QtResultScreen::QtResultScreen() {
  TestApp();
  qt_ = std::make_unique<QtShell>();  // current over the fixture's scripted shell
  qt_->qt().on_message_box = [this](QMessageBox& box) {
    boxes_.push_back(box.text().toStdString());
    QTimer::singleShot(0, &box, [&box] { box.buttons().front()->click(); });
  };
}

QtResultScreen::~QtResultScreen() { qt_.reset(); }

bool QtResultScreen::StartOnFirstExaminee(bool copy) {
  ini_set_auto_copy_ = copy;
  BuildDemo();
  App().command = testkit::DemoExamineeNumbers().front();
  qt_->SetMainForm(&form());
  QTimer closer;
  closer.setInterval(20);
  QObject::connect(&closer, &QTimer::timeout, [this] {
    if (!frmCopy.loaded() || !frmCopy->visible()) return;
    copy_shown_ = true;
    if (QWidget* button = qt_->qt().WidgetOf(frmCopy->cmdClose)) Click(button);
  });
  closer.start();
  return qt_->Step([&] { form().Show(); });
}

void QtResultScreen::Click(QWidget* w) {
  const QPointF at(w->rect().center());
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

void QtResultScreen::Settle() {
  for (int i = 0; i < 5; ++i) ui::DoEvents();
}

void QtResultScreen::KeyToFocus(int key) {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) {
    ADD_FAILURE() << "no widget has the keyboard";
    return;
  }
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(focus, &press);
}

void QtResultScreen::ClickCell(int col, int row) {
  auto* view = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(form().sprResult));
  QPoint centre;
  ASSERT_TRUE(view->CellCentre(col, row, centre)) << "cell " << col << ", " << row << " in sight";
  QWidget* viewport = view->table()->viewport();
  const QPointF at(centre);
  QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
}

int QtResultScreen::RowOfItem(long long code) {
  return Fnc_ItemToRow(Fnc_FindItemRow(static_cast<std::int16_t>(ItemIndex(code))));
}

}  // namespace qz::qt
