// The small modal dialogs of the result screen: the unconfirmed-item list
// (what it lists from the grid, its answers, a click that jumps to a row),
// the unperformed-item list, the sub-menu and the shortcut help.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/ui/scripted_shell.h"
#include "tools/frm_chk_input.h"
#include "tools/frm_hint.h"
#include "tools/frm_opchk.h"
#include "tools/frm_sub_menu.h"

namespace qz::testing {
namespace {

class CheckDialogs : public ::testing::Test {
 protected:
  CheckDialogs() {
    basPublic = BasPublic{};
    frmResultIn = FrmResultInState{};
    frmResultIn.sprResult = &spr;
    basPublic.ColorPast = 0x80000011;
    basPublic.AutoJudgeDone = true;
  }
  ~CheckDialogs() override {
    frmChkInput.Reset();
    frmOpchk.Reset();
    frmSubMenu.Reset();
    frmHint.Reset();
    frmResultIn = FrmResultInState{};
    basPublic = BasPublic{};
  }

  // Grid rows from basPublic.DataRow: item name, done mark, and whether the
  // row is one of an item shown only for earlier consultations.
  struct Row {
    const char* item;
    const char* done;
    bool past = false;
  };
  void Rows(const std::vector<Row>& rows) {
    spr.SetMaxCols(basPublic.PastCol);
    spr.SetMaxRows(basPublic.DataRow - 1 + static_cast<int>(rows.size()));
    int r = basPublic.DataRow;
    for (const Row& row : rows) {
      spr.SetText(basPublic.ItemCol, r, row.item);
      spr.SetText(basPublic.ChkCol, r, row.done);
      if (row.past) spr.SetBackColor(grid::Range{0, r, 0, r}, static_cast<ui::Color>(basPublic.ColorPast));
      ++r;
    }
  }
  // The list's data lines as "<row>|<item>".
  std::vector<std::string> Listed() const {
    std::vector<std::string> lines;
    grid::ListGrid& list = frmChkInput->flxItem;
    for (int r = list.fixed_rows(); r < list.rows(); ++r) {
      lines.push_back(list.TextMatrix(r, 0) + "|" + list.TextMatrix(r, 1));
    }
    return lines;
  }

  ui::ScriptedShell shell;
  grid::Spread spr{nullptr, "sprResult"};
};

TEST_F(CheckDialogs, TheUnconfirmedListShowsTheRowsWithoutTheDoneMarkAndSaveAnswersOne) {
  Rows({{"身長", "V"}, {"体重", ""}, {"前回のみ", "", true}, {"腹囲", "v"}, {"視力", "V"}});
  std::vector<std::string> listed;
  std::string label;
  shell.Do([&] {
    listed = Listed();
    label = frmChkInput->lblCheck.caption;
  });
  shell.Click("frmChkInput", "cmdSave");
  ASSERT_TRUE(shell.Drive([] { frmChkInput->Show(true); }));
  EXPECT_SCRIPT_OK(shell);
  EXPECT_EQ(listed, (std::vector<std::string>{"5|体重", "7|腹囲"}));
  EXPECT_EQ(label, "");
  EXPECT_EQ(basPublic.ChkInputAnswer, 1);
  EXPECT_FALSE(frmChkInput.loaded());
}

TEST_F(CheckDialogs, TheUnconfirmedListsLabelTellsAllCheckedOrTheMissingAutomaticJudgement) {
  struct Case {
    std::vector<Row> rows;
    bool judged;
    const char* label;
  } cases[] = {
      {{{"身長", "V"}}, true, "全てチェック済みです。"},
      {{{"身長", "V"}}, false, "自動判定が未実行です"},
      {{{"身長", ""}}, false, "自動判定が未実行です"},
      {{}, true, "全てチェック済みです。"},
  };
  for (const Case& c : cases) {
    Rows(c.rows);
    basPublic.AutoJudgeDone = c.judged;
    std::string label;
    shell.Do([&] { label = frmChkInput->lblCheck.caption; });
    shell.CloseBox("frmChkInput");
    ASSERT_TRUE(shell.Drive([] { frmChkInput->Show(true); }));
    EXPECT_EQ(label, c.label);
    EXPECT_EQ(basPublic.ChkInputAnswer, 0) << "closing is no save";
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(CheckDialogs, BackLeavesTheAnswerAtZero) {
  Rows({{"体重", ""}});
  basPublic.ChkInputAnswer = 1;  // what an earlier showing left
  shell.Click("frmChkInput", "cmdClose");
  ASSERT_TRUE(shell.Drive([] { frmChkInput->Show(true); }));
  EXPECT_SCRIPT_OK(shell);
  EXPECT_EQ(basPublic.ChkInputAnswer, 0);
}

TEST_F(CheckDialogs, AClickOnALineGoesToThatRowsDoneCheckAndCloses) {
  Rows({{"身長", "V"}, {"体重", ""}, {"腹囲", ""}});
  shell.Do([&] { frmChkInput->flxItem.ClickCell(2, 1); });
  ASSERT_TRUE(shell.Drive([] { frmChkInput->Show(true); }));
  EXPECT_SCRIPT_OK(shell);
  EXPECT_FALSE(frmChkInput.loaded());
  EXPECT_EQ(basPublic.ChkInputAnswer, 0);
  EXPECT_EQ(spr.active_col(), basPublic.ChkCol);
  EXPECT_EQ(spr.active_row(), 6);
}

TEST_F(CheckDialogs, AClickOnTheHeaderOfAnEmptyListOnlyCloses) {
  Rows({{"身長", "V"}});
  shell.Do([&] { frmChkInput->flxItem.ClickCell(0, 1); });
  ASSERT_TRUE(shell.Drive([] { frmChkInput->Show(true); }));
  EXPECT_SCRIPT_OK(shell);
  EXPECT_FALSE(frmChkInput.loaded());
  EXPECT_EQ(spr.active_row(), 1);
}

TEST_F(CheckDialogs, TheUnperformedListEndsOnlyWithItsEndButton) {
  struct Case {
    bool end;
    int answer;
  } cases[] = {{true, 1}, {false, 0}};
  for (const Case& c : cases) {
    basPublic.OpchkAnswer = 7;
    if (c.end) {
      shell.Click("frmOpchk", "cmdSave");
    } else {
      shell.CloseBox("frmOpchk");
    }
    ASSERT_TRUE(shell.Drive([] { frmOpchk->Show(true); }));
    EXPECT_EQ(basPublic.OpchkAnswer, c.answer);
  }
  shell.Click("frmOpchk", "cmdClose");
  ASSERT_TRUE(shell.Drive([] { frmOpchk->Show(true); }));
  EXPECT_EQ(basPublic.OpchkAnswer, 0);
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(CheckDialogs, TheUnperformedListTakesTheCallersItemsFromItsFirstRow) {
  FrmOpchk& dialog = *frmOpchk;
  EXPECT_EQ(dialog.flxOpchk.rows(), 0);
  EXPECT_EQ(dialog.lblCheck.caption, "未実施の検査はありません。");
  dialog.flxOpchk.AddItem("身長");
  dialog.flxOpchk.AddItem("体重");
  EXPECT_EQ(dialog.flxOpchk.TextMatrix(0, 0), "身長");
  EXPECT_EQ(dialog.flxOpchk.TextMatrix(1, 0), "体重");
}

TEST_F(CheckDialogs, TheSubMenuAnswersTheButtonPressedOrNothing) {
  for (int i = 0; i < kSubMenuButtons; ++i) {
    shell.Click("frmSubMenu", "cmdMenu", i);
    ASSERT_TRUE(shell.Drive([] { frmSubMenu->Show(true); }));
    EXPECT_EQ(basPublic.SubMenuChoice, i);
  }
  EXPECT_EQ(frmSubMenu->cmdMenu(7).caption, "過去結果コピー");
  frmSubMenu.Reset();
  for (const char* close : {"box", "button"}) {
    if (std::string(close) == "box") {
      shell.CloseBox("frmSubMenu");
    } else {
      shell.Click("frmSubMenu", "cmdClose");
    }
    ASSERT_TRUE(shell.Drive([] { frmSubMenu->Show(true); }));
    EXPECT_EQ(basPublic.SubMenuChoice, kSubMenuNone) << close;
  }
  EXPECT_SCRIPT_OK(shell);
}

TEST_F(CheckDialogs, TheHelpListsEveryShortcutWithItsAlignedBlanks) {
  frmHint->Load();
  const ui::ListBox& list = frmHint->lstHint;
  ASSERT_EQ(list.list_count(), 30);
  EXPECT_EQ(list.List(0), "Ctrl  + F1  : ﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(list.List(2), "");
  EXPECT_EQ(list.List(4), "Ctrl  + F11 : 更新日時表示");
  EXPECT_EQ(list.List(19), "Shift + F10 : ﾌﾟﾚﾋﾞｭｰ帳票選択");
  EXPECT_EQ(list.List(29), "保存終了ボタンの右クリック : 全てのチェックを無視して保存");
  EXPECT_EQ(frmHint->caption, "操作説明");
}

}  // namespace
}  // namespace qz::testing
