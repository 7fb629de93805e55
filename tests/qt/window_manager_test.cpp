// What the window manager makes of the program's windows, read back from
// the X server (xprop) as the window manager left them: run by
// tests/qt/window_manager_test.sh on a virtual X display with openbox;
// skipped on any other platform.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <string>

#include "loading/group_forms.h"
#include "qt/form_window.h"
#include "platform/ui/msgbox.h"
#include "qt/result_screen_fixture.h"

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
};

TEST_F(QtWindowManager, AfterALoadTheGroupSelectionIsMinimisedAndTheMainWindowHasTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  EXPECT_FALSE(copy_shown_) << "a load that shows no copy dialog";
  ExpectSelectionMinimisedAndMainWindowWithTheKeyboard();
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

}  // namespace
}  // namespace qz::qt
