// Windows on a desktop of two screens side by side (the offscreen platform
// with tests/qt/two_screens.json, as the "QtTwoScreens" test runs it; with
// one screen the test is skipped): a window stays on the screen the
// program put it on, and a dialog centred on its owner opens on the
// owner's screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <memory>

#include "kit/sample_grid_form.h"
#include "qt/form_window.h"
#include "qt/qt_backend.h"
#include "qt/qt_test_app.h"

namespace qz::qt {
namespace {

TEST(QtTwoScreens, AWindowStaysOnTheScreenItWasPutOnAndItsDialogOpensThere) {
  TestApp();
  if (QGuiApplication::screens().size() < 2) GTEST_SKIP() << "one screen";
  QtShell shell;
  const QRect monitor = QGuiApplication::screens()[1]->availableGeometry();
  const int tpp = shell.qt().twips_per_pixel();
  testkit::SampleGridForm form;
  const QPoint at = monitor.topLeft() + QPoint(200, 100);
  form.Move(at.x() * tpp, at.y() * tpp);
  ui::Form dialog("frmDialog");
  dialog.Move(0, 0, 3000, 1500);
  ASSERT_TRUE(shell.Step([&] { form.Show(); }));
  ASSERT_TRUE(shell.Step([&] { dialog.Show(false, &form); }));
  FormWindow* window = shell.qt().WindowOf(form);
  EXPECT_EQ(window->pos(), at) << "not pulled onto the first screen";
  const QRect d = shell.qt().WindowOf(dialog)->frameGeometry();
  EXPECT_TRUE(monitor.contains(d)) << d.x() << "," << d.y();
  const QPoint off = d.center() - window->frameGeometry().center();
  EXPECT_LE(std::abs(off.x()), 2) << off.x();
}

}  // namespace
}  // namespace qz::qt
