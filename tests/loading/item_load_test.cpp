// The item steps of a load over the item fixture: the item master set-up,
// the order, the calculated items, the summary items, the input groups, the
// item rows and the results, asserted field by field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "judgement/summary_findings.h"
#include "loading/group_forms.h"
#include "loading/item_fixture.h"
#include "loading/load_state.h"
#include "platform/text/vb.h"

namespace qz::testing {
namespace {

const std::string kBlank10(10, ' ');

// The padded name of an input group (NAME is 20 bytes, blanks kept).
std::string GroupName(const std::string& name, int bytes) { return name + std::string(20 - bytes, ' '); }

int IndexOf(long long code) {
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    if (frmResultIn.ItemTable[i].KomCode == Currency(code)) return i;
  }
  return 0;
}

class ItemLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    AddItemConsultation(bed.suite);
    bed.OpenWithSettings();
    ASSERT_EQ(bed.RunThrough(), "");
  }
  ItemBed bed;
};

TEST_F(ItemLoad, TheItemTableComesOutInOrderWithItsMasterValues) {
  struct Row {
    long long code;
    const char* name;
    int ksyub, ngrp, hjyun, past;
    const char* low;
    const char* high;
    int std_gendate;
    bool editable;
    int ngrp_index, sougou_dest, sex, monflg, keta, kekano, hantno, hgrp1, hgrp2, pjyun;
  };
  const Row rows[] = {
      {1002, "体重", 1, 10, 2, 0, "40", "80", 20100101, true, 0, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {1003, "ＢＭＩ", 2, 10, 3, 0, "18.5", "25", 20100101, true, 0, 0, 0, 0, 20, 0, 1, 7, 8, 500},
      {1004, "腹囲", 1, 10, 4, 0, "", "", 0, true, 0, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      // The course's values stay where it set them (KEKANO 1, its group,
      // order, second decision group and print order).
      {1001, "身長", 1, 10, 5, 0, "", "", 0, true, 0, -1, 0, 0, 5, 1, 1, 7, 3, 10},
      {2002, "空腹時血糖", 1, 20, 1, 0, "0", "109", 20100101, true, 1, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {2001, "ＨｂＡ１ｃ", 1, 20, 2, 0, "4.6", "99999.9999", 20100101, true, 1, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {2003, "女性項目", 1, 20, 3, 0, "", "", 0, true, 0, -1, 2, 0, 20, 0, 1, 7, 8, 500},
      {2004, "問診血液", 1, 20, 4, 0, "", "", 0, true, 0, -1, 0, 1, 20, 0, 1, 7, 8, 500},
      {6001, "前回項目", 1, 20, 5, 1, "", "", 0, true, 0, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {6003, "前々回項目", 1, 20, 6, 1, "", "", 0, true, 0, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      // A findings item with JHKBN 1 gets no range.
      {3001, "胸部Ｘ線", 3, 30, 1, 0, "", "", 0, false, 2, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {3002, "心電図", 3, 30, 2, 0, "", "", 0, false, 2, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {7001, "結果のみ", 1, 30, 3, 2, "", "", 0, false, 0, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {9999999001LL, "判定グループ１", 4, 40, 1, 0, "", "", 0, true, 3, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {9999999999LL, "総合判定", 4, 40, 2, 0, "", "", 0, true, 3, -1, 0, 0, 20, 0, 1, 7, 8, 500},
      {5001, "問診１", 1, 50, 1, 0, "", "", 0, false, 0, -1, 0, 1, 20, 0, 1, 7, 8, 500},
  };
  ASSERT_EQ(frmResultIn.ItemCount(), static_cast<int>(std::size(rows)));
  for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
    const Row& r = rows[i - 1];
    const KomInfo& got = frmResultIn.ItemTable[i];
    SCOPED_TRACE("item " + std::to_string(r.code));
    EXPECT_EQ(got.KomCode, Currency(r.code));
    EXPECT_EQ(got.KomName, r.name);
    EXPECT_EQ(got.Ksyub, r.ksyub);
    EXPECT_EQ(got.Ngrp, r.ngrp);
    EXPECT_EQ(got.Hjyun, r.hjyun);
    EXPECT_EQ(got.Past, r.past);
    EXPECT_EQ(got.StdLow, r.low);
    EXPECT_EQ(got.StdHigh, r.high);
    EXPECT_EQ(got.StdGendate, r.std_gendate);
    // The version before the consultation date, never the one after it.
    EXPECT_EQ(got.Gendate, 20100101);
    EXPECT_EQ(got.Editable, r.editable);
    EXPECT_EQ(got.NgrpIndex, r.ngrp_index);
    EXPECT_EQ(got.SougouDest, r.sougou_dest);
    EXPECT_EQ(got.Sex, r.sex);
    EXPECT_EQ(got.Monflg, r.monflg);
    EXPECT_EQ(got.Keta, r.keta);
    EXPECT_EQ(got.Kekano, r.kekano);
    EXPECT_EQ(got.Hantno, r.hantno);
    EXPECT_EQ(got.Hgrp[1], r.hgrp1);
    EXPECT_EQ(got.Hgrp[2], r.hgrp2);
    EXPECT_EQ(got.Hgrp[3], 0);
    EXPECT_EQ(got.Pjyun, r.pjyun);
    EXPECT_EQ(got.Skomcd, Currency(r.ksyub == 3 ? 50 : 0));
    // Fields copied as read on every pass.
    EXPECT_EQ(got.Tani, "cm        ");
    EXPECT_EQ(got.Stype, "31");
    EXPECT_EQ(got.Yuko, " ");
    EXPECT_EQ(got.Opchk, "1");
    EXPECT_EQ(got.Jlacno, "3D045000002327101   ");
    EXPECT_EQ(got.Hansyo, Currency(3002));
    EXPECT_EQ(got.Copy, 1);
    EXPECT_EQ(got.Sgkbn, 2);
    EXPECT_EQ(got.Jhkbn, (r.code == 1002 || r.code == 1003 || r.code == 2001 || r.code == 2002 || r.code == 3001) ? 1 : 0);
  }
  const KomInfo& bmi = frmResultIn.ItemTable[IndexOf(1003)];
  EXPECT_EQ(bmi.Calpt, 5);
  EXPECT_EQ(bmi.Krkbn, 1);
  EXPECT_EQ(bmi.Ktaino[1], Currency(1001));
  EXPECT_EQ(bmi.Ktaino[2], Currency(1002));
  EXPECT_EQ(bmi.Ktaino[3], Currency(1999));
  // The course generation after the earlier consultation brings nothing.
  EXPECT_EQ(IndexOf(6004), 0);
  EXPECT_TRUE(bed.Boxes().empty()) << bed.Boxes().front();
}

TEST_F(ItemLoad, HeaderHistoryAndCoursesOfTheConsultation) {
  EXPECT_EQ(frmResultIn.txtID, kExaminee);
  EXPECT_EQ(frmResultIn.txtName, "山田　太郎");
  EXPECT_EQ(frmResultIn.txtSex, "男");
  EXPECT_EQ(frmResultIn.ExamineeSex, 1);
  EXPECT_EQ(frmResultIn.ExamineeAge, 46);
  EXPECT_EQ(frmResultIn.txtDanname, "テスト商事");

  // Today, then the earlier ones newest first; the neighbour's consultation
  // before them ends the walk.
  EXPECT_EQ(frmResultIn.HistoryDates,
            (std::vector<JrkEntry>{{"20261209", 0}, {"20251201", 100}, {"20241202", 200}}));
  EXPECT_EQ(frmResultIn.CourseCodes[1], Currency(100));
  EXPECT_EQ(frmResultIn.CourseGenDates[1], 20100101);
  EXPECT_EQ(frmResultIn.CourseCodes[2], Currency(0));
  EXPECT_EQ(basPublic.ReportCode, 7);

  // Each column names its course in the generation of its own date.
  const grid::Spread& spr = *bed.spr;
  struct Header {
    int col;
    const char* course;
    const char* title;
    const char* date;
  };
  for (const Header& h : {Header{basPublic.ResultCol, "一般健診", "今回結果", "令 8/12/9"},
                          Header{basPublic.PastCol, "一般健診", "前回結果", "令 7/12/1"},
                          Header{basPublic.PastCol + 1, "旧ドック", "前々回結果", "令 6/12/2"}}) {
    SCOPED_TRACE(h.col);
    EXPECT_EQ(spr.TextAt(h.col, basPublic.CourseRow), h.course);
    EXPECT_EQ(spr.TextAt(h.col, basPublic.HeaderRow), h.title);
    EXPECT_EQ(spr.TextAt(h.col, basPublic.JdateRow), h.date);
  }
  EXPECT_EQ(spr.max_cols(), basPublic.PastCol + 1);
}

TEST_F(ItemLoad, DerivedTablesHoldTheSortedIndexes) {
  // BMI's third operand is not booked.
  ASSERT_EQ(frmResultIn.CalcCount(), 1);
  EXPECT_EQ(frmResultIn.CalcItems[1].Item, IndexOf(1003));
  EXPECT_EQ(frmResultIn.CalcItems[1].Opnd[1], IndexOf(1001));
  EXPECT_EQ(frmResultIn.CalcItems[1].Opnd[2], IndexOf(1002));
  EXPECT_EQ(frmResultIn.CalcItems[1].Opnd[3], 0);

  // Both findings items of type 50 get their own copy of its combo rows,
  // the title row among them; the row outside the list is left out.
  const std::vector<SyoComboInfo> combos = {
      {Currency(3001), 1, "胸部所見", 0}, {Currency(3001), 2, "異常なし", 1}, {Currency(3001), 3, "要精検", 4},
      {Currency(3002), 1, "胸部所見", 0}, {Currency(3002), 2, "異常なし", 1}, {Currency(3002), 3, "要精検", 4},
  };
  ASSERT_EQ(frmResultIn.SyoComboCount(), static_cast<int>(combos.size()));
  for (int k = 1; k <= frmResultIn.SyoComboCount(); ++k) {
    SCOPED_TRACE(k);
    const SyoComboInfo& got = frmResultIn.SyoComboLists[k];
    EXPECT_EQ(got.Code, combos[k - 1].Code);
    EXPECT_EQ(got.Scode, combos[k - 1].Scode);
    EXPECT_EQ(vb::RTrim(got.Sykn), combos[k - 1].Sykn);
    EXPECT_GT(got.Sykn.size(), combos[k - 1].Sykn.size()) << "SYKN as read, blanks kept";
    EXPECT_EQ(got.Khantei, combos[k - 1].Khantei);
  }

  // Summary item 8000 is not booked.
  ASSERT_EQ(SougouItems.Count(), 2);
  EXPECT_EQ(SougouItems[1], IndexOf(3002));
  EXPECT_EQ(SougouItems[2], 0);

  EXPECT_EQ(frmResultIn.GroupItems[1], (GroupItemInfo{static_cast<std::int16_t>(IndexOf(9999999001LL)), 2}));
  EXPECT_EQ(frmResultIn.GroupItems[999], (GroupItemInfo{static_cast<std::int16_t>(IndexOf(9999999999LL)), 0}));
  EXPECT_EQ(frmResultIn.OverallItem, IndexOf(9999999999LL));
}

TEST_F(ItemLoad, GroupListsFollowTheFilterAndTheUsersGroups) {
  // Group 50 holds only a questionnaire item; the female-only item, the
  // questionnaire item, the earlier-only and the result-only items open no
  // group of their own.
  const std::vector<NgrpInfo> groups = {{10, GroupName("身体計測", 8), 1},
                                        {20, GroupName("血液検査", 8), 5},
                                        {30, GroupName("画像・生理", 10), 11},
                                        {40, GroupName("判定", 4), 14}};
  ASSERT_EQ(frmResultIn.InputGroupCount(), static_cast<int>(groups.size()));
  for (int g = 1; g <= frmResultIn.InputGroupCount(); ++g) EXPECT_EQ(frmResultIn.InputGroups[g], groups[g - 1]);

  const ui::Color on = static_cast<ui::Color>(basPublic.ColorNgrpSelect);
  const ui::Color off = static_cast<ui::Color>(basPublic.ColorNgrpDefault);
  const grid::ListGrid& sel = frmGrpSel->flxGroop;
  ASSERT_EQ(sel.rows(), 4);
  const ui::Color sel_colors[] = {on, on, off, on};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(sel.TextMatrix(r, 0), groups[static_cast<std::size_t>(r)].Name);
    EXPECT_EQ(sel.CellBackColorAt(r, 0), sel_colors[r]) << r;
  }
  EXPECT_EQ(sel.ColWidth(0), 4000);

  // The jump list: the selected groups, the user's first group marked, the
  // first grid line of each group in column 1.
  struct JumpRow {
    std::string name, line, position;
    bool marked;
  };
  const JumpRow jumps[] = {{groups[0].Name, "1", "0", false}, {groups[1].Name, "5", "1", true}, {groups[3].Name, "7", "3", false}};
  const grid::ListGrid& jmp = frmGrpJmp->flxGroop;
  ASSERT_EQ(jmp.rows(), 3);
  for (int r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(jmp.TextMatrix(r, 0), jumps[r].name);
    EXPECT_EQ(jmp.TextMatrix(r, 1), jumps[r].line);
    EXPECT_EQ(jmp.TextMatrix(r, 2), "");
    EXPECT_EQ(jmp.TextMatrix(r, 3), jumps[r].position);
    EXPECT_EQ(jmp.CellBackColorAt(r, 0) == on, jumps[r].marked);
  }
  EXPECT_EQ(frmResultIn.JumpStartRow, 1);
  EXPECT_EQ(jmp.ColWidth(0), 3000);
  EXPECT_EQ(jmp.ColWidth(1), 0);
  EXPECT_EQ(jmp.ColWidth(2), 300);
  EXPECT_EQ(jmp.ColWidth(3), 0);
  EXPECT_FALSE(frmGrpJmp->visible());
}

TEST_F(ItemLoad, ItemRowsShowTheSelectedGroupsItems) {
  const std::vector<long long> shown = {1002, 1003, 1004, 1001, 2002, 2001, 9999999001LL, 9999999999LL};
  ASSERT_EQ(frmResultIn.RowCount(), static_cast<int>(shown.size()));
  for (int k = 1; k <= frmResultIn.RowCount(); ++k) {
    EXPECT_EQ(frmResultIn.ItemTable[frmResultIn.RowItems[k]].KomCode, Currency(shown[k - 1])) << k;
  }
  const grid::Spread& spr = *bed.spr;
  const int first = basPublic.DataRow;
  EXPECT_EQ(spr.max_rows(), first - 1 + static_cast<int>(shown.size()));
  struct Cells {
    int line;
    const char* name;
    const char* range;
  };
  const Cells cells[] = {
      {1, "体重", " 40.0- 80.0"},
      {2, "ＢＭＩ", " 18.5- 25.0"},
      {3, "腹囲", ""},
      {5, "空腹時血糖", "   ～ 109.0"},
      {6, "ＨｂＡ１ｃ", "  4.6 ～   "},
  };
  for (const Cells& c : cells) {
    SCOPED_TRACE(c.name);
    const int r = first + c.line - 1;
    EXPECT_EQ(spr.TextAt(basPublic.ItemCol, r), c.name);
    EXPECT_EQ(spr.TextAt(basPublic.StdCol, r), c.range);
    EXPECT_EQ(spr.TextAt(basPublic.UnitCol, r), "cm        ");
  }
  // Row colours: the group items, the item with its own colour.
  EXPECT_EQ(spr.BackColorAt(basPublic.UnitCol, first + 6), static_cast<ui::Color>(basPublic.ColorHantei));
  EXPECT_EQ(spr.BackColorAt(basPublic.UnitCol, first + 2), static_cast<ui::Color>(kOwnRowColor));
  EXPECT_EQ(spr.BackColorAt(basPublic.UnitCol, first), static_cast<ui::Color>(basPublic.ColorTani));
}

TEST_F(ItemLoad, ResultsFillEveryColumn) {
  struct Cell {
    long long code;
    int col;
    const char* knsach;
    const char* syoken;
    int hekbn, han;
    std::string user;
    int ymd, hms, sokutei;
  };
  const std::string u01 = "U01" + std::string(7, ' ');
  const std::string u02 = "U02" + std::string(7, ' ');
  const std::string u09 = "U09" + std::string(7, ' ');
  const std::string u08 = "U08" + std::string(7, ' ');
  const Cell cells[] = {
      {1001, 0, "170.5 ", "", 1, 0, u01, 20261209, 101500, 0},
      {1002, 0, "65 ", "", 0, 1, u01, 20261209, 101501, 3},
      {1003, 0, "22.4 ", "", 0, 1, u02, 20261209, 93000, 4},
      {2001, 0, "5.5 ", "", 0, 2, u02, 20261208, 235959, 5},
      {2002, 0, " ", "", 0, 0, u02, 20261209, 1, 1},
      {2003, 0, "9 ", "", 0, 0, u02, 20261209, 120000, 6},
      {2004, 0, " ", "", 0, 0, u02, 20261209, 120000, 2},
      // A findings item: no value, the findings trimmed; stamps that are no
      // numbers read 0.
      {3002, 0, "", "異常なし", 1, 1, "U03" + std::string(7, ' '), 0, 0, 0},
      // A blank updater and blank stamps.
      {7001, 0, "12 ", "", 0, 0, kBlank10, 0, 0, 0},
      // Missing now: not performed; the findings item takes its default
      // (the title row before it carries the default mark too).
      {1004, 0, "", "", 0, 0, "", 0, 0, 1},
      {3001, 0, "", "異常なし", 0, 1, "", 0, 0, 1},
      {9999999999LL, 0, "", "", 0, 0, "", 0, 0, 1},
      // Booked only earlier: missing now without the mark.
      {6001, 0, "", "", 0, 0, "", 0, 0, 0},
      {6001, 1, "3 ", "", 1, 1, u09, 20251201, 90000, 0},
      {3001, 1, "", "要精検", 1, 4, u09, 20251201, 90000, 0},
      // Missing in the earlier column: never marked.
      {2003, 1, "", "", 0, 0, "", 0, 0, 0},
      {7001, 1, "", "", 0, 0, "", 0, 0, 0},
      // The second earlier column: an item of its own course and one booked
      // now; missing ones stay empty.
      {1002, 2, "63 ", "", 1, 1, u08, 20241202, 90000, 0},
      {6003, 2, "7 ", "", 1, 0, u08, 20241202, 90000, 0},
      {6003, 1, "", "", 0, 0, "", 0, 0, 0},
      {6003, 0, "", "", 0, 0, "", 0, 0, 0},
      {1001, 2, "", "", 0, 0, "", 0, 0, 0},
  };
  ASSERT_EQ(frmResultIn.ResultMatrix.Rows(), 16);
  ASSERT_EQ(frmResultIn.ResultMatrix.Columns(), 3);
  for (const Cell& c : cells) {
    SCOPED_TRACE(std::to_string(c.code) + " column " + std::to_string(c.col));
    const KekkaData& got = frmResultIn.ResultMatrix(IndexOf(c.code), c.col);
    EXPECT_EQ(got.Knsach, c.knsach);
    EXPECT_EQ(got.Syoken, c.syoken);
    EXPECT_EQ(got.Hekbn, c.hekbn);
    EXPECT_EQ(got.Han, c.han);
    EXPECT_EQ(got.User, c.user);
    EXPECT_EQ(got.Ymd, c.ymd);
    EXPECT_EQ(got.Hms, c.hms);
    EXPECT_EQ(got.Sokutei, c.sokutei);
  }
  // The bounds and flag stored with a result come back as stored.
  const KekkaData& height = frmResultIn.ResultMatrix(IndexOf(1001), 0);
  EXPECT_EQ(height.Stndlw, "100       ");
  EXPECT_EQ(height.Stndhi, "200       ");
  EXPECT_EQ(height.Opflg, "1");
}

}  // namespace
}  // namespace qz::testing
