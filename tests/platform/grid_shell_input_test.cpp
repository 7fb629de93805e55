// Input the shell delivers to a focused grid reaches the grid's own events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/ui_expect.h"
#include "platform/grid/list_grid.h"
#include "platform/grid/spread.h"
#include "platform/grid/tab_strip.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/scripted_shell.h"

namespace qz::grid {
namespace {

using Log = std::vector<std::string>;

// A form with a result grid and a button, every grid event logged.
struct GridForm : ui::Form {
  GridForm() : Form("frmGrid") {
    spr.SetMaxCols(3);
    spr.SetMaxRows(3);
    spr.tab_index = 0;
    cmd.tab_index = 1;
    spr.on_key_down = [this](int& key, int) { log.push_back("key " + std::to_string(key)); };
    spr.on_leave_cell = [this](int c, int r, int nc, int nr, bool&) {
      log.push_back("leave " + std::to_string(c) + "," + std::to_string(r) + ">" + std::to_string(nc) + "," +
                    std::to_string(nr));
    };
    spr.on_click = [this](int c, int r) { log.push_back("click " + std::to_string(c) + "," + std::to_string(r)); };
    spr.on_change = [this](int c, int r) { log.push_back("change " + std::to_string(c) + "," + std::to_string(r)); };
    cmd.on_click = [this] { log.push_back("cmd"); };
  }
  Spread& spr = Add<Spread>("sprResult");
  ui::CommandButton& cmd = Add<ui::CommandButton>("cmdOk");
  Log log;
};

TEST(GridShellInput, KeysTypingAndClicksReachTheFocusedGrid) {
  ui::ScriptedShell shell;
  GridForm form;
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  ASSERT_EQ(form.active_control(), &form.spr);

  shell.Key(ui::kKeyDown).Key('7').Key(ui::kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.spr.active_row(), 2);
  EXPECT_EQ(form.spr.TextAt(1, 2), "7");

  form.log.clear();
  shell.Do([&] { form.spr.PointAt(3, 1); }).Click("frmGrid", "sprResult");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.log, (Log{"leave 1,2>3,1", "click 3,1"}));

  form.log.clear();
  shell.Click("frmGrid", "cmdOk");
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.log, (Log{"leave 3,1>-1,-1", "cmd"})) << "the grid is left before the button's click";
  EXPECT_SCRIPT_OK(shell);
}

TEST(GridShellInput, TypedFullWidthTextGoesIntoTheActiveCell) {
  ui::ScriptedShell shell;
  GridForm form;
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));
  shell.Type("frmGrid", "sprResult", "陰性").Key(ui::kKeyReturn);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(form.spr.TextAt(1, 1), "陰性");
  EXPECT_EQ(form.log, (Log{"key 13", "change 1,1"}));
}

TEST(GridShellInput, ListGridAndTabStripTakeKeysAndClicks) {
  ui::ScriptedShell shell;
  ui::Form form("frmList");
  auto& grid = form.Add<ListGrid>("grdList");
  auto& tabs = form.Add<TabStrip>("tabKind");
  grid.SetRows(4);
  tabs.Add("所見");
  tabs.Add("判定");
  Log log;
  grid.on_key_down = [&](int& key, int) { log.push_back("grid key " + std::to_string(key)); };
  grid.on_click = [&] { log.push_back("grid click " + std::to_string(grid.row())); };
  tabs.on_key_down = [&](int& key, int) { log.push_back("tab key " + std::to_string(key)); };
  tabs.on_click = [&] { log.push_back("tab " + std::to_string(tabs.selected_index())); };
  ASSERT_TRUE(shell.Drive([&] { form.Show(); }));

  shell.Key(ui::kKeyDown)
      .Do([&] { grid.PointAt(3, 1); })
      .Click("frmList", "grdList")
      .Do([&] { tabs.PointAt(2); })
      .Click("frmList", "tabKind")
      .Key(ui::kKeyF5);
  ASSERT_TRUE(shell.Play());
  EXPECT_EQ(log, (Log{"grid key 40", "grid click 3", "tab 2", "tab key 116"}));
  EXPECT_SCRIPT_OK(shell);
}

}  // namespace
}  // namespace qz::grid
