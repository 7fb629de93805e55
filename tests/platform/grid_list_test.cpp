// The list grid and tab strip models.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/list_grid.h"
#include "platform/grid/spread_types.h"
#include "platform/grid/tab_strip.h"
#include "platform/runtime/run_time_error.h"

namespace qz::grid {
namespace {

constexpr ui::Color kSelect = 0x00FFFF;
constexpr ui::Color kPlain = 0xFFFFFF;

// A group list: one column, no fixed rows, `n` groups.
void FillGroups(ListGrid& g, int n) {
  g.SetRows(0);
  g.SetCols(1);
  for (int i = 0; i < n; ++i) g.AddItem("group " + std::to_string(i));
}

// The selection toggle of the group-selection list, written against the
// grid the way the form's click handler uses it.
void ToggleSelectedRange(ListGrid& g) {
  const int from = std::min(g.row(), g.row_sel()), to = std::max(g.row(), g.row_sel());
  for (int r = from; r <= to; ++r) {
    g.SetRow(r);
    g.SetCellBackColor(g.CellBackColor() == kSelect ? kPlain : kSelect);
  }
}

std::string Highlighted(const ListGrid& g) {
  std::string s;
  for (int r = 0; r < g.rows(); ++r) s += g.CellBackColorAt(r, 0) == kSelect ? '#' : '.';
  return s;
}

TEST(ListGrid, TheSelectionRunsFromTheCurrentRowToRowSelInEitherDirection) {
  struct Case {
    const char* name;
    std::function<void(ListGrid&)> select;
    const char* highlighted;
  };
  const std::vector<Case> cases = {
      {"shift-click 2..5 over highlighted 3 and 4",
       [](ListGrid& g) {
         g.SetRow(2);
         g.ClickCell(5, 0, kShiftMask);
       },
       "..#..#.."},
      {"drag from 5 up to 2", [](ListGrid& g) { g.DragSelect(5, 0, 2, 0); }, "..#..#.."},
      {"plain click on 4", [](ListGrid& g) { g.ClickCell(4, 0); }, "...#...."},
      {"a keyboard range 6..4 toggled by Enter",
       [](ListGrid& g) {
         g.ClickCell(6, 0);
         g.PressKey(kKeyUp, kShiftMask);
         g.PressKey(kKeyUp, kShiftMask);
         g.PressKey(kKeyReturn);
       },
       "...#.#.."},
  };
  for (const Case& c : cases) {
    ListGrid g(nullptr, "flxGroop");
    FillGroups(g, 8);
    g.SetFixedRows(0);
    g.SetFixedCols(0);
    g.SetCellBackColorAt(3, 0, kSelect);
    g.SetCellBackColorAt(4, 0, kSelect);
    g.on_click = [&g] { ToggleSelectedRange(g); };
    g.on_key_up = [&g](int& key, int) {
      if (key == kKeyReturn) ToggleSelectedRange(g);
    };
    c.select(g);
    EXPECT_EQ(Highlighted(g), c.highlighted) << c.name;
  }
}

TEST(ListGrid, SettingRowOrColCollapsesTheSelection) {
  ListGrid g(nullptr, "flxGroop");
  FillGroups(g, 6);
  g.SetFixedRows(0);
  g.SetFixedCols(0);
  g.SetRow(1);
  g.SetRowSel(4);
  EXPECT_EQ(g.row_sel(), 4);
  g.SetRow(2);
  EXPECT_EQ(g.row_sel(), 2);
  g.SetRowSel(5);
  g.SetCol(0);
  EXPECT_EQ(g.row_sel(), 2);
}

TEST(ListGrid, RowsZeroEmptiesAndAddItemSplitsAtTabs) {
  ListGrid g(nullptr, "flxGroop");
  g.SetCols(4);
  g.SetRows(0);
  EXPECT_EQ(g.rows(), 0);
  EXPECT_EQ(g.fixed_rows(), 0);
  g.AddItem("血液\t12\tＡ\t0\textra");
  g.AddItem("尿");
  g.AddItem("first", 0);
  ASSERT_EQ(g.rows(), 3);
  EXPECT_EQ(g.TextMatrix(0, 0), "first");
  EXPECT_EQ(g.TextMatrix(1, 2), "Ａ");
  EXPECT_EQ(g.TextMatrix(1, 3), "0");
  EXPECT_EQ(g.TextMatrix(2, 0), "尿");
  EXPECT_EQ(g.TextMatrix(2, 1), "");
  for (auto [r, c] : std::vector<std::pair<int, int>>{{3, 0}, {0, 4}, {-1, 0}}) {
    try {
      (void)g.TextMatrix(r, c);
      ADD_FAILURE() << r << "," << c;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.number(), kErrSubscript);
    }
  }
}

TEST(ListGrid, AnUnsetColourReadsAsItsOwnDefault) {
  ListGrid g(nullptr, "flxItem");
  g.SetRows(3);
  g.SetCols(2);
  EXPECT_EQ(g.CellBackColorAt(0, 1), g.back_color_fixed);  // header row
  EXPECT_EQ(g.CellBackColorAt(1, 0), g.back_color_fixed);  // header column
  EXPECT_EQ(g.CellBackColorAt(1, 1), ui::kSysWindowBackground);
  EXPECT_EQ(g.CellForeColorAt(2, 1), ui::kSysWindowText);
  g.SetRow(1);
  g.SetCol(1);
  g.SetCellBackColor(kSelect);
  EXPECT_EQ(g.CellBackColor(), kSelect);
  g.SetCellBackColor(ui::kSysWindowBackground);
  EXPECT_EQ(g.CellBackColor(), ui::kSysWindowBackground);
}

TEST(ListGrid, FillStyleRepeatColoursTheWholeSelection) {
  ListGrid g(nullptr, "flexSyoList");
  g.SetRows(4);
  g.SetCols(4);
  g.SetRow(1);
  g.SetCol(0);
  g.SetColSel(3);
  g.fill_style = 1;
  g.SetCellBackColor(0xFFC8FF);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(g.CellBackColorAt(1, c), 0xFFC8FFu) << c;
  EXPECT_NE(g.CellBackColorAt(2, 0), 0xFFC8FFu);
}

TEST(ListGrid, SortsRowsWithoutRegardToCaseAndMovesTheirColours) {
  ListGrid g(nullptr, "flexSyoList");
  g.SetCols(2);
  g.SetRows(1);
  for (const char* key : {"02/b", "01/A", "02/A", "01/a"}) g.AddItem(std::string(key) + "\t" + key);
  g.SetCellForeColorAt(1, 1, 0x0000FF);
  g.Sort(1, 4, 0, ListSort::kStringNoCaseAscending);
  std::string order;
  for (int r = 1; r <= 4; ++r) order += g.TextMatrix(r, 0) + " ";
  EXPECT_EQ(order, "01/A 01/a 02/A 02/b ");  // A and a tie case-blind: kept in order
  EXPECT_EQ(g.CellForeColorAt(4, 1), 0x0000FFu);
  EXPECT_EQ(g.TextMatrix(0, 0), "");  // the header row stays

  g.Sort(1, 4, 0, ListSort::kStringAscending);
  EXPECT_EQ(g.TextMatrix(1, 0), "01/A");
  EXPECT_EQ(g.TextMatrix(2, 0), "01/a");
  g.Sort(4, 1, 0, ListSort::kStringDescending);
  EXPECT_EQ(g.TextMatrix(1, 0), "02/b");
}

TEST(ListGrid, KeysReachTheHandlersAndArrowsMoveUnlessSwallowed) {
  ListGrid g(nullptr, "flxGroop");
  FillGroups(g, 5);
  g.SetFixedRows(0);
  g.SetFixedCols(0);
  std::vector<int> ups;
  g.on_key_up = [&](int& key, int) { ups.push_back(key); };
  g.on_key_down = [](int& key, int) {
    if (key == kKeyUp) key = 0;
  };
  g.SetRow(2);
  g.PressKey(kKeyDown);
  g.PressKey(kKeyUp);
  g.PressKey(kKeyReturn);
  EXPECT_EQ(g.row(), 3);
  EXPECT_EQ(ups, (std::vector<int>{kKeyDown, kKeyUp, kKeyReturn}));
  g.enabled = false;
  g.PressKey(kKeyReturn);
  g.ClickCell(0, 0);
  EXPECT_EQ(ups.size(), 3u);
  EXPECT_EQ(g.row(), 3);
}

TEST(ListGrid, ClickRaisesMouseUpThenClickAtTheClickedRow) {
  ListGrid g(nullptr, "flexSyoList");
  g.SetRows(4);
  g.SetCols(2);
  g.SetRowHeight(-1, 270);
  std::vector<std::string> log;
  g.on_mouse_up = [&](int button, int, float, float y) {
    log.push_back("up " + std::to_string(button) + " " + std::to_string(static_cast<int>(y)));
  };
  g.on_click = [&] { log.push_back("click " + std::to_string(g.row())); };
  g.on_dbl_click = [&] { log.push_back("dbl"); };
  g.DoubleClickCell(2, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"up 1 675", "click 2", "dbl"}));
  EXPECT_EQ(g.mouse_row(), 2);
  g.ClickCell(0, 1);  // a header row: the current row stays
  EXPECT_EQ(g.row(), 2);
}

TEST(TabStrip, ProgramSelectionRaisesClickOnChangeAndTheUserAlways) {
  TabStrip t(nullptr, "tabSyoList");
  int clicks = 0;
  t.on_click = [&] { ++clicks; };
  EXPECT_EQ(t.selected_index(), 0);
  EXPECT_EQ(t.Add("胃", "3"), 1);
  t.Add("全て");
  EXPECT_EQ(t.selected_index(), 1);
  EXPECT_EQ(clicks, 0);
  t.Select(1);
  EXPECT_EQ(clicks, 0);
  t.Select(2);
  EXPECT_EQ(clicks, 1);
  t.ClickTab(2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(t.tab(1).tag, "3");
  EXPECT_EQ(t.tab(2).tag, "");
  EXPECT_THROW(t.tab(3), RunTimeError);
  t.Clear();
  EXPECT_EQ(t.selected_index(), 0);
  EXPECT_EQ(t.count(), 0);
}

}  // namespace
}  // namespace qz::grid
