// The row of the group-jump list that stands for an input group.
#include "loading/jump_group_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loading/group_forms.h"
#include "platform/ui/scripted_shell.h"

namespace qz::testing {
namespace {

class JumpGroupIndex : public ::testing::Test {
 protected:
  JumpGroupIndex() { shell.auto_answer = true; }
  ~JumpGroupIndex() override { frmGrpJmp.Reset(); }
  // Fills the jump list with one row per text of column 3.
  static void Fill(const std::vector<std::string>& group_texts) {
    grid::ListGrid& list = frmGrpJmp->flxGroop;
    list.SetRows(0);
    for (const std::string& text : group_texts) {
      list.AddItem("name");
      list.SetTextMatrix(list.rows() - 1, 3, text);
    }
  }
  ui::ScriptedShell shell;
};

TEST_F(JumpGroupIndex, FirstRowWhoseGroupColumnReadsAsTheNumber) {
  Fill({"0", "2", "1", " 02", "2"});
  EXPECT_EQ(Fnc_GetJumpGroupIndex(0), 0);
  EXPECT_EQ(Fnc_GetJumpGroupIndex(1), 2);
  EXPECT_EQ(Fnc_GetJumpGroupIndex(2), 1);  // the first of three rows that read as 2
  EXPECT_EQ(Fnc_GetJumpGroupIndex(3), -1);
  EXPECT_EQ(Fnc_GetJumpGroupIndex(-1), -1);
  EXPECT_TRUE(shell.boxes().empty());
}

TEST_F(JumpGroupIndex, EmptyListHasNoRow) {
  Fill({});
  EXPECT_EQ(Fnc_GetJumpGroupIndex(0), -1);
  EXPECT_TRUE(shell.boxes().empty());
}

// A list cut to fewer columns has no column 3: the error report, and -1.
TEST_F(JumpGroupIndex, ListWithoutGroupColumnReportsAndGivesNone) {
  Fill({"0"});
  frmGrpJmp->flxGroop.SetCols(2);
  EXPECT_EQ(Fnc_GetJumpGroupIndex(0), -1);
  ASSERT_EQ(shell.boxes().size(), 1u);
  EXPECT_EQ(shell.boxes()[0].request.text.rfind("入力グループ（ジャンプ画面）の添字取得処理でエラーが発生しました。\r\n", 0), 0u);
  EXPECT_EQ(shell.boxes()[0].request.title, "結果入力");
}

}  // namespace
}  // namespace qz::testing
