// The mouse side of the result grid: the right button (image viewer or
// findings search), a right click on a data cell, and the text tips.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "examinee/bas_public.h"
#include "examinee/frm_result_in.h"
#include "grid/grid_bed.h"
#include "grid/grid_mouse.h"
#include "kit/scratch_dir.h"
#include "kit/tool_path.h"
#include "loading/load_state.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

// Lines: 1 a numeric item, 2 item 200104 (numeric here), 3 item 200100.
class GridMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed.AddItem(1001, kKsyubNumeric);
    bed.AddItem(200104, kKsyubNumeric);
    bed.AddItem(200100, kKsyubNumeric);
    bed.ShowAll();
    basPublic.ExamineeNo = "0000000001";
    basPublic.ConsultDate = 20261209;
    dir.Enter();
  }
  static int Row(int line) { return line + basPublic.DataRow - 1; }
  // Installs the viewer stand-in in the current folder; false when it was
  // not built.
  bool InstallViewer() {
    const std::string tool = testkit::ToolPath("qzp140b");
    if (!fs::exists(tool)) return false;
    fs::copy_file(tool, dir.Path(kViewerProgram));
    return true;
  }
  // What the viewer wrote, waiting up to five seconds for it.
  std::string ViewerLog() {
    for (int i = 0; i < 500 && dir.Read("QZP140B.log").empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return dir.Read("QZP140B.log");
  }
  std::string Status() { return frmResultInForm->lblStatus.caption; }

  testing::GridBed bed;
  testkit::ScratchDir dir;
};

TEST_F(GridMouseTest, TheRightButtonOnAViewerItemsNameStartsTheViewer) {
  if (!InstallViewer()) GTEST_SKIP() << "qzp140b not built";
  // A right click on the name cell makes it the cursor cell.
  bed.spr.RightClickCell(basPublic.ItemCol, Row(2));
  EXPECT_EQ(ViewerLog(), "0000000001,20261209,200104\n");
  EXPECT_EQ(Status(), "");
  EXPECT_TRUE(bed.Boxes().empty());
  // Over a header cell the cursor cell decides.
  fs::remove(dir.Path("QZP140B.log"));
  bed.spr.MoveActiveCell(basPublic.ItemCol, Row(3));
  bed.spr.RightClickCell(basPublic.ResultCol, 1);
  EXPECT_EQ(ViewerLog(), "0000000001,20261209,200100\n");
}

TEST_F(GridMouseTest, OtherCellsOpenTheFindingsSearch) {
  struct Case {
    const char* what;
    int col, line;
  } cases[] = {{"the viewer item's result cell", basPublic.ResultCol, 2},
               {"another item's name cell", basPublic.ItemCol, 1}};
  for (const Case& c : cases) {
    frmResultInForm->lblStatus.caption.clear();
    bed.spr.RightClickCell(c.col, Row(c.line));
    EXPECT_EQ(bed.spr.active_col(), c.col) << c.what;
    EXPECT_EQ(bed.spr.active_row(), Row(c.line)) << c.what;
    EXPECT_EQ(Status(), "  この項目の所見検索はできません。") << c.what;
  }
  EXPECT_EQ(bed.shell.beeps(), 2);
  EXPECT_FALSE(fs::exists(dir.Path("QZP140B.log")));
}

TEST_F(GridMouseTest, NothingWhileEditingOrForTheLeftButton) {
  bed.spr.MoveActiveCell(basPublic.ResultCol, Row(1));
  bed.spr.SetEditMode(true);
  ASSERT_TRUE(bed.spr.edit_mode());
  bed.spr.RightClickCell(basPublic.ResultCol, Row(1));
  EXPECT_TRUE(bed.spr.edit_mode());
  bed.spr.SetEditMode(false);
  sprResult_MouseUp(1, 0, 0, 0);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(bed.shell.beeps(), 0);
}

TEST_F(GridMouseTest, AViewerThatCannotStartIsReported) {
  bed.spr.RightClickCell(basPublic.ItemCol, Row(2));
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_NE(bed.Boxes()[0].find("スプレッドのマウスクリック処理でエラーが発生しました。"), std::string::npos);
  EXPECT_NE(bed.Boxes()[0].find("エラー番号 : 53"), std::string::npos);
  EXPECT_EQ(Status(), "");
}

TEST_F(GridMouseTest, TheTipShowsTheCellsTextTrimmed) {
  bed.spr.text_tip = 1;
  bed.spr.SetText(basPublic.ResultCol, Row(1), "  12.5 ");
  EXPECT_EQ(bed.spr.FetchTextTip(basPublic.ResultCol, Row(1)), "12.5");
  EXPECT_EQ(bed.spr.tool_tip_text, "12.5");
  EXPECT_EQ(bed.spr.text_tip, 2);
}

}  // namespace
}  // namespace qz
