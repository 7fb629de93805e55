// What the spreadsheet grid model reports changed to a front end: the
// revision, the changed cell ranges and the count of cell reads.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/grid/spread.h"

namespace qz::grid {
namespace {

bool SameRange(const Range& a, const Range& b) {
  return a.col1 == b.col1 && a.row1 == b.row1 && a.col2 == b.col2 && a.row2 == b.row2;
}

std::string Show(const Spread::Changes& c) {
  if (c.all) return "all";
  std::string s;
  for (const Range& r : c.ranges) {
    s += "(" + std::to_string(r.col1) + "," + std::to_string(r.row1) + ")-(" + std::to_string(r.col2) + "," +
         std::to_string(r.row2) + ") ";
  }
  return s;
}

class SpreadChangesTest : public ::testing::Test {
 protected:
  SpreadChangesTest() {
    spr.SetMaxCols(12);
    spr.SetMaxRows(40);
    spr.SetText(1, 1, "身長");
    spr.TakeChanges();
  }
  Spread spr{nullptr, "sprResult"};
};

struct ChangeCase {
  const char* name;
  std::function<void(Spread&)> change;
  bool all;
  std::vector<Range> ranges;
};

TEST_F(SpreadChangesTest, ReportsTheCellsEachWriteChanged) {
  const std::vector<ChangeCase> cases = {
      {"one text", [](Spread& s) { s.SetText(5, 7, "12.0 "); }, false, {Range::Cell(5, 7)}},
      {"cells side by side in a row join",
       [](Spread& s) {
         s.SetText(5, 7, "12.0 ");
         s.SetText(6, 7, "(未実施)");
         s.SetForeColor(Range::Cell(7, 7), 0xFF);
       },
       false,
       {Range::Block(5, 7, 7, 7)}},
      {"cells apart stay apart",
       [](Spread& s) {
         s.SetText(5, 7, "A");
         s.SetText(5, 30, "B");
       },
       false,
       {Range::Cell(5, 7), Range::Cell(5, 30)}},
      {"a whole-row colour", [](Spread& s) { s.SetBackColor(Range::Row(9), 0xC0C0FF); }, false, {Range::Row(9)}},
      {"a cell inside a row already changed", [](Spread& s) {
         s.SetBackColor(Range::Row(9), 0xC0C0FF);
         s.SetText(3, 9, "x");
       }, false, {Range::Row(9)}},
      {"a new size", [](Spread& s) { s.SetMaxRows(41); }, true, {}},
      {"an emptied cell that never held text", [](Spread& s) { s.SetText(8, 20, ""); }, false, {}},
      {"a sort", [](Spread& s) { s.Sort(Range::Block(1, 1, 3, 4), std::vector<SortKey>{{1, true}}); }, false,
       {Range::Block(1, 1, 3, 4)}},
  };
  for (const ChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    spr.TakeChanges();
    c.change(spr);
    const Spread::Changes got = spr.TakeChanges();
    EXPECT_EQ(got.all, c.all) << Show(got);
    ASSERT_EQ(got.ranges.size(), c.ranges.size()) << Show(got);
    for (std::size_t i = 0; i < got.ranges.size(); ++i) EXPECT_TRUE(SameRange(got.ranges[i], c.ranges[i])) << Show(got);
    EXPECT_FALSE(spr.TakeChanges().all) << "taking clears the record";
  }
}

TEST_F(SpreadChangesTest, TooManyScatteredChangesBecomeAllAndTheRevisionTellsEveryChange) {
  spr.SetMaxRows(100);
  spr.TakeChanges();
  const std::uint64_t before = spr.revision();
  for (int r = 1; r <= 100; r += 2) {
    for (int c = 1; c <= 12; c += 2) spr.SetText(c, r, "x");
  }
  EXPECT_TRUE(spr.TakeChanges().all);
  EXPECT_GT(spr.revision(), before);

  // The active cell, scrolling, the editor and line sizes raise the revision.
  std::uint64_t rev = spr.revision();
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"move", [&] { spr.MoveActiveCell(3, 5); }},
      {"edit", [&] { spr.TypeText("7"); }},
      {"back", [&] { spr.DeliverKeyDown(kKeyBack, 0); }},
      {"commit", [&] { spr.DeliverKeyDown(kKeyReturn, 0); }},
      {"width", [&] { spr.SetColWidth(2, 0); }},
      {"scroll", [&] {
         spr.row = 30;
         spr.SetAction(kActionGotoTop);
       }},
  };
  for (const auto& [name, step] : steps) {
    step();
    EXPECT_GT(spr.revision(), rev) << name;
    rev = spr.revision();
  }
}

TEST_F(SpreadChangesTest, EveryEditingKeyReportsTheEditingCell) {
  // The caret and the selection are drawn in the cell: each key that moves
  // them or changes the editor's text must have the cell repainted.
  const std::vector<std::pair<const char*, std::function<void()>>> keys = {
      {"type", [&] { spr.TypeText("12"); }},
      {"left", [&] { spr.DeliverKeyDown(kKeyLeft, 0); }},
      {"home", [&] { spr.DeliverKeyDown(kKeyHome, 0); }},
      {"shift+end", [&] { spr.DeliverKeyDown(kKeyEnd, kShiftMask); }},
      {"ctrl+a", [&] { spr.DeliverKeyDown('A', kCtrlMask); }},
      {"ctrl+x", [&] { spr.DeliverKeyDown('X', kCtrlMask); }},
      {"ctrl+v (the text cut)", [&] { spr.DeliverKeyDown('V', kCtrlMask); }},
      {"backspace", [&] { spr.DeliverKeyDown(kKeyBack, 0); }},
      {"home then delete", [&] {
         spr.DeliverKeyDown(kKeyHome, 0);
         spr.TakeChanges();
         spr.DeliverKeyDown(kKeyDelete, 0);
       }},
      {"escape", [&] { spr.DeliverKeyDown(kKeyEscape, 0); }},
      {"f2", [&] { spr.DeliverKeyDown(kKeyF2, 0); }},
      {"enter", [&] { spr.DeliverKeyDown(kKeyReturn, 0); }},
  };
  ASSERT_TRUE(spr.MoveActiveCell(3, 5));
  for (const auto& [name, key] : keys) {
    SCOPED_TRACE(name);
    spr.TakeChanges();
    key();
    const Spread::Changes got = spr.TakeChanges();
    ASSERT_EQ(got.ranges.size(), 1u) << Show(got);
    EXPECT_TRUE(SameRange(got.ranges[0], Range::Cell(3, 5))) << Show(got);
  }
}

TEST_F(SpreadChangesTest, ReadingCellsIsCountedAndTrackingReadsNone) {
  const std::uint64_t reads = spr.cell_reads();
  spr.revision();
  spr.TakeChanges();
  EXPECT_EQ(spr.cell_reads(), reads);
  EXPECT_EQ(spr.TextAt(1, 1), "身長");
  spr.FormatAt(1, 1);
  EXPECT_GT(spr.cell_reads(), reads);
}

}  // namespace
}  // namespace qz::grid
