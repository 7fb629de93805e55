// What the window manager makes of the program's windows, read back from
// the X server (xprop) as the window manager left them: run by
// tests/qt/window_manager_test.sh on a virtual X display with openbox;
// skipped on any other platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QWindow>
#include <functional>
#include <string>

#include "loading/group_forms.h"
#include "qt/form_window.h"
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
};

TEST_F(QtWindowManager, AfterALoadTheGroupSelectionIsMinimisedAndTheMainWindowHasTheKeyboard) {
  ASSERT_TRUE(StartOnFirstExaminee(false));
  EXPECT_FALSE(copy_shown_) << "a load that shows no copy dialog";
  ASSERT_TRUE(frmGrpSel.loaded());
  ASSERT_EQ(frmGrpSel->window_state(), ui::WindowState::kMinimized);
  FormWindow* main_window = qt_->qt().WindowOf(form());
  FormWindow* selection = qt_->qt().WindowOf(*frmGrpSel);
  ASSERT_NE(main_window, nullptr);
  const WId main_id = main_window->winId();
  const bool settled = WaitFor([&] {
    const bool selection_down = selection == nullptr || !selection->isVisible() ||
                                WmState(selection->winId()) == "Iconic";
    return selection_down && ActiveWindow() == main_id && QGuiApplication::focusWindow() == main_window->windowHandle();
  });
  EXPECT_TRUE(settled);
  if (selection != nullptr && selection->isVisible()) {
    EXPECT_EQ(WmState(selection->winId()), "Iconic") << "入力グループ選択 is minimised, not mapped";
    EXPECT_FALSE(selection->windowHandle()->isExposed());
  }
  EXPECT_EQ(WmState(main_id), "Normal");
  EXPECT_EQ(ActiveWindow(), main_id) << "the window manager's active window is the main window";
  EXPECT_EQ(QGuiApplication::focusWindow(), main_window->windowHandle());
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->window(), main_window) << focus->window()->objectName().toStdString();
  EXPECT_EQ(QGuiApplication::focusObject(), focus) << "the input method's context is the main window's";
  EXPECT_EQ(form().active_control(), &form().sprResult);
}

}  // namespace
}  // namespace qz::qt
