// Active cell, edit mode, events and user actions of the spreadsheet grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/spread.h"

namespace qz::grid {
namespace {

// A result grid with every event written into `log`.
class SpreadEventsTest : public ::testing::Test {
 protected:
  SpreadEventsTest() {
    spr.SetMaxCols(12);
    spr.SetMaxRows(10);
    spr.on_leave_cell = [this](int c, int r, int nc, int nr, bool& cancel) {
      Log("leave " + Cell(c, r) + ">" + Cell(nc, nr));
      if (leave_hook) leave_hook(c, r, nc, nr, cancel);
    };
    spr.on_change = [this](int c, int r) { Log("change " + Cell(c, r) + " " + spr.TextAt(c, r)); };
    spr.on_click = [this](int c, int r) { Log("click " + Cell(c, r)); };
    spr.on_dbl_click = [this](int c, int r) {
      Log("dblclick " + Cell(c, r));
      if (dbl_hook) dbl_hook();
    };
    spr.on_key_down = [this](int& key, int shift) {
      Log("keydown " + std::to_string(key) + "/" + std::to_string(shift));
      if (key_hook) key_hook(key);
    };
    spr.on_right_click = [this](int, int c, int r, int, int) { Log("rightclick " + Cell(c, r)); };
    spr.on_mouse_up = [this](int button, int, float, float) { Log("mouseup " + std::to_string(button)); };
  }

  static std::string Cell(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }
  void Log(const std::string& s) { log.push_back(s); }
  std::string Active() const { return Cell(spr.active_col(), spr.active_row()); }

  Spread spr{nullptr, "sprResult"};
  std::vector<std::string> log;
  std::function<void(int, int, int, int, bool&)> leave_hook;
  std::function<void()> dbl_hook;
  std::function<void(int&)> key_hook;
};

using Events = std::vector<std::string>;

TEST_F(SpreadEventsTest, LeaveCellIsRaisedOnEveryMove) {
  spr.ClickCell(5, 4);
  spr.DeliverKeyDown(kKeyDown, 0);
  spr.DeliverKeyDown(kKeyTab, kShiftMask);
  spr.col = 8;
  spr.row = 7;
  spr.SetAction(kActionActiveCell);
  spr.ClickCell(8, 7);  // the active cell again: no leave
  EXPECT_EQ(log, (Events{"leave 1,1>5,4", "mouseup 1", "click 5,4", "keydown 40/0", "leave 5,4>5,5",
                      "keydown 9/1", "leave 5,5>4,5", "leave 4,5>8,7", "mouseup 1", "click 8,7"}));
  EXPECT_EQ(Active(), "8,7");
}

TEST_F(SpreadEventsTest, ACancelledLeaveKeepsTheCellAndAHandlerMayMoveElsewhere) {
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  // A move onto a header row is cancelled and the cursor put on row 4
  // instead, from inside the handler.
  leave_hook = [this](int, int, int nc, int nr, bool& cancel) {
    if (nr < 4) {
      cancel = true;
      if (nr != -1) {
        spr.col = nc;
        spr.row = 4;
        spr.SetAction(kActionActiveCell);
      }
    }
  };
  log.clear();
  EXPECT_FALSE(spr.MoveActiveCell(2, 1));
  EXPECT_EQ(Active(), "2,4");
  EXPECT_EQ(log, (Events{"leave 5,4>2,1", "leave 5,4>2,4"}));

  log.clear();
  spr.ClickCell(6, 2);  // the click is raised even though the move was refused
  EXPECT_EQ(Active(), "6,4");
  EXPECT_EQ(log, (Events{"leave 2,4>6,2", "leave 2,4>6,4", "mouseup 1", "click 6,2"}));
}

TEST_F(SpreadEventsTest, LosingTheFocusCommitsTheEditAndLeavesWithMinusOne) {
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.OnFocusArriving(nullptr);
  EXPECT_TRUE(spr.has_focus());
  std::string seen;
  leave_hook = [&](int c, int r, int, int, bool& cancel) {
    seen = spr.TextAt(c, r) + (spr.edit_mode() ? " editing" : " committed");
    cancel = true;  // cannot keep the focus
  };
  spr.TypeText("12.5");
  log.clear();
  spr.OnFocusLeaving(nullptr);
  EXPECT_EQ(log, (Events{"change 5,4 12.5", "leave 5,4>-1,-1"}));
  EXPECT_EQ(seen, "12.5 committed");
  EXPECT_FALSE(spr.has_focus());
  EXPECT_EQ(Active(), "5,4");
}

TEST_F(SpreadEventsTest, WhileEditingTextReadsAndWritesTheEditor) {
  spr.SetText(5, 4, "old");
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.TypeText("12");  // typing replaces
  spr.col = 5;
  spr.row = 4;
  EXPECT_TRUE(spr.edit_mode());
  EXPECT_EQ(spr.Text(), "12");
  std::string got;
  ASSERT_TRUE(spr.GetText(5, 4, got));
  EXPECT_EQ(got, "12");

  spr.SetText("12.0 ");  // the program formats the typed value
  EXPECT_EQ(spr.edit_text(), "12.0 ");
  EXPECT_TRUE(spr.edit_mode());
  log.clear();
  spr.SetEditMode(false);
  EXPECT_FALSE(spr.edit_mode());
  EXPECT_EQ(spr.TextAt(5, 4), "12.0 ");
  EXPECT_EQ(log, (Events{"change 5,4 12.0 "}));
}

TEST_F(SpreadEventsTest, EditKeysStartKeepAbandonAndCommit) {
  spr.SetText(5, 4, "ab");
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.DeliverKeyDown(kKeyF2, 0);  // F2 keeps the text
  spr.TypeText("c");
  spr.DeliverKeyDown(kKeyBack, 0);
  spr.DeliverKeyDown(kKeyBack, 0);
  spr.TypeText("結");
  EXPECT_EQ(spr.edit_text(), "a結");
  spr.DeliverKeyDown(kKeyEscape, 0);
  EXPECT_EQ(spr.TextAt(5, 4), "ab");

  spr.TypeText("x");
  log.clear();
  spr.DeliverKeyDown(kKeyReturn, 0);
  EXPECT_EQ(spr.TextAt(5, 4), "x");
  EXPECT_EQ(log, (Events{"keydown 13/0", "change 5,4 x"}));

  spr.SetEditMode(true);  // an unchanged commit raises no change
  log.clear();
  spr.SetEditMode(false);
  EXPECT_TRUE(log.empty());
}

TEST_F(SpreadEventsTest, AKeyHandlerMaySwallowTheKeyOrMoveTheCursorItself) {
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  key_hook = [this](int& key) {
    if (key == kKeyReturn) {  // an Enter handler: move to the next input cell
      spr.col = 5;
      spr.row = 6;
      spr.SetAction(kActionActiveCell);
      key = 0;
    }
    if (key == kKeyDown) key = 0;
  };
  spr.TypeText("7");
  log.clear();
  EXPECT_EQ(spr.DeliverKeyDown(kKeyReturn, 0), 0);
  EXPECT_EQ(spr.DeliverKeyDown(kKeyDown, 0), 0);
  EXPECT_EQ(Active(), "5,6");
  EXPECT_EQ(spr.TextAt(5, 4), "7");
  EXPECT_EQ(log, (Events{"keydown 13/0", "change 5,4 7", "leave 5,4>5,6", "keydown 40/0"}));
}

TEST_F(SpreadEventsTest, ArrowsInsideAnEditorDoNotMoveButUpAndDownDo) {
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.TypeText("1");
  spr.DeliverKeyDown(kKeyLeft, 0);
  EXPECT_EQ(Active(), "5,4");
  EXPECT_TRUE(spr.edit_mode());
  spr.DeliverKeyDown(kKeyDown, kAltMask);  // drops a list down
  EXPECT_EQ(Active(), "5,4");
  spr.DeliverKeyDown(kKeyUp, 0);
  EXPECT_EQ(Active(), "5,3");
  EXPECT_EQ(spr.TextAt(5, 4), "1");
}

TEST_F(SpreadEventsTest, TypeIntoCellClicksThenSendsAKeyAndTheCharacterEach) {
  spr.TypeIntoCell(5, 4, "1a");
  EXPECT_EQ(log, (Events{"leave 1,1>5,4", "mouseup 1", "click 5,4", "keydown 49/0", "keydown 65/0"}));
  EXPECT_EQ(spr.edit_text(), "1a");
}

TEST_F(SpreadEventsTest, HeaderClicksRaiseClickWithoutMoving) {
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  log.clear();
  spr.ClickCell(5, 0);
  spr.ClickCell(0, 6);
  EXPECT_EQ(Active(), "5,4");
  EXPECT_EQ(log, (Events{"mouseup 1", "click 5,0", "mouseup 1", "click 0,6"}));
}

TEST_F(SpreadEventsTest, DoubleClickOpensTheEditorUnlessTheHandlerClosesIt) {
  spr.SetText(5, 4, "abc");
  spr.DoubleClickCell(5, 4);
  EXPECT_TRUE(spr.edit_mode());
  EXPECT_EQ(spr.edit_text(), "abc");
  EXPECT_EQ(log.back(), "dblclick 5,4");

  dbl_hook = [this] { spr.SetEditMode(false); };
  spr.DoubleClickCell(5, 5);
  EXPECT_FALSE(spr.edit_mode());
}

TEST_F(SpreadEventsTest, RightButtonRaisesRightClickOnPressAndMouseUpOnRelease) {
  ASSERT_TRUE(spr.MoveActiveCell(1, 4));
  log.clear();
  spr.RightClickCell(5, 6);
  EXPECT_EQ(log, (Events{"rightclick 5,6", "mouseup 2"}));
  EXPECT_EQ(Active(), "1,4");
}

TEST_F(SpreadEventsTest, PickingAComboEntryRaisesChangeWithTheVerbatimEntry) {
  spr.SetCellType(Range::Cell(5, 4), CellType::kComboBox);
  spr.SetComboList(Range::Cell(5, 4), "胃炎$00000101\r\n\t◆◆検索画面を開きます◆◆");
  spr.SetComboEditable(Range::Cell(5, 4), true);
  ASSERT_TRUE(spr.MoveActiveCell(5, 4));
  spr.TypeText("typed");
  log.clear();
  ASSERT_TRUE(spr.PickComboEntry(0));
  EXPECT_EQ(log, (Events{"change 5,4 胃炎$00000101\r\n"}));
  EXPECT_FALSE(spr.edit_mode());
  EXPECT_EQ(spr.ComboCurSelAt(5, 4), 0);
  EXPECT_FALSE(spr.PickComboEntry(2));
}

TEST_F(SpreadEventsTest, TextTipsArePrefilledWithTheCellText) {
  spr.SetText(2, 5, "  基準値  ");
  EXPECT_FALSE(spr.FetchTextTip(2, 5).has_value());  // tips off
  spr.text_tip = 1;
  EXPECT_EQ(spr.FetchTextTip(2, 5), "  基準値  ");
  std::string offered;
  spr.on_text_tip_fetch = [&](int, int, int&, int&, std::string& tip, bool& show) {
    offered = tip;
    show = tip.find("隠") == std::string::npos;
    tip = "tip:" + tip;
  };
  EXPECT_EQ(spr.FetchTextTip(2, 5), "tip:  基準値  ");
  EXPECT_EQ(offered, "  基準値  ");
  spr.SetText(3, 5, "隠す");
  EXPECT_FALSE(spr.FetchTextTip(3, 5).has_value());
  spr.text_tip = 3;  // only while focused
  EXPECT_FALSE(spr.FetchTextTip(2, 5).has_value());
}

TEST_F(SpreadEventsTest, ScrollActionsBringTheRowIntoViewOrToTheTop) {
  spr.SetMaxRows(100);
  spr.page_rows = 10;
  spr.rows_frozen = 3;
  spr.col = 5;
  spr.row = 50;
  spr.SetAction(kActionGotoCell);
  EXPECT_EQ(spr.top_row(), 41);
  spr.SetAction(kActionGotoTop);
  EXPECT_EQ(spr.top_row(), 50);
  spr.row = 2;  // a frozen row never scrolls
  spr.SetAction(kActionGotoTop);
  EXPECT_EQ(spr.top_row(), 50);
  spr.row = 45;
  spr.SetAction(kActionGotoCell);
  EXPECT_EQ(spr.top_row(), 45);
  EXPECT_EQ(spr.active_row(), 1);  // scrolling does not move the active cell
}

TEST_F(SpreadEventsTest, AHiddenOrDisabledGridIgnoresTheUser) {
  spr.enabled = false;
  spr.ClickCell(5, 4);
  EXPECT_FALSE(spr.TypeText("1"));
  spr.enabled = true;
  spr.visible = false;
  spr.DeliverKeyDown(kKeyDown, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Active(), "1,1");
}

TEST_F(SpreadEventsTest, ShrinkingPullsTheActiveCellInAndDropsItsEdit) {
  ASSERT_TRUE(spr.MoveActiveCell(9, 9));
  spr.TypeText("x");
  spr.SetMaxRows(5);
  EXPECT_FALSE(spr.edit_mode());
  EXPECT_EQ(Active(), "9,5");
  EXPECT_EQ(spr.TextAt(9, 5), "");
}

TEST_F(SpreadEventsTest, AMoveWhoseTargetAHandlerCutAwayLeavesTheActiveCellInside) {
  // The reload of the screen rebuilds the grid smaller from inside an event
  // of the move; the click target, a check-box cell with a text, is gone.
  struct Case {
    const char* what;
    int rows, cols;
  } cases[] = {{"rows cut", 5, 12}, {"columns cut", 10, 2}};
  for (const Case& c : cases) {
    Spread s(nullptr, "sprResult");
    s.SetMaxCols(12);
    s.SetMaxRows(10);
    s.SetCellType(Range::Column(3), CellType::kCheckBox);
    s.SetText(3, 8, "1");
    int changes = 0;
    s.on_change = [&](int, int) { ++changes; };
    s.on_leave_cell = [&](int, int, int, int, bool&) {
      s.SetMaxRows(c.rows);
      s.SetMaxCols(c.cols);
    };
    s.ClickCell(3, 8);
    EXPECT_TRUE(s.InGrid(s.active_col(), s.active_row())) << c.what;
    EXPECT_EQ(changes, 0) << c.what << ": no check toggled outside the grid";
    EXPECT_FALSE(s.MoveActiveCell(3, 8)) << c.what;
  }
}

}  // namespace
}  // namespace qz::grid
