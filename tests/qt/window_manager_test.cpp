// What the window manager makes of the program's windows, read back from
// the X server (xprop) as the window manager left them: run by
// tests/qt/window_manager_test.sh on a virtual X display with openbox;
// skipped on any other platform.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QInputMethodQueryEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include "data/imm_on_off.h"
#include "examinee/bas_public.h"
#include "judgement/frm_syo_comb.h"
#include "loading/group_forms.h"
#include "platform/grid/list_grid.h"
#include "qt/form_window.h"
#include "platform/ui/msgbox.h"
#include "qt/result_screen_fixture.h"
#include "tools/frm_dmy_data_set.h"
#include "platform/runtime/app.h"
#include "kit/demo_data.h"
#include "tools/frm_copy.h"

namespace qz::qt {
namespace {

// What xprop prints of property `name` of X window `id` (0: the root
// window); "" when it cannot be read within five seconds.
std::string XProp(WId id, const char* name) {
  QProcess xprop;
  QStringList args = id == 0 ? QStringList{"-root"} : QStringList{"-id", QString::number(id)};
  args << QString::fromLatin1(name);
  xprop.start(QStringLiteral("xprop"), args);
  if (!xprop.waitForFinished(5000)) {
    xprop.kill();
    xprop.waitForFinished(1000);
    return "";
  }
  return xprop.readAllStandardOutput().toStdString();
}

// The state the window manager gave window `id`: "Normal", "Iconic",
// "Withdrawn" or "" (none).
std::string WmState(WId id) {
  const std::string out = XProp(id, "WM_STATE");
  for (const char* state : {"Normal", "Iconic", "Withdrawn"}) {
    if (out.find(std::string("window state: ") + state) != std::string::npos) return state;
  }
  return "";
}

// The window the window manager made active, as a number.
WId ActiveWindow() {
  const std::string out = XProp(0, "_NET_ACTIVE_WINDOW");
  const auto hash = out.find("# ");
  return hash == std::string::npos ? 0 : static_cast<WId>(std::stoull(out.substr(hash + 2), nullptr, 16));
}

// Lets Qt's events in until `done` holds, at most five seconds, from
// inside a modal loop (a message box, a dialog); returns whether it held.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 250 && !done(); ++i) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
  return done();
}

// Whether `window` has the keyboard, as Qt and the window manager see it.
bool KeyboardIn(QWidget* window) {
  return QGuiApplication::focusWindow() != nullptr && QGuiApplication::focusWindow() == window->windowHandle() &&
         ActiveWindow() == window->winId();
}

class QtWindowManager : public QtResultScreen {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "no window manager on X here";
  }
  // Lets the window manager act until `done` holds, at most five seconds.
  bool WaitFor(const std::function<bool()>& done) {
    bool held = false;
    qt_->Step([&] {
      for (int i = 0; i < 250 && !(held = done()); ++i) {
        ui::DoEvents();
        QThread::msleep(20);
      }
    });
    return held;
  }
  // 入力グループ選択 is minimised (or not shown) as the window manager
  // sees it, and the main window has the keyboard with the grid focused.
  void ExpectSelectionMinimisedAndMainWindowWithTheKeyboard() {
    ASSERT_TRUE(frmGrpSel.loaded());
    EXPECT_EQ(frmGrpSel->window_state(), ui::WindowState::kMinimized);
    FormWindow* main_window = qt_->qt().WindowOf(form());
    FormWindow* selection = qt_->qt().WindowOf(*frmGrpSel);
    ASSERT_NE(main_window, nullptr);
    const WId main_id = main_window->winId();
    const bool settled = WaitFor([&] {
      const bool selection_down = selection == nullptr || !selection->isVisible() ||
                                  WmState(selection->winId()) == "Iconic";
      return selection_down && ActiveWindow() == main_id &&
             QGuiApplication::focusWindow() == main_window->windowHandle();
    });
    EXPECT_TRUE(settled);
    if (selection != nullptr && selection->isVisible()) {
      EXPECT_EQ(WmState(selection->winId()), "Iconic") << "入力グループ選択 is minimised, not mapped";
      EXPECT_FALSE(selection->windowHandle()->isExposed());
    }
    EXPECT_EQ(WmState(main_id), "Normal");
    EXPECT_EQ(ActiveWindow(), main_id) << "the window manager's active window is the main window";
    EXPECT_EQ(QGuiApplication::focusWindow(), main_window->windowHandle())
        << (QGuiApplication::focusWindow() != nullptr ? QGuiApplication::focusWindow()->objectName().toStdString()
                                                      : "(none)");
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->window(), main_window) << focus->window()->objectName().toStdString();
    EXPECT_EQ(QGuiApplication::focusObject(), focus) << "the input method's context is the main window's";
    EXPECT_EQ(form().active_control(), &form().sprResult);
  }
  // Presses F5 in the grid and, once the findings search it opens stands,
  // runs `operator_acts` with its window from inside its modal loop.
  void WithFindingsSearch(const std::function<void(FormWindow& dialog)>& operator_acts) {
    bool busy = false;
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
      if (busy || !frmSyoComb.loaded() || !frmSyoComb->visible()) return;
      busy = true;
      driver.stop();
      operator_acts(*qt_->qt().WindowOf(*frmSyoComb));
    });
    driver.start();
    ASSERT_TRUE(qt_->Step([] { KeyToFocus(Qt::Key_F5); }));
  }
  // The window of `owner` has the keyboard, as the window manager and Qt
  // see it: its window is the active one and Qt's focus window.
  void ExpectKeyboardIn(ui::Form& owner) {
    FormWindow* window = qt_->qt().WindowOf(owner);
    ASSERT_NE(window, nullptr);
    const WId id = window->winId();
    EXPECT_TRUE(WaitFor([&] {
      return ActiveWindow() == id && QGuiApplication::focusWindow() == window->windowHandle();
    }));
    EXPECT_EQ(ActiveWindow(), id) << "the window manager's active window is " << owner.name() << "'s";
    QWindow* now = QGuiApplication::focusWindow();
    EXPECT_EQ(now, window->windowHandle()) << (now != nullptr ? now->objectName().toStdString() : "(none)");
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->window(), window) << focus->window()->objectName().toStdString();
  }
};

TEST_F(QtWindowManager, AfterALoadTheGroupSelectionIsMinimisedAndTheMainWindowHasTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  EXPECT_FALSE(copy_shown_) << "a load that shows no copy dialog";
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
}

// At start, without an examinee on the command line, the examinee search
// screen has the keyboard as soon as the window manager has put it up:
// Down and Enter typed then on the real keyboard choose an examinee and
// load it.
TEST_F(QtWindowManager, AtStartTheSearchScreenHasTheKeyboardAndDownEnterTypedThereChoose) {
  BuildDemo();
  qt_->SetMainForm(&form());
  ASSERT_TRUE(qt_->Step([&] { form().Show(); }));
  ASSERT_TRUE(SearchShown());
  ui::Form* search = qt_->active_form();
  ASSERT_NE(search, nullptr);
  ASSERT_NE(search, &form()) << "the search screen is the active form";
  ExpectKeyboardIn(*search);
  ASSERT_TRUE(qt_->Step([] {
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")});
  }));
  EXPECT_TRUE(WaitFor([] { return !basPublic.ExamineeNo.empty(); })) << "an examinee was chosen and loaded";
  EXPECT_TRUE(form().sprResult.visible);
}

// The previous-result copy that ends a load changes nothing of it: once its
// dialog is closed the group selection is minimised and the main window
// has the keyboard. The fixture clicks the dialog's button 20 ms after it
// shows, as an operator's Enter typed ahead does: mostly before the window
// manager has mapped it. The map then arrives after the close: the closed
// dialog must not take it (nor the activation Qt held back for it until
// the map), or Qt takes it for the window with the keyboard, and none once
// it is deleted. And the main window asks for the keyboard back although
// the operator's click closed the dialog: the window manager may give it
// to 入力グループ.
TEST_F(QtWindowManager, AfterALoadWithTheCopyDialogTheGroupSelectionIsMinimisedToo) {
  ASSERT_TRUE(StartOnFirstExaminee(true));
  EXPECT_TRUE(copy_shown_);
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
}

// The operator's Escape typed ahead closes the previous-result copy dialog
// of the load on the real keyboard, mostly before the window manager has
// mapped the dialog (the key then reaches the main window, whose model
// hands it to the dialog): the main window has the keyboard afterwards.
TEST_F(QtWindowManager, AfterALoadWhoseCopyDialogEscapeClosesAtOnceTheMainWindowHasTheKeyboard) {
  ini_set_auto_copy_ = true;
  BuildDemo();
  App().command = testkit::DemoExamineeNumbers().front();
  qt_->SetMainForm(&form());
  // The key goes to the window the window manager has given the keyboard:
  // it is typed as soon as the dialog has it. Should the dialog still stand
  // after a second (the key lost on a very slow machine), its close button
  // ends it and the test fails, instead of the load waiting in it for good.
  bool escaped = false;
  bool closed_by_button = false;
  int ticks = 0;
  QTimer escaper;
  escaper.setInterval(5);
  QObject::connect(&escaper, &QTimer::timeout, [&] {
    if (!frmCopy.loaded() || !frmCopy->visible()) return;
    FormWindow* dialog = qt_->qt().WindowOf(*frmCopy);
    if (!escaped && dialog != nullptr && dialog->isActiveWindow()) {
      escaped = true;
      QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
    }
    if (++ticks < 200 || closed_by_button) return;
    closed_by_button = true;
    if (QWidget* button = qt_->qt().WidgetOf(frmCopy->cmdClose)) Click(button);
  });
  escaper.start();
  ASSERT_TRUE(qt_->Step([&] { form().Show(); }));
  escaper.stop();
  ASSERT_TRUE(escaped) << "the dialog never had the keyboard";
  ASSERT_FALSE(closed_by_button) << "Escape did not close the dialog";
  EXPECT_FALSE(frmCopy.loaded() && frmCopy->visible()) << "Escape closed the copy dialog";
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
}

// The operator minimises the main window and brings it back, again and
// again: the companion windows go and come with it, the group selection
// comes back minimised, and the main window has the keyboard each time.
TEST_F(QtWindowManager, MinimisingAndRestoringTheMainWindowKeepsTheGroupSelectionMinimised) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  FormWindow* main_window = qt_->qt().WindowOf(form());
  ASSERT_NE(main_window, nullptr);
  const QString main_id = QString::number(main_window->winId());
  // The operator minimises a window the window manager has put up: on a
  // loaded machine it may not have yet when the load ends.
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), main_id});
    ASSERT_TRUE(WaitFor([&] { return form().window_state() == ui::WindowState::kMinimized; }));
    EXPECT_FALSE(frmGrpJmp->visible()) << "hidden while the main form is minimised";
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), main_id});
    ASSERT_TRUE(WaitFor([&] { return form().window_state() == ui::WindowState::kNormal; }));
    EXPECT_TRUE(frmGrpJmp->visible());
    ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  }
}

// A message box the program raises keeps the keyboard while the window
// manager moves, minimises or restores a window of the program under it
// (the operator drags the main window aside to read what the box is
// about): the main window does not ask for the keyboard back, which the
// box would lose, and Enter would then answer nothing.
TEST_F(QtWindowManager, AMessageBoxKeepsTheKeyboardWhileTheWindowManagerMovesTheMainWindow) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  FormWindow* main_window = qt_->qt().WindowOf(form());
  ASSERT_NE(main_window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return QGuiApplication::focusWindow() == main_window->windowHandle(); }));
  const WId main_id = main_window->winId();
  bool box_took = false;
  bool box_kept = false;
  std::string focus_after;
  qt_->qt().on_message_box = [&](QMessageBox& box) {
    QTimer::singleShot(0, &box, [&] {
      const auto keyboard_in_box = [&box] {
        return QGuiApplication::focusWindow() != nullptr && QGuiApplication::focusWindow() == box.windowHandle();
      };
      for (int i = 0; i < 250 && !keyboard_in_box(); ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
      }
      box_took = keyboard_in_box();
      for (const char* x : {"40", "60"}) {
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowmove"), QString::number(main_id), QLatin1String(x), QStringLiteral("30")});
        for (int i = 0; i < 25; ++i) {
          QApplication::processEvents();
          QThread::msleep(20);
        }
      }
      box_kept = keyboard_in_box();
      QWindow* now = QGuiApplication::focusWindow();
      focus_after = now != nullptr ? now->objectName().toStdString() : "(none)";
      box.buttons().front()->click();
    });
  };
  ASSERT_TRUE(qt_->Step([] { ui::MsgBox("確認", ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "結果入力"); }));
  EXPECT_TRUE(box_took) << "the box opens with the keyboard";
  EXPECT_TRUE(box_kept) << "the keyboard went to " << focus_after;
}


// The operator brings up 入力グループ選択, takes every group off and
// presses 選択終了: the message that no group is chosen has the keyboard,
// and once answered the keyboard is back in 入力グループ選択, the window
// it came from, not in the main window.
TEST_F(QtWindowManager, AMessageOverTheGroupSelectionGivesItTheKeyboardBack) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  ASSERT_TRUE(qt_->Step([&] { Click(qt_->qt().WidgetOf(form().cmdGrpSel)); }));
  ExpectKeyboardIn(*frmGrpSel);
  grid::ListGrid& list = frmGrpSel->flxGroop;
  for (int r = 0; r < list.rows(); ++r) list.SetCellBackColorAt(r, 0, NgrpDefaultColor());
  bool box_took = false;
  qt_->qt().on_message_box = [&](QMessageBox& box) {
    boxes_.push_back(box.text().toStdString());
    QTimer::singleShot(0, &box, [&] {
      box_took = PumpUntil([&box] { return KeyboardIn(&box); });
      box.buttons().front()->click();
    });
  };
  QWidget* select_end = qt_->qt().WidgetOf(frmGrpSel->cmdSelectEnd);
  ASSERT_NE(select_end, nullptr);
  ASSERT_TRUE(qt_->Step([&] { Click(select_end); ui::DoEvents(); }));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_.front(), "グループが選択されていません。");
  EXPECT_TRUE(box_took);
  ExpectKeyboardIn(*frmGrpSel);
}

// 選択終了 with groups chosen rebuilds the screen behind the progress
// window owned by 入力グループ選択: once the progress window goes, the main
// window has the keyboard, with the grid focused.
TEST_F(QtWindowManager, AfterTheGroupSelectionEndsTheMainWindowHasTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  ASSERT_TRUE(qt_->Step([&] { Click(qt_->qt().WidgetOf(form().cmdGrpSel)); }));
  ExpectKeyboardIn(*frmGrpSel);
  QWidget* select_end = qt_->qt().WidgetOf(frmGrpSel->cmdSelectEnd);
  ASSERT_NE(select_end, nullptr);
  ASSERT_TRUE(qt_->Step([&] { Click(select_end); ui::DoEvents(); }));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_FALSE(frmGrpSel->visible());
  ExpectKeyboardIn(form());
  EXPECT_EQ(form().active_control(), &form().sprResult);
}

// Alt+F4 opens the dummy-data dialog and an Enter typed ahead runs it
// about 20 ms after it shows, mostly before the window manager has mapped
// it. The message that follows, "ダミーデータをセットしました。", has the
// keyboard as long as it stands: nothing of the program asks for it
// meanwhile. Once answered, the main window has it.
TEST_F(QtWindowManager, AMessageAfterADialogClosedAtOnceKeepsTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  QTimer runner;
  runner.setInterval(20);
  bool dialog_shown = false;
  QObject::connect(&runner, &QTimer::timeout, [&] {
    if (!frmDmyDataSet.loaded() || !frmDmyDataSet->visible()) return;
    dialog_shown = true;
    if (QWidget* button = qt_->qt().WidgetOf(frmDmyDataSet->cmdRun)) Click(button);
  });
  runner.start();
  bool box_took = false;
  int box_lost = 0;
  std::string lost_to;
  qt_->qt().on_message_box = [&](QMessageBox& box) {
    boxes_.push_back(box.text().toStdString());
    QTimer::singleShot(0, &box, [&] {
      box_took = PumpUntil([&box] { return KeyboardIn(&box); });
      for (int i = 0; i < 25; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
        if (!KeyboardIn(&box)) {
          ++box_lost;
          QWindow* now = QGuiApplication::focusWindow();
          lost_to = now != nullptr ? now->objectName().toStdString() : "(none)";
        }
      }
      box.buttons().front()->click();
    });
  };
  ASSERT_TRUE(qt_->Step([] {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(focus, &press);
  }));
  runner.stop();
  EXPECT_TRUE(dialog_shown);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_.front(), "ダミーデータをセットしました。");
  EXPECT_TRUE(box_took) << "the message opens with the keyboard";
  EXPECT_EQ(box_lost, 0) << "the keyboard went to " << lost_to << " while the message stood";
  ExpectKeyboardIn(form());
  EXPECT_EQ(form().active_control(), &form().sprResult);
}

// F5 on a findings cell opens the findings search modal with the keyboard.
// The operator changes the text and presses 戻る: the question whether to
// leave without the change has the keyboard; Cancel gives it back to the
// search dialog, not to the main window behind it. Leaving then (OK) gives
// it to the main window, the dialog's owner, with the grid focused and the
// input method's context the grid's.
TEST_F(QtWindowManager, TheFindingsSearchGetsTheKeyboardBackFromItsQuestion) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  ASSERT_TRUE(qt_->Step([&] { ClickCell(basPublic.ResultCol, RowOfItem(1008)); }));
  std::vector<std::string> box_took;
  bool answer_ok = false;
  qt_->qt().on_message_box = [&](QMessageBox& box) {
    boxes_.push_back(box.text().toStdString());
    QTimer::singleShot(0, &box, [&] {
      box_took.push_back(PumpUntil([&box] { return KeyboardIn(&box); }) ? "yes" : "no");
      box.buttons().at(answer_ok ? 0 : 1)->click();
    });
  };
  bool dialog_took = false;
  bool dialog_got_back = false;
  WithFindingsSearch([&](FormWindow& dialog) {
    dialog_took = PumpUntil([&dialog] { return KeyboardIn(&dialog); });
    qt_->qt().Dispatch([](ui::Shell&) { frmSyoComb->txtSyoken.SetText(frmSyoComb->txtSyoken.text() + "x"); });
    Click(qt_->qt().WidgetOf(frmSyoComb->cmdClose));
    dialog_got_back = frmSyoComb.loaded() && PumpUntil([&dialog] { return KeyboardIn(&dialog); });
    answer_ok = true;
    if (frmSyoComb.loaded()) Click(qt_->qt().WidgetOf(frmSyoComb->cmdClose));
  });
  EXPECT_TRUE(dialog_took) << "the findings search opens with the keyboard";
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_.front(), "所見を変更せずに終了します。よろしいですか？");
  EXPECT_EQ(box_took, (std::vector<std::string>{"yes", "yes"})) << "each question opens with the keyboard";
  EXPECT_TRUE(dialog_got_back) << "Cancel gives the keyboard back to the findings search";
  EXPECT_FALSE(frmSyoComb.loaded());
  ExpectKeyboardIn(form());
  EXPECT_EQ(form().active_control(), &form().sprResult);
  QObject* focus = QGuiApplication::focusObject();
  ASSERT_NE(focus, nullptr);
  QInputMethodQueryEvent query(Qt::ImEnabled);
  QApplication::sendEvent(focus, &query);
  EXPECT_EQ(query.value(Qt::ImEnabled).toBool(), Fnc_FieldIme(form().sprResult).composes)
      << "the input method follows the grid's cell";
}

// While the findings search stands modal, the operator clicks the main
// window behind it (the window manager activates it): the search, which
// blocks it, has the keyboard again; once it is closed the main window
// has the keyboard.
TEST_F(QtWindowManager, ActivatingTheMainWindowUnderTheFindingsSearchLeavesTheSearchTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
  ASSERT_TRUE(qt_->Step([&] { ClickCell(basPublic.ResultCol, RowOfItem(1008)); }));
  const QString main_id = QString::number(qt_->qt().WindowOf(form())->winId());
  bool took = false, back = false;
  std::string back_to;
  WithFindingsSearch([&](FormWindow& dialog) {
    took = PumpUntil([&dialog] { return KeyboardIn(&dialog); });
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), main_id});
    for (int i = 0; i < 25; ++i) {
      QApplication::processEvents();
      QThread::msleep(20);
    }
    back = frmSyoComb.loaded() && PumpUntil([&dialog] { return KeyboardIn(&dialog); });
    QWindow* now = QGuiApplication::focusWindow();
    back_to = now != nullptr ? now->objectName().toStdString() : "(none)";
    if (frmSyoComb.loaded()) Click(qt_->qt().WidgetOf(frmSyoComb->cmdClose));
  });
  EXPECT_TRUE(took) << "the findings search opens with the keyboard";
  EXPECT_TRUE(back) << "the keyboard went to " << back_to;
  EXPECT_FALSE(frmSyoComb.loaded());
  ExpectKeyboardIn(form());
  EXPECT_EQ(form().active_control(), &form().sprResult);
}

}  // namespace
}  // namespace qz::qt
