// The demo's result screen on the screen it runs on: the main form with
// its frame within the screen's available area and its status line in
// sight, a list cell's drop-down as wide as its entries, and the display
// mode captions whole. On any platform; tests/qt/window_manager_test.sh
// runs them again under a window manager on a 1366x768 laptop display and
// on a 2560x1440 display at a scale factor of 2, and CMake on the offscreen
// platform with those screens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <string>

#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "qt/form_window.h"
#include "qt/result_screen_fixture.h"
#include "qt/spread_view.h"

namespace qz::qt {
namespace {

std::string Rect(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
         std::to_string(r.height());
}

class QtScreenFit : public QtResultScreen {
 protected:
  // Starts on the first examinee with [SysInfo] FormHeight as given (the
  // demo suite's terminal has 1: the main form takes the work area's
  // height) and waits until the window system has framed the main window.
  bool StartWithFormHeight(int form_height) {
    suite_.SetIni("SysInfo", "FormHeight", std::to_string(form_height));
    if (!StartOnFirstExaminee(false)) return false;
    return qt_->Step([this] {
      FormWindow* window = qt_->qt().WindowOf(form());
      for (int i = 0; i < 100 && window->frameGeometry() == window->geometry() && Framed(); ++i) {
        ui::DoEvents();
        QThread::msleep(20);
      }
      Settle();
    });
  }
  // Whether windows get a frame here (a window manager on X).
  static bool Framed() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

  // The main window with its frame within the available area, as large as
  // the form, with the grid and the status line inside it.
  void ExpectFitsWithStatusLine() {
    FormWindow* window = qt_->qt().WindowOf(form());
    ASSERT_NE(window, nullptr);
    const QRect available = window->screen()->availableGeometry();
    const int tpp = qt_->qt().twips_per_pixel();
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(available.contains(frame)) << Rect(frame) << " in " << Rect(available);
    EXPECT_LE(std::abs(frame.height() - form().height / tpp), 1) << "the form's height is the framed window's";
    EXPECT_LE(std::abs(frame.width() - form().width / tpp), 1) << "the form's width is the framed window's";
    // In sight: from its left end (where its text starts) down to its
    // bottom; a screen narrower than the form cuts the right-hand side.
    const QRect inside = window->rect();
    QWidget* status = qt_->qt().WidgetOf(form().lblStatus);
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible());
    const QRect line = status->geometry();
    EXPECT_TRUE(inside.contains(line.topLeft()) && inside.contains(line.bottomLeft()))
        << "status line " << Rect(line) << " in the window's inside " << Rect(inside);
    const QRect grid = qt_->qt().WidgetOf(form().sprResult)->geometry();
    EXPECT_TRUE(inside.contains(grid.topLeft()) && inside.contains(grid.bottomLeft())) << Rect(grid);
    EXPECT_TRUE(boxes_.empty());
  }
};

// The form's size is its window's with the frame: the framed window lies
// within the available area and the status line and the grid are inside
// it, with the form taking the work area's height as the demo's terminal
// does, and with the designed size where the screen holds it.
TEST_F(QtScreenFit, TheMainWindowWithItsFrameFitsTheWorkAreasHeightAndShowsTheStatusLine) {
  ASSERT_TRUE(StartWithFormHeight(1));
  ExpectFitsWithStatusLine();
}

TEST_F(QtScreenFit, TheMainWindowOfTheDesignedSizeWithItsFrameFitsAScreenThatHoldsIt) {
  ASSERT_TRUE(StartWithFormHeight(0));
  FormWindow* window = qt_->qt().WindowOf(form());
  const QRect available = window->screen()->availableGeometry();
  const QRect frame = window->frameGeometry();
  EXPECT_TRUE(available.contains(frame)) << Rect(frame) << " in " << Rect(available);
  if (frame.height() >= available.height() || frame.width() >= available.width()) {
    GTEST_SKIP() << "the designed size was cut to this screen, and its layout with it";
  }
  ExpectFitsWithStatusLine();
}

// The drop-down of a findings cell lists its entries, whose stored texts
// are padded to the master's width and carry the code past it, as wide as
// their texts need: each text whole, the list no wider than that (and never
// wider than the screen).
TEST_F(QtScreenFit, AListCellsDropDownIsAsWideAsItsEntriesNeed) {
  ASSERT_TRUE(StartWithFormHeight(1));
  grid::Spread& spr = form().sprResult;
  int row = 0;
  for (int r = basPublic.DataRow; r <= spr.max_rows() && row == 0; ++r) {
    const std::int16_t item = Fnc_RowToItem(r);
    if (item > 0 && frmResultIn.ItemTable[item].Ksyub == kKsyubFindings) row = r;
  }
  ASSERT_GT(row, 0) << "a findings item";
  const std::vector<std::string> entries = spr.FormatAt(basPublic.ResultCol, row).combo_entries;
  ASSERT_GE(entries.size(), 2u);
  ASSERT_NE(entries.front().find("  "), std::string::npos) << "a stored entry is padded";
  auto* view = qobject_cast<SpreadView*>(qt_->qt().WidgetOf(spr));
  QStringList shown;
  int width = 0;
  int needed = 0;
  QTimer reader;
  reader.setInterval(10);
  QObject::connect(&reader, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    width = menu->width();
    const QFontMetrics metrics(menu->font());
    for (QAction* a : menu->actions()) {
      shown << a->text();
      needed = std::max(needed, metrics.horizontalAdvance(a->text()));
    }
    menu->close();
  });
  reader.start();
  ASSERT_TRUE(qt_->Step([&] {
    spr.MoveActiveCell(basPublic.ResultCol, row);
    ui::DoEvents();
    view->PopupCombo();
  }));
  ASSERT_EQ(shown.size(), static_cast<qsizetype>(entries.size()));
  EXPECT_EQ(shown.front().toStdString(), entries.front().substr(0, entries.front().find("  ")));
  EXPECT_EQ(shown.back().toStdString(), basPublic.SearchCombo);
  const QRect available = view->screen()->availableGeometry();
  EXPECT_GE(width, needed) << "every entry whole";
  EXPECT_LE(width, std::min(available.width(), needed + 120)) << "no wider than its entries need";
}

// The display mode's option captions are whole within their buttons,
// wrapped where the button is narrow: every line as wide as the label has
// room for and every line as high.
TEST_F(QtScreenFit, TheDisplayModeCaptionsAreWhole) {
  ASSERT_TRUE(StartWithFormHeight(1));
  int checked = 0;
  for (ui::OptionButton* option : form().optKirikae) {
    auto* button = qobject_cast<QRadioButton*>(qt_->qt().WidgetOf(*option));
    ASSERT_NE(button, nullptr);
    QStyleOptionButton style_option;
    style_option.initFrom(button);
    const QRect label = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &style_option, button);
    const QFontMetrics metrics(button->font());
    const QStringList lines = button->text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.join(QString()).toStdString(), option->caption);
    for (const QString& line : lines) {
      EXPECT_LE(metrics.horizontalAdvance(line), label.width()) << line.toStdString();
    }
    EXPECT_LE(metrics.lineSpacing() * (lines.size() - 1) + metrics.height(), button->height())
        << option->caption << ": " << lines.size() << " lines";
    QWidget* frame = button->parentWidget();
    EXPECT_TRUE(frame->rect().contains(button->geometry())) << option->caption;
    ++checked;
  }
  EXPECT_EQ(checked, 3);
}

}  // namespace
}  // namespace qz::qt
