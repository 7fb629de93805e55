// The result screen of the demo on the Qt front end (offscreen): the real
// program started with an examinee on its command line, its load with the
// previous-result copy dialog, and what the operator then meets: where the
// keyboard goes and whether the grid's texts can be read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <QWheelEvent>
#include <memory>
#include <string>
#include <vector>

#include "data/imm_on_off.h"
#include "examinee/bas_public.h"
#include "examinee/screen_fixture.h"
#include "grid/column_toggles.h"
#include "grid/item_row_map.h"
#include "kit/demo_catalog.h"
#include "kit/demo_data.h"
#include "platform/runtime/app.h"
#include "platform/ui/msgbox.h"
#include "qt/form_window.h"
#include "qt/qt_backend.h"
#include "qt/result_screen_fixture.h"
#include "qt/spread_view.h"
#include "loading/group_forms.h"
#include "loading/load_state.h"
#include "tools/frm_copy.h"

namespace qz::qt {
namespace {

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

// A walk of moves through the demo grid: at every cell the input method is
// told, when it asks the widget with the keyboard, what the program decided
// for that cell: whether it composes and which input it asks for. The
// second column of the table is what the cell's kind means.
TEST_F(QtResultScreen, TheInputMethodFollowsTheCellTheCursorIsIn) {
  ASSERT_TRUE(StartOnFirstExaminee());
  // kLatin: it composes (the operator may switch to Japanese there) and
  // prefers Latin input, as a judgement cell with the input method opened
  // for alphanumeric input does.
  enum Expect { kNoComposition, kJapanese, kLatin, kNotTheGrid };
  struct Move {
    const char* name;
    std::function<void()> act;
    long long item;  // the item the cursor is then on (0: out of the grid)
    Expect expect;
  };
  const int result = basPublic.ResultCol;
  const long long body_judgement = testkit::demo::kGroupItemBase + 1;
  const std::vector<Move> walk = {
      {"click 腹囲", [&] { ClickCell(result, RowOfItem(1004)); }, 1004, kNoComposition},
      {"Down to a judgement", [] { KeyToFocus(Qt::Key_Down); }, body_judgement, kLatin},
      {"Down to a number after a judgement", [] { KeyToFocus(Qt::Key_Down); }, 1006, kNoComposition},
      {"Down", [] { KeyToFocus(Qt::Key_Down); }, 1007, kNoComposition},
      {"Down to a findings list", [] { KeyToFocus(Qt::Key_Down); }, 1008, kJapanese},
      {"Down, findings again", [] { KeyToFocus(Qt::Key_Down); }, 1009, kJapanese},
      {"and again", [] { KeyToFocus(Qt::Key_Down); }, 1010, kJapanese},
      {"Up", [] { KeyToFocus(Qt::Key_Up); }, 1009, kJapanese},
      {"click 身長", [&] { ClickCell(result, RowOfItem(1001)); }, 1001, kNoComposition},
      {"Enter", [] { KeyToFocus(Qt::Key_Return); }, 1002, kNoComposition},
      {"click the hearing list", [&] { ClickCell(result, RowOfItem(1011)); }, 1011, kJapanese},
      {"click the judgement", [&] { ClickCell(result, RowOfItem(body_judgement)); }, body_judgement, kLatin},
      {"click 身長 again", [&] { ClickCell(result, RowOfItem(1001)); }, 1001, kNoComposition},
      {"Tab out of the grid", [] { KeyToFocus(Qt::Key_Tab); }, 0, kNotTheGrid},
  };
  grid::Spread& spr = form().sprResult;
  for (const Move& m : walk) {
    ASSERT_TRUE(qt_->Step(m.act)) << m.name;
    QObject* focus = QGuiApplication::focusObject();
    ASSERT_NE(focus, nullptr) << m.name;
    const ui::Control* control = form().active_control();
    ASSERT_NE(control, nullptr) << m.name;
    QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
    QApplication::sendEvent(focus, &query);
    const FieldIme decided = Fnc_FieldIme(*control);
    const bool composes = query.value(Qt::ImEnabled).toBool();
    const auto hints = Qt::InputMethodHints(query.value(Qt::ImHints).toInt());
    EXPECT_EQ(composes, decided.composes) << m.name;
    EXPECT_EQ(hints.testFlag(Qt::ImhPreferLatin), !decided.kana) << m.name;
    if (m.expect == kNotTheGrid) {
      EXPECT_NE(control, &spr) << m.name;
      continue;
    }
    ASSERT_EQ(control, &spr) << m.name;
    EXPECT_EQ(spr.active_col(), result) << m.name;
    EXPECT_EQ(spr.active_row(), RowOfItem(m.item)) << m.name;
    EXPECT_EQ(composes, m.expect != kNoComposition) << m.name;
    if (m.expect == kJapanese) EXPECT_EQ(hints, Qt::ImhNone) << m.name;
    if (m.expect == kLatin) EXPECT_EQ(hints, Qt::ImhPreferLatin) << m.name;
    auto* table = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(spr))->table();
    EXPECT_EQ(table->testAttribute(Qt::WA_InputMethodEnabled), composes) << m.name << ": the widget carries it too";
  }
}

TEST_F(QtResultScreen, AtStartTheSearchScreenHasTheKeyboardAndDownEnterChoose) {
  BuildDemo();
  qt_->SetMainForm(&form());
  ASSERT_TRUE(qt_->Step([&] { form().Show(); }));
  ASSERT_TRUE(qt_->Step(Settle));
  ASSERT_TRUE(SearchShown());
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  const ui::Form* search = qt_->active_form();
  ASSERT_NE(search, nullptr);
  EXPECT_NE(search, &form()) << "the search screen is the active form";
  EXPECT_EQ(focus->window(), qt_->qt().WindowOf(*search)) << focus->window()->objectName().toStdString();
  EXPECT_EQ(QApplication::activeWindow(), qt_->qt().WindowOf(*search));
  ASSERT_TRUE(qt_->Step([] {
    KeyToFocus(Qt::Key_Down);
    KeyToFocus(Qt::Key_Return);
  }));
  EXPECT_FALSE(basPublic.ExamineeNo.empty()) << "an examinee was chosen and loaded";
  EXPECT_TRUE(form().sprResult.visible);
}

TEST_F(QtResultScreen, AfterALoadTheGroupSelectionIsMinimisedAndTheKeyboardIsInTheGrid) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ASSERT_TRUE(qt_->Step(Settle));
  EXPECT_FALSE(copy_shown_);
  ASSERT_TRUE(frmGrpSel.loaded());
  FormWindow* selection = qt_->qt().WindowOf(*frmGrpSel);
  FormWindow* main_window = qt_->qt().WindowOf(form());
  if (selection != nullptr && selection->isVisible()) {
    EXPECT_TRUE(selection->isMinimized()) << "入力グループ選択 is minimised";
  }
  EXPECT_EQ(QApplication::activeWindow(), main_window);
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->window(), main_window) << focus->window()->objectName().toStdString();
  EXPECT_EQ(QGuiApplication::focusObject(), focus) << "the input method's context is the main window's";
}

// A message box the program raises right after a load, before the operator
// has touched anything, keeps the keyboard when the window system moves
// the main window under it (the operator drags it aside): the main window
// does not ask for the keyboard back from the box.
TEST_F(QtResultScreen, AMessageBoxKeepsTheKeyboardWhenTheMainWindowIsMovedUnderIt) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  FormWindow* main_window = qt_->qt().WindowOf(form());
  ASSERT_NE(main_window, nullptr);
  bool box_took = false;
  bool box_kept = false;
  // Only Qt's events run while the box stands: the program waits in it.
  const auto qt_events = [] {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  };
  qt_->qt().on_message_box = [&](QMessageBox& box) {
    QTimer::singleShot(0, &box, [&] {
      qt_events();
      box_took = QGuiApplication::focusWindow() == box.windowHandle();
      main_window->move(main_window->pos() + QPoint(20, 10));
      qt_events();
      box_kept = QGuiApplication::focusWindow() == box.windowHandle();
      box.buttons().front()->click();
    });
  };
  ASSERT_TRUE(qt_->Step([] { ui::MsgBox("確認", ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力"); }));
  EXPECT_TRUE(box_took) << "the box opens with the keyboard";
  EXPECT_TRUE(box_kept) << "the box still has it";
}

}  // namespace
}  // namespace qz::qt
