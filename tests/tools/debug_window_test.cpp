// The debug window: the texts of the item grid's columns, the colours of
// its rows, the course grid with names from the course master, and its
// failure.
#include "tools/frm_debug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"

namespace qz {
namespace {

std::vector<std::string> RowCells(const KomInfo& kom) {
  std::vector<std::string> cells;
  for (int c = 1; c <= kDebugItemColumns; ++c) cells.push_back(Fnc_DebugItemCell(kom, c));
  return cells;
}

TEST(DebugItemCellTest, EveryAttributeInItsColumn) {
  KomInfo k;
  k.KomCode = Currency(1234567);
  k.KomName = "身長";
  k.Gendate = 20260401;
  k.StdGendate = 0;
  k.Editable = false;
  k.Past = 2;
  k.Ksyub = 1;
  k.Monflg = 1;
  k.Pjyun = 120;
  k.Jlacno = "9N001000000000001";
  k.Skomcd = Currency(50);
  k.Ngrp = 10;
  k.Hjyun = 3;
  k.Hgrp[1] = 1;
  k.Hgrp[4] = 999;
  k.Stype = "31";
  k.Yuko = "1";
  k.Keta = 40;
  k.Jhkbn = 1;
  k.Sex = 2;
  k.Calpt = 1;
  k.Ktaino[1] = Currency(1001);
  k.Ktaino[3] = Currency(1003);
  k.Krkbn = 2;
  k.Tani = "cm";
  k.StdLow = "120";
  k.StdHigh = "";
  k.Kekano = 1;
  k.Hantno = 0;
  k.Syokno = 1;
  k.Sgkbn = 3;
  k.Opchk = "1";
  k.Hansyo = Currency(2001);
  k.NgrpIndex = 4;
  k.SougouDest = 12;
  k.Copy = 1;
  EXPECT_EQ(RowCells(k),
            (std::vector<std::string>{
                "   1234567", "身長", "2026/04/01", "         0", "False", "2", " 1", "1",
                "   120", "9N001000000000001", "        50", "   10", "  3", "  1", "", "", "999",
                "31", "1", " 40", "1", "2", "  1", "      1001", "", "      1003", "2", "cm",
                "   120.0000", "", "1", "", "1", "3", "1", "      2001", "4", "   12", "1"}));
}

TEST(DebugItemCellTest, ZerosAndEmptyValuesShowBlankWhereTheyShould) {
  KomInfo k;
  k.Editable = true;
  k.SougouDest = -1;
  k.Stype = "00";
  EXPECT_EQ(RowCells(k),
            (std::vector<std::string>{
                "         0", "", "         0", "         0", "", "0", " 0", "0", "      ", "", "",
                "    0", "  0", "", "", "", "", "", "", "", "", "", "", "", "", "", "0", "", "", "",
                "", "", "", "", "", "", "0", "", "0"}));
  k.SougouDest = 0;
  EXPECT_EQ(Fnc_DebugItemCell(k, 38), "     ");
}

// A shown main form with the result grid, for the focus after closing.
class MainWithGrid : public ui::Form {
 public:
  MainWithGrid() : Form("frmResultIn"), spr(Add<grid::Spread>("sprResult")) {}
  grid::Spread& spr;
  ui::CommandButton& button = Add<ui::CommandButton>("cmdEnd");
};

class DebugWindowTest : public ::testing::Test {
 protected:
  DebugWindowTest() {
    testing::AddSystemRecords(bed_.suite);
    bed_.suite.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"CNAME", "一般健診  "}});
    bed_.suite.Add("QZKOSLF", {{"CNO", 110}, {"GENDATE", 20210401}, {"CNAME", "オプション"}});
    bed_.Open();
    frmResultIn.sprResult = &main_.spr;
    frmResultIn.SysColors = {"", "B", "R", "P", "K"};
    basPublic.ColorTable = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0};
    basPublic.ColorHantei = 0x111;
    basPublic.ColorPast = 0x222;
    bed_.shell.auto_answer = false;
    bed_.shell.SetMainForm(&main_);
    EXPECT_TRUE(bed_.shell.Drive([this] {
      main_.Show();
      main_.button.SetFocus();
    }));
  }
  ~DebugWindowTest() override {
    frmDebug.Reset();
    bed_.shell.SetMainForm(nullptr);
  }
  void AddItem(long code, std::int16_t kind, std::int16_t past = kPastBookedNow) {
    KomInfo k;
    k.KomCode = Currency(code);
    k.KomName = "項目" + std::to_string(code);
    k.Ksyub = kind;
    k.Past = past;
    frmResultIn.ItemTable.Append(k);
  }
  // Shows the window and, while it is open, runs `check`; then closes it.
  void ShowAndCheck(const std::function<void()>& check) {
    bed_.shell.Do(check).CloseBox("frmDebug");
    ASSERT_TRUE(bed_.shell.Drive([] { Sub_ShowDebugWindow(); }));
    ASSERT_SCRIPT_OK(bed_.shell);
  }

  testing::LoadBed bed_;
  MainWithGrid main_;
};

TEST_F(DebugWindowTest, ItemRowsColouredByKindIndividualColourJudgementAndPast) {
  AddItem(1001, kKsyubNumeric);
  AddItem(1002, kKsyubFindings);
  AddItem(9999999001, kKsyubGroupJudgement);
  AddItem(1004, kKsyubNumeric, kPastResultOnly);
  AddItem(9999999002, kKsyubGroupJudgement, kPastBookedEarlier);
  basPublic.IndividualColor.Count = 3;
  basPublic.IndividualColor.Items = {{}, {Currency(1002), 0x301}, {Currency(9999999001), 0x302},
                                     {Currency(1002), 0x303}};
  ShowAndCheck([] {
    const grid::Spread& g = frmDebug->sprDebug(0);
    EXPECT_TRUE(frmDebug->visible());
    EXPECT_EQ(frmDebug->caption, "結果入力　デバッグウィンドウ");
    EXPECT_EQ(g.max_rows(), 5);
    EXPECT_EQ(g.max_cols(), kDebugItemColumns);
    EXPECT_EQ(g.TextAt(1, 0), "検査項目番号");
    EXPECT_EQ(g.TextAt(39, 0), "複写区分");
    EXPECT_EQ(g.ColWidth(2), 17);
    EXPECT_EQ(g.ColWidth(37), 0);  // hidden, but holds the subscript
    EXPECT_EQ(g.TextAt(37, 1), "0");
    EXPECT_EQ(g.RowHeight(0), 30);
    EXPECT_EQ(g.cols_frozen, 2);
    EXPECT_EQ(g.TextAt(2, 3), "項目9999999001");
    // Text colours of the kind's letter: 1 B, 3 R... (SysColors element Ksyub).
    EXPECT_EQ(g.ForeColorAt(1, 1), 0x10u);
    EXPECT_EQ(g.ForeColorAt(2, 2), 0x30u);
    EXPECT_EQ(g.ForeColorAt(1, 3), 0x70u);
    // Backgrounds: a later individual entry wins; judgement over
    // individual; past over everything.
    EXPECT_EQ(g.BackColorAt(20, 2), 0x303u);
    EXPECT_EQ(g.BackColorAt(20, 3), 0x111u);
    EXPECT_EQ(g.BackColorAt(5, 4), 0x222u);
    EXPECT_EQ(g.BackColorAt(5, 5), 0x222u);
    EXPECT_NE(g.BackColorAt(5, 1), 0x222u);
    EXPECT_EQ(g.ForeColorAt(2, 5), 0x70u);  // the text colour outlasts the row colour
  });
  EXPECT_FALSE(frmDebug.loaded());
  EXPECT_TRUE(main_.spr.has_focus());
}

TEST_F(DebugWindowTest, CoursesUpToTheFirstEmptySlotWithTheirNames) {
  frmResultIn.CourseCodes[1] = Currency(100);
  frmResultIn.CourseGenDates[1] = 20200101;
  frmResultIn.CourseCodes[2] = Currency(110);
  frmResultIn.CourseGenDates[2] = 20200101;  // no such generation: no name
  frmResultIn.CourseCodes[3] = Currency(110);
  frmResultIn.CourseGenDates[3] = 0;
  frmResultIn.CourseCodes[5] = Currency(110);  // after the first empty slot
  ShowAndCheck([] {
    const grid::Spread& items = frmDebug->sprDebug(0);
    EXPECT_EQ(items.max_rows(), 0);  // no items: the header row only
    EXPECT_EQ(items.TextAt(2, 0), "検査項目　表示名");
    const grid::Spread& g = frmDebug->sprDebug(1);
    EXPECT_EQ(g.max_cols(), 3);
    EXPECT_EQ(g.TextAt(2, 0), "コース名");
    EXPECT_EQ(g.ColWidth(2), 20);
    ASSERT_EQ(g.max_rows(), 3);
    EXPECT_EQ(g.TextAt(1, 1), "       100");
    EXPECT_EQ(g.TextAt(2, 1), "一般健診");
    EXPECT_EQ(g.TextAt(3, 1), "2020/01/01");
    EXPECT_EQ(g.TextAt(2, 2), "");
    EXPECT_EQ(g.TextAt(3, 3), "         0");
  });
}

TEST_F(DebugWindowTest, FortyCoursesFillFortyRows) {
  for (int k = 1; k <= kCourseSlots; ++k) {
    frmResultIn.CourseCodes[k] = Currency(100);
    frmResultIn.CourseGenDates[k] = 20200101;
  }
  ShowAndCheck([] { EXPECT_EQ(frmDebug->sprDebug(1).max_rows(), kCourseSlots); });
}

TEST_F(DebugWindowTest, EveryShowingStartsFromEmptyGrids) {
  AddItem(1001, kKsyubNumeric);
  AddItem(1002, kKsyubNumeric);
  ShowAndCheck([] { EXPECT_EQ(frmDebug->sprDebug(0).max_rows(), 2); });
  frmResultIn.ItemTable.Clear();
  AddItem(1003, kKsyubNumeric);
  ShowAndCheck([] {
    const grid::Spread& g = frmDebug->sprDebug(0);
    EXPECT_EQ(g.max_rows(), 1);
    EXPECT_EQ(g.TextAt(1, 1), "      1003");
  });
}

TEST_F(DebugWindowTest, UnreadableCourseShowsAnEmptyName) {
  frmResultIn.CourseCodes[1] = Currency(100);
  frmResultIn.CourseGenDates[1] = 20200101;
  bed_.DamageFile("QZKOSLF.BTR");
  ShowAndCheck([] { EXPECT_EQ(frmDebug->sprDebug(1).TextAt(2, 1), ""); });
}

TEST_F(DebugWindowTest, CourseMasterFailureIsReportedAndTheWindowNotShown) {
  frmResultIn.CourseCodes[1] = Currency(100);
  basFileAccess.QZKOSLFObj.reset();  // the course master is not there
  bed_.shell.AnswerBox(ui::MsgResult::kOk, "デバッグウィンドウの表示処理でエラーが発生しました。\r\nエラー番号 : 424");
  ASSERT_TRUE(bed_.shell.Drive([] { Sub_ShowDebugWindow(); }));
  ASSERT_SCRIPT_OK(bed_.shell);
  ASSERT_EQ(bed_.shell.boxes().size(), 1u);
  EXPECT_EQ(bed_.shell.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(bed_.shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  for (const ui::ShownForm& f : bed_.shell.shown_forms()) EXPECT_NE(f.name, "frmDebug");
}

}  // namespace
}  // namespace qz
