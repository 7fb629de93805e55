// The Qt front end on Qt's offscreen platform: forms rendered from their
// models, user events reaching the model's handlers through the shell, and
// message boxes answered through the backend.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QCheckBox>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "examinee/frm_guide.h"
#include "kit/sample_grid_form.h"
#include "platform/ui/controls.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/work_in_progress.h"
#include "qt/form_window.h"
#include "qt/list_grid_view.h"
#include "qt/qt_backend.h"
#include "qt/qt_test_app.h"
#include "qt/spread_view.h"

namespace qz::qt {
namespace {

class QtFrontEnd : public ::testing::Test {
 protected:
  QtFrontEnd() { TestApp(); }
  ~QtFrontEnd() override { frmGuide.Reset(); }

  template <class T>
  T* Widget(const ui::Control& c) {
    return qobject_cast<T*>(shell->qt().WidgetOf(c));
  }
  static QColor Back(QWidget* w) { return w->palette().color(w->backgroundRole()); }
  // A left press and release at `at` of `w` (its centre by default).
  static void ClickOn(QWidget* w, QPoint at = {-1, -1}) {
    if (at.x() < 0) at = w->rect().center();
    const QPointF global = w->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
  }
  static void KeyTo(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
  }
  bool Step(const std::function<void()>& step) { return shell->Step(step); }

  std::unique_ptr<QtShell> shell = std::make_unique<QtShell>();
};

TEST_F(QtFrontEnd, TheProgressWindowRendersItsTextsColoursAndGauge) {
  basPublic = BasPublic{};
  basPublic.GuideInterval = 0;
  basPublic.CopyRight = "Copyright (C) 健診システム";
  ASSERT_TRUE(Step([] { frmGuide->Show(); }));
  FrmGuide& g = frmGuide.get();
  FormWindow* window = shell->qt().WindowOf(g);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint))
      << "no caption and no system menu: " << std::hex << window->windowFlags().toInt();
  EXPECT_EQ(Back(window), QColor(255, 255, 255));
  const int tpp = shell->qt().twips_per_pixel();
  EXPECT_EQ(window->width(), 6000 / tpp);

  auto* guide = Widget<QLabel>(g.lblGuide);
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(guide->text().toStdString(), "データ読み込み中です．．．");
  EXPECT_EQ(QFontInfo(guide->font()).family().toStdString(), "Noto Sans Mono CJK JP");
  EXPECT_TRUE(guide->font().bold());
  EXPECT_EQ(Widget<QLabel>(g.lblCopyRight)->text().toStdString(), "Copyright (C) 健診システム");
  EXPECT_EQ(Widget<QLabel>(g.lblVersion)->text().toStdString(), "Ver.1.0.0");
  EXPECT_TRUE(Widget<QLabel>(g.lblVersion)->alignment() & Qt::AlignRight);

  auto* gauge = Widget<QLabel>(g.lblGage);
  EXPECT_EQ(Back(gauge), QColor(0, 0, 255)) << "0xFF0000 is blue";
  EXPECT_EQ(gauge->width(), 0);
  // The program writes the model and yields; the window follows.
  ASSERT_TRUE(Step([&] {
    g.lblState.caption = "受診者情報を読み込んでいます";
    g.SetGauge(1, 2);
    ui::DoEvents();
  }));
  EXPECT_EQ(gauge->width(), (5280 / 2) / tpp);
  EXPECT_EQ(Widget<QLabel>(g.lblState)->text().toStdString(), "受診者情報を読み込んでいます");

  ASSERT_TRUE(Step([&] { g.Unload(); }));
  EXPECT_EQ(shell->qt().WindowOf(g), nullptr) << "an unloaded form's window goes";
}

TEST_F(QtFrontEnd, EveryWindowCarriesTheProgramsIcon) {
  ASSERT_TRUE(Step([] { frmGuide->Show(); }));
  FormWindow* window = shell->qt().WindowOf(frmGuide.get());
  ASSERT_NE(window, nullptr);
  const QImage icon = window->windowIcon().pixmap(64, 64).toImage();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.size(), QSize(64, 64));
  EXPECT_EQ(QColor(icon.pixel(32, 6)), QColor(0x1f, 0x5f, 0xa8)) << "the blue sheet of qz140.png";
  ASSERT_TRUE(Step([] { frmGuide->Unload(); }));
}

TEST_F(QtFrontEnd, TheGridFormRendersCellsColoursFrozenRowsAndHiddenColumns) {
  testkit::SampleGridForm form;
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* view = Widget<SpreadView>(form.sprResult);
  ASSERT_NE(view, nullptr);
  QTableView* table = view->table();
  auto text = [&](int vr, int vc) { return table->model()->index(vr, vc).data().toString().toStdString(); };
  auto back = [&](int vr, int vc) {
    return table->model()->index(vr, vc).data(Qt::BackgroundRole).value<QBrush>().color();
  };
  EXPECT_EQ(text(0, 1), "項目");
  EXPECT_EQ(text(1, 1), "身長");
  EXPECT_EQ(text(2, 3), "陽性");
  EXPECT_TRUE(table->isColumnHidden(2)) << "width 0 hides the column";
  EXPECT_FALSE(table->isColumnHidden(3));
  EXPECT_EQ(back(2, 1), QColor(0xFF, 0xC0, 0xC0)) << "0xC0C0FF is pale red";
  EXPECT_EQ(table->model()->index(2, 1).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0xC0, 0, 0));
  EXPECT_EQ(back(0, 1), QApplication::palette().color(QPalette::Button)) << "headers in the button face";
  EXPECT_EQ(table->model()->index(1, 4).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_FALSE(table->model()->index(1, 4).data().isValid()) << "a check box cell shows no text";

  // Scrolled down, the frozen row 1 stays under the header.
  ASSERT_TRUE(Step([&] {
    form.sprResult.row = 4;
    form.sprResult.col = 1;
    form.sprResult.SetAction(grid::kActionGotoTop);
    ui::DoEvents();
  }));
  EXPECT_EQ(view->shown_rows(), (std::vector<int>{0, 1, 4, 5, 6}));
  EXPECT_EQ(text(2, 1), "尿糖");

  auto* list = Widget<ListGridView>(form.grdList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->model()->index(2, 1).data().toString().toStdString(), "要経過観察");
  EXPECT_EQ(list->model()->index(2, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xFF, 0xC0, 0xC0));
  EXPECT_EQ(list->model()->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
            QApplication::palette().color(QPalette::Button))
      << "the fixed column in the button face";
  ASSERT_TRUE(Step([&] {
    form.grdList.SetRow(1);
    form.grdList.SetCol(2);
    ui::DoEvents();
  }));
  EXPECT_EQ(list->model()->index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
            QApplication::palette().color(QPalette::Highlight))
      << "the selection (current cell) in the highlight colour";
  auto* tabs = Widget<QTabBar>(form.tabKind);
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(1).toStdString(), "所見");
  EXPECT_EQ(QFontInfo(table->model()->index(1, 1).data(Qt::FontRole).value<QFont>()).family().toStdString(),
            "Noto Sans Mono CJK JP");
}

// The event loop syncs the views on every wake: a grid whose cells did not
// change must not be repainted, or each repaint wakes the loop again and an
// idle screen burns the processor. A grid out of sight follows its model
// once it is shown again.
TEST_F(QtFrontEnd, AGridRepaintsOnlyWhatChangedAndAHiddenOneCatchesUpWhenShown) {
  testkit::SampleGridForm form;
  ASSERT_TRUE(Step([&] { form.Show(); }));
  QAbstractItemModel* model = Widget<SpreadView>(form.sprResult)->table()->model();
  int repaints = 0;
  QObject::connect(model, &QAbstractItemModel::dataChanged, [&] { ++repaints; });
  auto text = [&](int vr, int vc) { return model->index(vr, vc).data().toString().toStdString(); };

  ASSERT_TRUE(Step([&] {
    for (int i = 0; i < 3; ++i) ui::DoEvents();  // the window settles on the screen
  }));
  repaints = 0;
  ASSERT_TRUE(Step([&] {
    for (int i = 0; i < 5; ++i) ui::DoEvents();
  }));
  EXPECT_EQ(repaints, 0) << "nothing changed";

  ASSERT_TRUE(Step([&] {
    form.sprResult.SetText(1, 1, "座高");
    ui::DoEvents();
    ui::DoEvents();
  }));
  EXPECT_GE(repaints, 1);
  EXPECT_EQ(text(1, 1), "座高");
  const int changed = repaints;

  ASSERT_TRUE(Step([&] {
    form.sprResult.visible = false;
    form.sprResult.SetText(1, 1, "胸囲");
    ui::DoEvents();
  }));
  EXPECT_EQ(repaints, changed) << "out of sight";
  ASSERT_TRUE(Step([&] {
    form.sprResult.visible = true;
    ui::DoEvents();
  }));
  EXPECT_EQ(text(1, 1), "胸囲");
  const int caught_up = repaints;
  EXPECT_GT(caught_up, changed);
  ASSERT_TRUE(Step([&] {
    for (int i = 0; i < 5; ++i) ui::DoEvents();
  }));
  EXPECT_EQ(repaints, caught_up) << "idle again";
}

TEST_F(QtFrontEnd, ClicksKeysAndTypingReachTheModelThroughTheShell) {
  testkit::SampleGridForm form;
  std::vector<std::string> log;
  form.sprResult.on_key_down = [&](int& key, int) { log.push_back("key " + std::to_string(key)); };
  form.sprResult.on_leave_cell = [&](int, int, int nc, int nr, bool&) {
    log.push_back("leave>" + std::to_string(nc) + "," + std::to_string(nr));
  };
  form.cmdOk.on_click = [&] { log.push_back("ok"); };
  form.sprResult.SetComboEditable(grid::Range::Cell(3, 3), true);
  ASSERT_TRUE(Step([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &form.sprResult);

  auto* view = Widget<SpreadView>(form.sprResult);
  QTableView* table = view->table();
  // Click the result cell of row 3, type into it, press F10 and Enter.
  const QRect cell = table->visualRect(table->model()->index(3, 3));
  ASSERT_TRUE(Step([&] { ClickOn(table->viewport(), cell.center()); }));
  EXPECT_EQ(form.sprResult.active_row(), 3);
  EXPECT_EQ(form.sprResult.active_col(), 3);
  ASSERT_TRUE(Step([&] {
    KeyTo(table, Qt::Key_1, "1");
    KeyTo(table, Qt::Key_F10);
    KeyTo(table, Qt::Key_Return, "\r");
  }));
  EXPECT_EQ(form.sprResult.TextAt(3, 3), "1");
  EXPECT_EQ(log, (std::vector<std::string>{"leave>3,3", "key 49", "key 121", "key 13"}))
      << "F10 reaches the grid, not a menu";

  // A double click on a row: one click, then the double click.
  log.clear();
  form.sprResult.on_click = [&](int, int r) { log.push_back("click " + std::to_string(r)); };
  form.sprResult.on_dbl_click = [&](int, int r) { log.push_back("dblclick " + std::to_string(r)); };
  const QRect row4 = table->visualRect(table->model()->index(4, 1));
  ASSERT_TRUE(Step([&] {
    ClickOn(table->viewport(), row4.center());
    const QPointF at(row4.center());
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &dbl);
  }));
  EXPECT_EQ(log, (std::vector<std::string>{"leave>1,4", "click 4", "dblclick 4"}));

  log.clear();
  ASSERT_TRUE(Step([&] { ClickOn(Widget<QPushButton>(form.cmdOk)); }));
  EXPECT_EQ(log, (std::vector<std::string>{"leave>-1,-1", "ok"}));
  EXPECT_EQ(form.active_control(), &form.cmdOk);

  // Tab follows the model's tab order, not Qt's.
  ASSERT_TRUE(Step([&] { KeyTo(Widget<QPushButton>(form.cmdOk), Qt::Key_Tab, "\t"); }));
  EXPECT_EQ(form.active_control(), &form.sprResult);
  EXPECT_EQ(shell->qt().WindowOf(form)->focusWidget(), table);
}

// While the program works and yields, the windows still repaint but no
// click, key or double click of the user reaches the model; afterwards
// they do again.
TEST_F(QtFrontEnd, NoInputReachesTheModelWhileTheProgramWorks) {
  testkit::SampleGridForm form;
  std::vector<std::string> log;
  form.cmdOk.on_click = [&] { log.push_back("ok"); };
  form.sprResult.on_key_down = [&](int& key, int) { log.push_back("key " + std::to_string(key)); };
  form.sprResult.on_dbl_click = [&](int, int r) { log.push_back("dblclick " + std::to_string(r)); };
  ASSERT_TRUE(Step([&] { form.Show(); }));
  QTableView* table = Widget<SpreadView>(form.sprResult)->table();
  const QRect row4 = table->visualRect(table->model()->index(4, 1));
  auto user = [&] {
    ClickOn(Widget<QPushButton>(form.cmdOk));
    KeyTo(table, Qt::Key_F12);
    const QPointF at(row4.center());
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, table->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &dbl);
  };
  ASSERT_TRUE(Step([&] {
    ui::WorkInProgress busy;
    user();
    ui::DoEvents();
  }));
  EXPECT_TRUE(log.empty());
  ASSERT_TRUE(Step(user));
  EXPECT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "ok");
}

TEST_F(QtFrontEnd, TypingInputMethodTextAndClicksEditTheModelAndTheWidgetsFollow) {
  testkit::SampleGridForm form;
  auto& check = form.Add<ui::CheckBox>("chkDone");
  check.caption = "確定";
  check.width = 1200;
  check.height = 300;
  int check_clicks = 0;
  check.on_click = [&] { ++check_clicks; };
  std::vector<int> presses;
  form.txtMemo.on_key_press = [&](int& ascii) {
    presses.push_back(ascii);
    if (ascii == 'x') ascii = 0;  // the handler refuses it
  };
  ASSERT_TRUE(Step([&] { form.Show(); }));
  auto* edit = Widget<QLineEdit>(form.txtMemo);
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(Step([&] {
    ClickOn(edit);
    form.txtMemo.SetText("");
    KeyTo(edit, Qt::Key_A, "a");
    KeyTo(edit, Qt::Key_X, "x");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("異常"));
    QApplication::sendEvent(edit, &commit);
  }));
  EXPECT_EQ(form.txtMemo.text(), "a異常");
  EXPECT_EQ(edit->text().toStdString(), "a異常") << "the widget shows the model's text";
  EXPECT_EQ(presses, (std::vector<int>{'a', 'x', 0x7570, 0x5E38}));

  ASSERT_TRUE(Step([&] { ClickOn(Widget<QCheckBox>(check)); }));
  EXPECT_EQ(check.value(), 1);
  EXPECT_EQ(check_clicks, 1);
  EXPECT_EQ(Widget<QCheckBox>(check)->checkState(), Qt::Checked);

  // The input method's state becomes the widgets' hints.
  ASSERT_TRUE(Step([&] {
    form.ime.open = false;
    ui::DoEvents();
  }));
  EXPECT_TRUE(edit->inputMethodHints() & Qt::ImhPreferLatin);
  ASSERT_TRUE(Step([&] {
    form.ime.open = true;
    form.ime.conversion = 1 | 8;  // kana, full width
    ui::DoEvents();
  }));
  EXPECT_EQ(edit->inputMethodHints(), Qt::ImhNone);
  EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(QtFrontEnd, TheCloseBoxAndAltF4GoToQueryUnloadUnlessCloseWasRemoved) {
  testkit::SampleGridForm main_form;
  ui::Form dialog("frmDialog");
  dialog.caption = "確認";
  dialog.width = dialog.height = 3000;
  std::vector<int> modes;
  dialog.on_query_unload = [&](int& cancel, int mode) {
    modes.push_back(mode);
    cancel = modes.size() == 1 ? 1 : 0;
  };
  shell->SetMainForm(&main_form);
  ASSERT_TRUE(Step([&] {
    main_form.Show();
    dialog.Show();
  }));
  FormWindow* window = shell->qt().WindowOf(dialog);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Step([&] {
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
  }));
  EXPECT_TRUE(dialog.loaded()) << "the first QueryUnload cancels";
  ASSERT_TRUE(Step([&] { KeyTo(window, Qt::Key_F4, {}, Qt::AltModifier); }));
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(modes, (std::vector<int>{0, 0}));

  // Without the Close item the close box is refused.
  main_form.system_menu.clear();
  int queried = 0;
  main_form.on_query_unload = [&](int&, int) { ++queried; };
  ASSERT_TRUE(Step([&] {
    QCloseEvent close;
    QApplication::sendEvent(shell->qt().WindowOf(main_form), &close);
  }));
  EXPECT_EQ(queried, 0);
  EXPECT_TRUE(main_form.loaded());

  // Alt+F4 is a key of the form first: the main form maps it to a tool.
  std::vector<int> keys;
  main_form.key_preview = true;
  main_form.on_key_down = [&](int& key, int& shift) {
    keys.push_back(key * 10 + shift);
    key = 0;
  };
  ASSERT_TRUE(Step([&] { KeyTo(shell->qt().WindowOf(main_form), Qt::Key_F4, {}, Qt::AltModifier); }));
  EXPECT_EQ(keys, (std::vector<int>{ui::kKeyF4 * 10 + ui::kAltMask}));
  EXPECT_EQ(queried, 0);
  EXPECT_TRUE(main_form.loaded());
}

TEST_F(QtFrontEnd, MessageBoxesShowTheRequestAndReturnTheButtonChosen) {
  struct Case {
    ui::MsgButtons buttons;
    ui::MsgIcon icon;
    int default_button;
    QMessageBox::StandardButton press;  // NoButton: Esc
    ui::MsgResult expected;
    QMessageBox::Icon expected_icon;
    QMessageBox::StandardButton expected_default;
  };
  const Case cases[] = {
      {ui::MsgButtons::kYesNo, ui::MsgIcon::kQuestion, 1, QMessageBox::Yes, ui::MsgResult::kYes,
       QMessageBox::Question, QMessageBox::No},
      {ui::MsgButtons::kOkCancel, ui::MsgIcon::kExclamation, 0, QMessageBox::NoButton, ui::MsgResult::kCancel,
       QMessageBox::Warning, QMessageBox::Ok},
      {ui::MsgButtons::kYesNoCancel, ui::MsgIcon::kCritical, 2, QMessageBox::No, ui::MsgResult::kNo,
       QMessageBox::Critical, QMessageBox::Cancel},
      {ui::MsgButtons::kOk, ui::MsgIcon::kInformation, 0, QMessageBox::NoButton, ui::MsgResult::kOk,
       QMessageBox::Information, QMessageBox::Ok},
  };
  for (const Case& c : cases) {
    std::string title, text, yes_caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QAbstractButton* def = nullptr;
    QAbstractButton* expected_def = nullptr;
    shell->qt().on_message_box = [&](QMessageBox& box) {
      title = box.windowTitle().toStdString();
      text = box.text().toStdString();
      icon = box.icon();
      def = box.defaultButton();
      expected_def = box.button(c.expected_default);
      if (box.button(QMessageBox::Yes) != nullptr) yes_caption = box.button(QMessageBox::Yes)->text().toStdString();
      QTimer::singleShot(0, &box, [&box, press = c.press] {
        if (press == QMessageBox::NoButton) {
          QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
          QApplication::sendEvent(&box, &esc);
        } else {
          box.button(press)->click();
        }
      });
    };
    ui::MsgResult answer = ui::MsgResult::kOk;
    ASSERT_TRUE(Step([&] {
      answer = ui::MsgBox("登録しますか？\r\n（取消不可）", c.buttons, c.icon, "結果入力", c.default_button);
    }));
    EXPECT_EQ(answer, c.expected) << static_cast<int>(c.buttons);
    EXPECT_EQ(title, "結果入力");
    EXPECT_EQ(text, "登録しますか？\n（取消不可）");
    EXPECT_EQ(icon, c.expected_icon);
    EXPECT_EQ(def, expected_def);
    if (c.buttons == ui::MsgButtons::kYesNo) {
      EXPECT_EQ(yes_caption, "はい(&Y)");
    }
  }
}

TEST_F(QtFrontEnd, AModalFormWaitsInQtUntilItsTimerUnloadsIt) {
  ui::Form main_form("frmMain");
  ui::Form dialog("frmWait");
  dialog.width = dialog.height = 2000;
  auto& timer = dialog.Add<ui::Timer>("tmrWait");
  timer.interval = 30;
  int ticks = 0;
  timer.on_timer = [&] {
    if (++ticks == 2) dialog.Unload();
  };
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(Step([&] {
    main_form.Show();
    dialog.Show(true);
  }));
  EXPECT_EQ(ticks, 2);
  EXPECT_GE(clock.elapsed(), 55) << "the wait is real time, driven by the shell's clock";
  EXPECT_TRUE(main_form.enabled());
}

TEST_F(QtFrontEnd, TheEndOfTheProgramInAClickHandlerUnwindsOutOfQt) {
  ui::Form main_form("frmMain");
  main_form.width = main_form.height = 3000;
  auto& quit = main_form.Add<ui::CommandButton>("cmdEnd");
  quit.width = quit.height = 600;
  quit.on_click = [&] { main_form.Unload(); };
  shell->SetMainForm(&main_form);
  ASSERT_TRUE(Step([&] { main_form.Show(); }));
  QWidget* button = Widget<QPushButton>(quit);
  ASSERT_NE(button, nullptr);
  const QPointF at(button->rect().center());
  QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, button->mapToGlobal(at),
                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  bool after_yield = false;
  EXPECT_FALSE(Step([&] {
    ui::DoEvents();
    after_yield = true;
  }));
  EXPECT_FALSE(after_yield) << "no program code runs after the end";
  EXPECT_TRUE(shell->ended());
}

TEST_F(QtFrontEnd, ScreenMetricsComeInTwipsOfThePrimaryScreen) {
  QScreen* screen = QGuiApplication::primaryScreen();
  const int tpp = shell->qt().twips_per_pixel();
  EXPECT_EQ(tpp, static_cast<int>(std::lround(1440.0 / screen->logicalDotsPerInch())));
  EXPECT_EQ(shell->ScreenTwips().width(), screen->geometry().width() * tpp);
  bool ok = false;
  EXPECT_GT(shell->WorkAreaTwips(&ok).height(), 0);
  EXPECT_TRUE(ok);
}

}  // namespace
}  // namespace qz::qt
