// The result screen of the demo on the Qt front end (offscreen): the real
// program started with an examinee on its command line, its load with the
// previous-result copy dialog, and what the operator then meets: where the
// keyboard goes and whether the grid's texts can be read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/column_toggles.h"
#include "kit/demo_data.h"
#include "platform/runtime/app.h"
#include "qt/form_window.h"
#include "qt/qt_backend.h"
#include "qt/qt_test_app.h"
#include "qt/spread_view.h"
#include "tools/frm_copy.h"

namespace qz::qt {
namespace {

class QtResultScreen : public test::ScreenTest {
 protected:
  QtResultScreen() {
    TestApp();
    qt_ = std::make_unique<QtShell>();  // current over the fixture's scripted shell
    qt_->qt().on_message_box = [this](QMessageBox& box) {
      boxes_.push_back(box.text().toStdString());
      QTimer::singleShot(0, &box, [&box] { box.buttons().front()->click(); });
    };
  }
  ~QtResultScreen() override { qt_.reset(); }

  // Starts the program on the demo's first examinee; the copy dialog that
  // ends the load is closed with its 閉じる button as the operator would.
  bool StartOnFirstExaminee() {
    ini_set_auto_copy_ = true;
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

  static void Click(QWidget* w) {
    const QPointF at(w->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }

  std::unique_ptr<QtShell> qt_;
  std::vector<std::string> boxes_;
  bool copy_shown_ = false;
};

TEST_F(QtResultScreen, AfterTheCopyDialogOfTheLoadTheFunctionKeysReachTheMainForm) {
  ASSERT_TRUE(StartOnFirstExaminee());
  ASSERT_TRUE(copy_shown_) << "the load ends with the previous-result copy";
  EXPECT_EQ(qt_->active_form(), &form());
  std::vector<int> keys;
  auto program_keys = form().on_key_down;
  form().on_key_down = [&](int& key, int& shift) {
    keys.push_back(key);
    if (key == ui::kKeyF12) key = 0;  // seen; the save itself is tested elsewhere
    if (key != 0) program_keys(key, shift);
  };
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->window(), qt_->qt().WindowOf(form())) << focus->window()->objectName().toStdString();
  ASSERT_TRUE(qt_->Step([&] {
    QKeyEvent f12(QEvent::KeyPress, Qt::Key_F12, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &f12);
  }));
  EXPECT_EQ(keys, std::vector<int>{ui::kKeyF12});
}

TEST_F(QtResultScreen, TheRangeAndUnitTextsOfTheFirstExamineeFitTheirColumns) {
  ASSERT_TRUE(StartOnFirstExaminee());
  auto* view = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(form().sprResult));
  ASSERT_NE(view, nullptr);
  QTableView* table = view->table();
  QAbstractItemModel* model = table->model();
  int checked = 0;
  for (int vc = 0; vc < model->columnCount(); ++vc) {
    const int col = view->shown_cols()[static_cast<std::size_t>(vc)];
    if (col != basPublic.StdCol && col != basPublic.UnitCol) continue;
    for (int vr = 0; vr < model->rowCount(); ++vr) {
      if (view->shown_rows()[static_cast<std::size_t>(vr)] < basPublic.DataRow) continue;
      const QModelIndex index = model->index(vr, vc);
      const QString text = index.data().toString().trimmed();
      if (text.isEmpty()) continue;
      const QFontMetrics metrics(index.data(Qt::FontRole).value<QFont>());
      EXPECT_LE(metrics.horizontalAdvance(text), table->columnWidth(vc) - 4)
          << text.toStdString() << " in column " << col;
      ++checked;
    }
  }
  EXPECT_GT(checked, 10);
}

TEST_F(QtResultScreen, TheColumnTitlesShowWholeWithEveryColumnToggledOn) {
  ASSERT_TRUE(StartOnFirstExaminee());
  ASSERT_TRUE(qt_->Step([] {
    Sub_ToggleJudgeColumn();
    Sub_ToggleUpdaterColumn();
    Sub_ToggleUpdateTimeColumn();
    Sub_ToggleJudgeFindingColumn();
    Sub_ToggleMeasureClassColumn();
    ui::DoEvents();
  }));
  auto* view = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(form().sprResult));
  QTableView* table = view->table();
  QAbstractItemModel* model = table->model();
  std::vector<std::string> titles;
  for (int vc = 0; vc < model->columnCount(); ++vc) {
    if (table->isColumnHidden(vc)) continue;
    const QModelIndex index = model->index(1, vc);  // the title row
    const QString text = index.data().toString().trimmed();
    if (text.isEmpty()) continue;
    titles.push_back(text.toStdString());
    const QFontMetrics metrics(index.data(Qt::FontRole).value<QFont>());
    EXPECT_LE(metrics.horizontalAdvance(text), table->columnWidth(vc) - 2) << text.toStdString();
  }
  EXPECT_NE(std::find(titles.begin(), titles.end(), "判定"), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), "所見ｺｰﾄﾞ"), titles.end());
}

TEST_F(QtResultScreen, TheMouseWheelScrollsTheResultGrid) {
  ASSERT_TRUE(StartOnFirstExaminee());
  grid::Spread& spr = form().sprResult;
  auto* view = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(spr));
  QWidget* viewport = view->table()->viewport();
  const int first = 1 + spr.rows_frozen;  // the first scrolling row in sight
  ASSERT_EQ(view->shown_rows()[static_cast<std::size_t>(first)], std::max(first, spr.top_row()));
  const int top = view->shown_rows()[static_cast<std::size_t>(first)];
  auto wheel = [&](int delta) {
    return qt_->Step([&] {
      const QPointF at(viewport->rect().center());
      QWheelEvent notch(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &notch);
    });
  };
  ASSERT_TRUE(wheel(-120));
  EXPECT_EQ(view->shown_rows()[static_cast<std::size_t>(first)], top + 3) << "three lines a notch, at once";
  ASSERT_TRUE(wheel(240));
  EXPECT_EQ(view->shown_rows()[static_cast<std::size_t>(first)], top) << "back up, no further than the top";

  // Down to the end: the wheel stops with the last row at the bottom, the
  // view full of rows.
  for (int notch = 0; notch < spr.max_rows(); ++notch) ASSERT_TRUE(wheel(-120));
  const int bottom_top = spr.top_row();
  EXPECT_EQ(spr.top_row() + spr.page_rows - 1, spr.max_rows());
  EXPECT_GT(spr.page_rows, 10);
  ASSERT_TRUE(wheel(-120));
  EXPECT_EQ(spr.top_row(), bottom_top) << "no further down";
  ASSERT_TRUE(wheel(120));
  EXPECT_EQ(spr.top_row(), bottom_top - 3);
}

}  // namespace
}  // namespace qz::qt
