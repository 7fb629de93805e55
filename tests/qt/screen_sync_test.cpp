// How the Qt front end keeps a grid on screen in step with its model at the
// program's yields: an unchanged grid costs no cell read, whatever its
// size, and a change repaints its own cells.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/sample_grid_form.h"
#include "platform/ui/shell.h"
#include "qt/qt_backend.h"
#include "qt/qt_style.h"
#include "qt/spread_view.h"

namespace qz::qt {
namespace {

void EnsureApp() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(argc, argv);
}

// Every cell the table shows holds the model's text and colours, and its
// hidden lines are the model's.
void ExpectTableHoldsModel(SpreadView& view, const grid::Spread& s) {
  QTableView* table = view.table();
  const std::vector<int>& rows = view.shown_rows();
  const std::vector<int>& cols = view.shown_cols();
  const QPalette palette = QApplication::palette();
  for (std::size_t vc = 0; vc < cols.size(); ++vc) {
    EXPECT_EQ(table->isColumnHidden(static_cast<int>(vc)), s.ColWidth(cols[vc]) == 0) << "column " << cols[vc];
  }
  for (std::size_t vr = 0; vr < rows.size(); ++vr) {
    EXPECT_EQ(table->isRowHidden(static_cast<int>(vr)), s.RowHeight(rows[vr]) == 0) << "row " << rows[vr];
    for (std::size_t vc = 0; vc < cols.size(); ++vc) {
      const int c = cols[vc], r = rows[vr];
      const QModelIndex cell = table->model()->index(static_cast<int>(vr), static_cast<int>(vc));
      const grid::CellFormat f = s.FormatAt(c, r);
      if (f.type != grid::CellType::kCheckBox) {
        EXPECT_EQ(cell.data().toString().toStdString(), s.TextAt(c, r)) << c << "," << r;
      }
      EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QBrush>().color(), ResolveColor(f.back_color, palette))
          << c << "," << r;
      EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QBrush>().color(), ResolveColor(f.fore_color, palette))
          << c << "," << r;
    }
  }
  const std::size_t fixed = 1 + static_cast<std::size_t>(std::max(0, s.rows_frozen));
  if (rows.size() > fixed) {
    EXPECT_EQ(rows[fixed], std::max(s.top_row(), s.rows_frozen + 1)) << "the top row";
  }
}

class ScreenSync : public ::testing::Test {
 protected:
  ScreenSync() {
    EnsureApp();
    shell = std::make_unique<QtShell>();
  }
  bool Step(const std::function<void()>& step) { return shell->Step(step); }
  void Yield(int times) {
    ASSERT_TRUE(Step([&] {
      for (int i = 0; i < times; ++i) ui::DoEvents();
    }));
  }
  // Gives the sample's result grid `rows` rows of items with list results
  // under `tag`.
  static void FillSample(grid::Spread& spr, int rows, const std::string& tag) {
    spr.SetMaxRows(rows);
    for (int r = 7; r <= rows; ++r) {
      spr.SetText(1, r, tag + std::to_string(r));
      spr.SetText(3, r, r % 3 == 0 ? "陽性" : "陰性");
    }
  }
  // Shows `form` with 300 rows in its result grid; returns the grid's view
  // once the window has settled (null on failure).
  SpreadView* ShowFilledSample(testkit::SampleGridForm& form) {
    if (!Step([&] {
          FillSample(form.sprResult, 300, "項目");
          form.Show();
        })) {
      return nullptr;
    }
    Yield(3);
    QCoreApplication::processEvents();
    return qobject_cast<SpreadView*>(shell->qt().WidgetOf(form.sprResult));
  }
  // The window of `view` as it is on the screen now.
  static QImage OnScreen(SpreadView& view) {
    return QGuiApplication::primaryScreen()->grabWindow(view.window()->winId()).toImage();
  }
  // The window of `view` after a full repaint.
  static QImage Repainted(SpreadView& view) {
    view.window()->update();
    view.table()->viewport()->update();
    QCoreApplication::processEvents();
    return OnScreen(view);
  }
  // The table of `view` holds what `s` holds, and its window on the screen
  // is as a full repaint makes it.
  static void ExpectScreenHoldsModel(SpreadView& view, const grid::Spread& s) {
    ExpectTableHoldsModel(view, s);
    const QImage shown = OnScreen(view);
    EXPECT_TRUE(shown == Repainted(view));
  }

  std::unique_ptr<QtShell> shell;
};

TEST_F(ScreenSync, TheGridsOwnColoursAndFontReachTheCellsThatUseThem) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  ASSERT_TRUE(Step([&] {
    spr.SetText(2, 3, "値");
    form.Show();
  }));
  auto* view = qobject_cast<SpreadView*>(shell->qt().WidgetOf(spr));
  ASSERT_NE(view, nullptr);
  Yield(3);
  const QModelIndex cell = view->table()->model()->index(3, 2);
  ASSERT_EQ(cell.data(Qt::DisplayRole).toString(), QString::fromStdString("値"));
  // The cell has no colour or font of its own: it shows the grid's.
  ASSERT_TRUE(Step([&] {
    spr.back_color = 0x00FFFF;
    spr.fore_color = 0x0000FF;
    spr.font.size = 20;
    ui::DoEvents();
  }));
  EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(0xFF, 0xFF, 0x00));
  EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0xFF, 0x00, 0x00));
  EXPECT_EQ(cell.data(Qt::FontRole).value<QFont>().pointSizeF(), 20.0);
}

TEST_F(ScreenSync, AYieldWithAnUnchangedGridOnScreenReadsNoCellOfIt) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  ASSERT_TRUE(Step([&] {
    // A centre-sized grid: its size must not matter.
    spr.SetMaxRows(1600);
    for (int r = 7; r <= 1600; ++r) spr.SetText(1, r, "項目" + std::to_string(r));
    form.Show();
  }));
  auto* view = qobject_cast<SpreadView*>(shell->qt().WidgetOf(spr));
  ASSERT_NE(view, nullptr);
  Yield(3);  // the window settles and paints
  QCoreApplication::processEvents();
  ASSERT_TRUE(view->isVisible());

  const std::uint64_t reads = spr.cell_reads();
  Yield(20);
  EXPECT_EQ(spr.cell_reads(), reads) << "idle yields read no cell";

  // A change repaints its own cell only.
  std::vector<std::pair<QModelIndex, QModelIndex>> repainted;
  QObject::connect(view->table()->model(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& a, const QModelIndex& b) { repainted.emplace_back(a, b); });
  ASSERT_TRUE(Step([&] {
    spr.SetText(3, 1, "(±)");
    ui::DoEvents();
  }));
  ASSERT_EQ(repainted.size(), 1u);
  EXPECT_EQ(repainted[0].first, repainted[0].second) << "one cell";
  EXPECT_EQ(view->shown_rows()[static_cast<std::size_t>(repainted[0].first.row())], 1);
  EXPECT_EQ(view->shown_cols()[static_cast<std::size_t>(repainted[0].first.column())], 3);
  EXPECT_EQ(view->table()->model()->index(1, 3).data().toString().toStdString(), "(±)");

  // After a change further down, idle is idle again.
  repainted.clear();
  ASSERT_TRUE(Step([&] {
    spr.SetText(1, 1500, "視力");
    ui::DoEvents();
  }));
  QCoreApplication::processEvents();
  const std::uint64_t after = spr.cell_reads();
  Yield(20);
  EXPECT_EQ(spr.cell_reads(), after);
}

// What a scroll leaves on the screen (lines moved as pixels, the rest
// painted) is what a full repaint of the window paints.
TEST_F(ScreenSync, AScrolledGridShowsWhatAFullRepaintShows) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  SpreadView* view = ShowFilledSample(form);
  ASSERT_NE(view, nullptr);
  const std::vector<std::pair<const char*, std::function<void()>>> moves = {
      {"down a line past the page", [&] { spr.MoveActiveCell(1, spr.top_row() + spr.page_rows); }},
      {"down three lines", [&] {
         spr.DeliverKeyDown(grid::kKeyDown, 0);
         spr.DeliverKeyDown(grid::kKeyDown, 0);
         spr.DeliverKeyDown(grid::kKeyDown, 0);
       }},
      {"a change and a line down", [&] {
         spr.SetText(3, spr.active_row(), "(±)");
         spr.MoveActiveCell(1, spr.top_row() + spr.page_rows);
       }},
      {"up past the top", [&] { spr.MoveActiveCell(1, spr.top_row() - 1); }},
  };
  for (const auto& [name, move] : moves) {
    SCOPED_TRACE(name);
    const int top = spr.top_row();
    ASSERT_TRUE(Step([&] {
      move();
      ui::DoEvents();
    }));
    QCoreApplication::processEvents();
    EXPECT_NE(spr.top_row(), top) << "the grid scrolled";
    const QImage shown = OnScreen(*view);
    EXPECT_TRUE(shown == Repainted(*view));
  }
}

TEST_F(ScreenSync, PacedYieldsSyncAtTheDisplaysPaceAndStillLetTheOperatorsEventsThrough) {
  testkit::SampleGridForm form;
  ASSERT_TRUE(Step([&] { form.Show(); }));
  Yield(3);
  shell->qt().PaceSyncs(true);
  auto* ok = qobject_cast<QPushButton*>(shell->qt().WidgetOf(form.cmdOk));
  ASSERT_NE(ok, nullptr);
  const std::uint64_t syncs = shell->qt().syncs();
  int posted = 0;
  ASSERT_TRUE(Step([&] {
    // The operator clicks while the step runs: the click waits in Qt's queue.
    const QPointF at = QPointF(ok->rect().center());
    QCoreApplication::postEvent(ok, new QMouseEvent(QEvent::MouseButtonPress, at, ok->mapToGlobal(at),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    for (int i = 0; i < 200; ++i) {
      shell->Post([&] { ++posted; });
      ui::DoEvents();
    }
  }));
  EXPECT_EQ(form.ok_clicks, 1) << "a yield hands the click to the program";
  EXPECT_EQ(posted, 200) << "every yield runs what waits";
  EXPECT_LT(shell->qt().syncs() - syncs, 200u) << "the windows synced at the display's pace, not at every yield";

  // A user action brings the screen in step whatever the pace.
  ASSERT_TRUE(Step([&] {
    form.txtMemo.SetText("再検");
    ui::DoEvents();
  }));
  shell->qt().Dispatch([](ui::Shell&) {});
  auto* memo = qobject_cast<QLineEdit*>(shell->qt().WidgetOf(form.txtMemo));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->text().toStdString(), "再検");
}

// Whatever the program changes between two yields (texts, colours, line
// sizes, the grid's size, frozen rows, a reload, a sort, scrolling with
// changes, the grid hidden meanwhile), the table then shows the model, and
// the screen shows what a full repaint shows.
TEST_F(ScreenSync, EveryKindOfChangeShowsOnScreenAsTheModelHoldsIt) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  SpreadView* view = ShowFilledSample(form);
  ASSERT_NE(view, nullptr);
  auto top_to = [&](int row) {
    spr.col = 1;
    spr.row = row;
    spr.SetAction(grid::kActionGotoTop);
  };
  const grid::SortKey descending{1, false};
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"scrolled down", [&] { spr.MoveActiveCell(1, 60); }},
      {"a row's colour", [&] { spr.SetBackColor(grid::Range::Row(spr.top_row() + 1), 0x00FF00); }},
      {"a column's colour", [&] { spr.SetForeColor(grid::Range::Column(1), 0xFF0000); }},
      {"the sheet's colour", [&] { spr.SetBackColor(grid::Range::Sheet(), 0xEEEEEE); }},
      {"a column's width", [&] { spr.SetColWidth(3, 20); }},
      {"a column hidden", [&] { spr.SetColWidth(1, 0); }},
      {"columns shown", [&] {
         spr.SetColWidth(1, 14);
         spr.SetColWidth(2, 6);
       }},
      {"a row hidden", [&] { spr.SetRowHeight(spr.top_row() + 2, 0); }},
      {"the row shown", [&] { spr.SetRowHeight(spr.top_row() + 2, 12); }},
      {"a row taller", [&] { spr.SetRowHeight(spr.top_row() + 1, 24); }},
      {"the row back", [&] { spr.SetRowHeight(spr.top_row() + 1, 12); }},
      {"fewer rows than fill the view", [&] { spr.SetMaxRows(spr.top_row() + 3); }},
      {"more rows", [&] { FillSample(spr, 300, "再"); }},
      {"more rows frozen", [&] { spr.rows_frozen = 3; }},
      {"two lines down with a change in a frozen row", [&] {
         spr.SetText(1, 2, "固定行の変更");
         top_to(spr.top_row() + 2);
       }},
      {"a taller row in sight and a line down", [&] {
         spr.SetRowHeight(spr.top_row() + 3, 20);
         top_to(spr.top_row() + 1);
       }},
      {"fewer rows frozen", [&] { spr.rows_frozen = 1; }},
      {"a reload", [&] {
         spr.SetMaxRows(0);
         FillSample(spr, 250, "新");
       }},
      {"a change and two lines up", [&] {
         spr.SetText(1, spr.top_row() + 1, "変更");
         top_to(spr.top_row() - 2);
       }},
      {"a line up with a change on the line that comes into sight", [&] {
         spr.SetText(1, spr.top_row() - 1, "上の変更");
         top_to(spr.top_row() - 1);
       }},
      {"changes all over and five lines down", [&] {
         for (int r = spr.top_row(); r < spr.top_row() + 40; ++r) spr.SetText(3, r, "(±)");
         top_to(spr.top_row() + 5);
       }},
      {"a sort", [&] { spr.Sort(grid::Range::Block(1, 7, 4, spr.max_rows()), {&descending, 1}); }},
      {"a list pick", [&] { spr.SetComboCurSel(grid::Range::Cell(3, spr.top_row() + 1), 1); }},
      {"the grid's font", [&] { spr.font.size = 14; }},
      {"the grid's colour", [&] { spr.back_color = 0x0000FF; }},
      {"changed and scrolled while hidden", [&] {
         spr.visible = false;
         ui::DoEvents();
         spr.SetText(1, spr.top_row(), "隠れて変更");
         top_to(spr.top_row() + 1);
         ui::DoEvents();
         spr.visible = true;
       }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Step([&] {
      change();
      ui::DoEvents();
    }));
    QCoreApplication::processEvents();
    ExpectScreenHoldsModel(*view, spr);
  }
}

// Keys the operator presses while a paced step yields move the active cell
// (and scroll the grid) in order, between the step's own changes; the
// screen then shows what the model holds.
TEST_F(ScreenSync, KeysBetweenPacedFramesShowAsTheModelHoldsThem) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  SpreadView* view = ShowFilledSample(form);
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(Step([&] { spr.MoveActiveCell(1, 10); }));
  shell->qt().PaceSyncs(true);
  QWidget* table = view->FocusWidget();
  constexpr int kKeys = 30;
  ASSERT_TRUE(Step([&] {
    for (int i = 0; i < kKeys; ++i) {
      QCoreApplication::postEvent(table, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
      spr.SetText(3, 10 + i, "(±)");  // the step's own change meanwhile
      for (int y = 0; y < 50; ++y) ui::DoEvents();
    }
  }));
  shell->qt().PaceSyncs(false);
  Yield(1);
  QCoreApplication::processEvents();
  EXPECT_EQ(spr.active_row(), 10 + kKeys);
  const QModelIndex current = view->table()->currentIndex();
  ASSERT_TRUE(current.isValid());
  EXPECT_EQ(view->shown_rows()[static_cast<std::size_t>(current.row())], spr.active_row());
  ExpectScreenHoldsModel(*view, spr);
}

// The scroll bar dragged to its end shows the last rows filling the view,
// also when the rows in sight before were taller and the last ones hidden.
TEST_F(ScreenSync, TheScrollBarDraggedToItsEndStopsWithTheLastRowAtTheBottom) {
  testkit::SampleGridForm form;
  grid::Spread& spr = form.sprResult;
  ASSERT_TRUE(Step([&] {
    spr.SetMaxRows(300);
    for (int r = 7; r <= 300; ++r) spr.SetText(1, r, "項目" + std::to_string(r));
    for (int r = 2; r <= 6; ++r) spr.SetRowHeight(r, 30);
    for (int r = 291; r <= 300; ++r) spr.SetRowHeight(r, 0);
    form.Show();
  }));
  Yield(3);
  auto* view = qobject_cast<SpreadView*>(shell->qt().WidgetOf(spr));
  ASSERT_NE(view, nullptr);
  QScrollBar* bar = nullptr;
  for (QScrollBar* b : view->findChildren<QScrollBar*>()) {
    if (b->parent() == view && b->orientation() == Qt::Vertical) bar = b;
  }
  ASSERT_NE(bar, nullptr);
  QTableView* table = view->table();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bar->setSliderPosition(bar->maximum());
    bar->triggerAction(QAbstractSlider::SliderMove);
    Yield(1);
    QCoreApplication::processEvents();
    // Row 290 is the last one shown: it ends inside the view, and the row
    // above the top one would not fit as well.
    const std::vector<int>& rows = view->shown_rows();
    const auto last = std::find(rows.begin(), rows.end(), 290);
    ASSERT_NE(last, rows.end()) << "the last row is in sight";
    const int vr = static_cast<int>(last - rows.begin());
    const int bottom = table->rowViewportPosition(vr) + table->rowHeight(vr);
    EXPECT_LE(bottom, table->viewport()->height());
    EXPECT_GT(bottom + table->rowHeight(vr), table->viewport()->height()) << "the view is full";
  }
}

}  // namespace
}  // namespace qz::qt
