// The result cells of the grid over the item fixture's consultation (today
// and one earlier consultation): values and measurement-class marks, lists,
// judgement marks and colours, stamps, the group-jump marks, and the
// failures.
#include "loading/result_cells.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "grid/item_row_map.h"
#include "loading/color_letters.h"
#include "loading/group_forms.h"
#include "loading/item_fixture.h"
#include "loading/jump_group_index.h"
#include "loading/load_state.h"
#include "platform/grid/spread.h"

namespace qz::testing {
namespace {

constexpr int kPastColumn = 12;  // the earlier consultation
const std::string kFullList = "Ａ  異常なし\tＢ  軽度\tC1  要観察\t  保留\tＦ  治療中";

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, '\t')) parts.push_back(part);
  return parts;
}

ui::Color Letter(const char* letter) { return *ColorOfLetter(letter); }

class ResultCells : public ::testing::Test {
 protected:
  void SetUp() override {
    AddItemConsultation(bed.suite);
    bed.suite.Add("QZUSRLF", {{"ID", "U01"}, {"EXPLAIN", "検査 花子  "}});
    bed.OpenWithSettings();
    ASSERT_TRUE(Fnc_OpenUsrMaster());
    basPublic.UserInputGroups[4] = 30;  // the findings items' group shown too
    ASSERT_EQ(bed.RunThrough(), "");
    ASSERT_TRUE(bed.Boxes().empty());
  }
  static std::int16_t Index(long long code) { return ItemIndex(code); }
  // The grid row of item `code`.
  static int Row(long long code) { return Fnc_ItemToRow(Fnc_FindItemRow(Index(code))); }
  static KekkaData& Result(long long code, int k) { return frmResultIn.ResultMatrix(Index(code), k); }
  grid::Spread& spr() { return *bed.spr; }
  std::string Text(int col, long long code) { return spr().TextAt(col, Row(code)); }
  grid::CellFormat Format(int col, long long code) { return spr().FormatAt(col, Row(code)); }

  ItemBed bed;
};

TEST_F(ResultCells, NumericValuesMarksAndStampsOfBothColumns) {
  Result(1003, 1).Sokutei = kSokuteiAtOrBelow;
  Result(1004, 1).Sokutei = kSokuteiNotPerformed;
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_TRUE(bed.Boxes().empty());
  const int res = basPublic.ResultCol;
  // Value, or the measurement class in its place; the earlier column too.
  EXPECT_EQ(Text(res, 1001), "170.5 ");
  EXPECT_EQ(Text(res, 1002), "(≦65)");
  EXPECT_EQ(Text(res, 1003), "(＜22.4)");
  EXPECT_EQ(Text(res, 2001), "(≧5.5)");
  EXPECT_EQ(Text(res, 2002), "(未実施)");
  EXPECT_EQ(Text(kPastColumn, 1001), "169 ");
  EXPECT_EQ(Text(kPastColumn, 1002), "64 ");
  EXPECT_EQ(Text(kPastColumn, 1003), "(≦22.1)");
  EXPECT_EQ(Text(kPastColumn, 1004), "(未実施)");

  // Judgement mark and its colour (code 1 "Ａ" in B, code 2 "Ｂ" in R; no
  // judgement in the default letter B).
  EXPECT_EQ(Text(basPublic.HanCol, 1002), "Ａ");
  EXPECT_EQ(Text(basPublic.HanCol, 2001), "Ｂ");
  EXPECT_EQ(Text(basPublic.HanCol, 1001), "");
  EXPECT_EQ(Format(basPublic.HanCol, 2001).fore_color, Letter("R"));
  EXPECT_EQ(Format(res, 2001).fore_color, Letter("R"));
  EXPECT_EQ(Format(res, 1001).fore_color, Letter("B"));
  EXPECT_EQ(Format(kPastColumn, 1002).fore_color, Letter("B"));

  // Done check, updater's name (the ID when the user master has none) and
  // the time of the last write.
  EXPECT_EQ(Text(basPublic.ChkCol, 1001), "V");
  EXPECT_EQ(Text(basPublic.ChkCol, 1002), "");
  EXPECT_EQ(Text(basPublic.UpdateCol, 1002), "検査 花子");
  EXPECT_EQ(Text(basPublic.UpdateCol, 2001), "U02");
  EXPECT_EQ(Format(basPublic.UpdateCol, 2001).align, grid::HAlign::kLeft);
  EXPECT_EQ(Text(basPublic.UptimeCol, 2001), "2026/12/08 23:59:59");
  EXPECT_EQ(Format(basPublic.UptimeCol, 2001).align, grid::HAlign::kLeft);

  const grid::CellFormat value = Format(res, 1002);
  EXPECT_EQ(value.align, grid::HAlign::kRight);
  EXPECT_EQ(value.font_size, basPublic.FontSizeNum);
  EXPECT_EQ(value.max_edit_len, 10);
  EXPECT_EQ(value.edit_char_set, grid::kCharSetSingleByte);
  EXPECT_EQ(Format(kPastColumn, 1002).max_edit_len, 10);
  EXPECT_EQ(spr().ColWidth(basPublic.SyoCodeCol), basPublic.WidthSyoCode);
}

TEST_F(ResultCells, ListsOfTheCurrentColumn) {
  frmResultIn.HanComboListLimited = "Ａ  異常なし";
  ASSERT_TRUE(Sub_KekkaInfo());
  // Judgement list (editable) and measurement-class list (fixed) of a
  // numeric item, the class chosen from the result.
  const grid::CellFormat han = Format(basPublic.HanCol, 1002);
  EXPECT_EQ(han.type, grid::CellType::kComboBox);
  EXPECT_TRUE(han.combo_editable);
  EXPECT_EQ(han.combo_entries, Split(kFullList));
  EXPECT_EQ(han.combo_max_drop, 100);
  EXPECT_EQ(spr().ComboCurSelAt(basPublic.HanCol, Row(1002)), -1);
  const grid::CellFormat cls = Format(basPublic.SokuteiCol, 1002);
  EXPECT_EQ(cls.type, grid::CellType::kComboBox);
  EXPECT_FALSE(cls.combo_editable);
  EXPECT_EQ(cls.combo_entries.size(), 6u);
  EXPECT_EQ(spr().ComboCurSelAt(basPublic.SokuteiCol, Row(1002)), 2);
  EXPECT_EQ(Text(basPublic.SokuteiCol, 1002), "以下(≦)");
  EXPECT_EQ(spr().ComboCurSelAt(basPublic.SokuteiCol, Row(1001)), -1);
  // A findings item has two classes.
  EXPECT_EQ(Format(basPublic.SokuteiCol, 3002).combo_entries.size(), 2u);

  // Group items carry the judgement list in their value cell: the overall
  // judgement the limited one; no judgement-column list.
  const grid::CellFormat group = Format(basPublic.ResultCol, 9999999001LL);
  EXPECT_EQ(group.type, grid::CellType::kComboBox);
  EXPECT_EQ(group.combo_entries, Split(kFullList));
  EXPECT_EQ(Format(basPublic.ResultCol, 9999999999LL).combo_entries, Split("Ａ  異常なし"));
  EXPECT_NE(Format(basPublic.HanCol, 9999999001LL).type, grid::CellType::kComboBox);
  // The earlier column has no lists.
  EXPECT_NE(Format(kPastColumn, 9999999001LL).type, grid::CellType::kComboBox);
}

// An item not booked for the current consultation gets no judgement or
// class list, but its texts.
TEST_F(ResultCells, ItemNotBookedNowHasNoLists) {
  frmResultIn.ItemTable[Index(1002)].Past = kPastResultOnly;
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_NE(Format(basPublic.HanCol, 1002).type, grid::CellType::kComboBox);
  EXPECT_NE(Format(basPublic.SokuteiCol, 1002).type, grid::CellType::kComboBox);
  EXPECT_EQ(Text(basPublic.HanCol, 1002), "Ａ");
  EXPECT_EQ(Text(basPublic.ResultCol, 1002), "(≦65)");
  EXPECT_EQ(Text(basPublic.UpdateCol, 1002), "検査 花子");
}

TEST_F(ResultCells, FindingsItemListAndInputLength) {
  Result(1002, 0).Syoken = "判定所見";
  ASSERT_TRUE(Sub_KekkaInfo());
  const int res = basPublic.ResultCol;
  EXPECT_EQ(Text(res, 3002), "異常なし");
  EXPECT_EQ(Text(kPastColumn, 3001), "要精検");
  const grid::CellFormat cell = Format(res, 3002);
  EXPECT_EQ(cell.type, grid::CellType::kComboBox);
  EXPECT_TRUE(cell.combo_editable);
  EXPECT_EQ(cell.combo_max_drop, 500);
  EXPECT_EQ(spr().ComboCurSelAt(res, Row(3002)), -1);
  // The three findings of type 50 in table order, then the search entry.
  ASSERT_EQ(cell.combo_entries.size(), 4u);
  std::vector<std::string> expected;
  for (int e = 1; e <= frmResultIn.SyoComboCount(); ++e) {
    const SyoComboInfo& s = frmResultIn.SyoComboLists[e];
    if (s.Code == Currency(3002)) expected.push_back(s.Sykn + "$00000" + std::to_string(s.Scode) + "0" +
                                                     std::to_string(s.Khantei) + "\r\n");
  }
  expected.push_back("◆◆検索画面を開きます◆◆");
  EXPECT_EQ(cell.combo_entries, expected);
  EXPECT_EQ(cell.align, grid::HAlign::kLeft);
  EXPECT_EQ(cell.font_size, basPublic.FontSizeSyo);
  EXPECT_EQ(cell.edit_char_set, grid::kCharSetAll);
  EXPECT_EQ(cell.max_edit_len, 40);  // KETA 20
  EXPECT_NE(Format(kPastColumn, 3002).type, grid::CellType::kComboBox);

  // The judgement finding of a numeric item, in its judgement colour.
  EXPECT_EQ(Text(basPublic.HanSyoCol, 1002), "判定所見");
  EXPECT_EQ(Format(basPublic.HanSyoCol, 1002).fore_color, Letter("B"));
  EXPECT_EQ(Text(basPublic.HanSyoCol, 3002), "");
}

TEST_F(ResultCells, FindingsInputLengthFollowsDigits) {
  for (const auto& [keta, length] : {std::pair{0, 200}, {15, 30}, {1, 2}}) {
    SCOPED_TRACE(keta);
    frmResultIn.ItemTable[Index(3002)].Keta = static_cast<std::int16_t>(keta);
    ASSERT_TRUE(Sub_KekkaInfo());
    EXPECT_EQ(Format(basPublic.ResultCol, 3002).max_edit_len, length);
    EXPECT_EQ(Format(kPastColumn, 3002).max_edit_len, length);
  }
}

TEST_F(ResultCells, FindingsItemWithoutEntriesKeepsItsCellType) {
  frmResultIn.SyoComboLists.Clear();
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_EQ(Format(basPublic.ResultCol, 3002).type, grid::CellType::kEdit);
  EXPECT_EQ(Text(basPublic.ResultCol, 3002), "異常なし");
}

TEST_F(ResultCells, GroupItemShowsItsMarkUntrimmedCentredAndBold) {
  ASSERT_TRUE(Sub_KekkaInfo());
  const grid::CellFormat cell = Format(basPublic.ResultCol, 9999999001LL);
  EXPECT_EQ(Text(basPublic.ResultCol, 9999999001LL), "Ｂ");
  EXPECT_EQ(Text(kPastColumn, 9999999001LL), "Ａ");
  EXPECT_EQ(cell.align, grid::HAlign::kCenter);
  EXPECT_TRUE(cell.font_bold);
  EXPECT_EQ(cell.font_size, basPublic.FontSizeHAN);
  EXPECT_EQ(cell.max_edit_len, 4);
  EXPECT_EQ(cell.fore_color, Letter("R"));
  // Judgement 3's mark is half-width with the blanks of the settings.
  Result(9999999001LL, 0).Han = 3;
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_EQ(Text(basPublic.ResultCol, 9999999001LL), "C1");
  EXPECT_EQ(Text(basPublic.HanCol, 9999999001LL), "C1");
}

// Column 2 of the group's jump row shows the judgement for users of display
// class 1 only; classes 1 and 2 show "未" and "不". For such a user a group
// item that holds nothing, or is not drawn, leaves the row empty: no mark of
// an earlier draw stays.
TEST_F(ResultCells, JumpListShowsGroupJudgementsForDisplayClassOne) {
  const int group_row = Fnc_GetJumpGroupIndex(frmResultIn.ItemTable[Index(9999999001LL)].NgrpIndex);
  ASSERT_GE(group_row, 0);
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  Result(9999999999LL, 0) = KekkaData{};  // the overall judgement writes nothing
  constexpr ui::Color kUntouched = 0x123456;
  struct Case {
    int dsp_kbn;
    std::int16_t han, sokutei, past;
    const char* mark;
    const char* letter;  // nullptr: the colour stays
  };
  const Case cases[] = {
      {1, 2, 0, 0, "Ｂ", "R"},     {1, 0, 2, 0, "不", "B"},      {1, 2, 1, 0, "未", "R"},
      {1, 2, 3, 0, "", "R"},       {0, 2, 0, 0, "keep", nullptr}, {1, 2, 0, 1, "", nullptr},
      {1, 0, 0, 0, "", nullptr},   {1, 2, 0, 2, "Ｂ", "R"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dsp_kbn << " " << c.han << " " << c.sokutei << " " << c.past);
    basPublic.UserDspKbn = static_cast<std::int16_t>(c.dsp_kbn);
    Result(9999999001LL, 0).Han = c.han;
    Result(9999999001LL, 0).Sokutei = c.sokutei;
    frmResultIn.ItemTable[Index(9999999001LL)].Past = c.past;
    jump.SetTextMatrix(group_row, 2, "keep");
    jump.SetCellForeColorAt(group_row, 2, kUntouched);
    ASSERT_TRUE(Sub_KekkaInfo());
    EXPECT_EQ(jump.TextMatrix(group_row, 2), c.mark);
    EXPECT_EQ(jump.CellForeColorAt(group_row, 2), c.letter != nullptr ? Letter(c.letter) : kUntouched);
  }
}

// A judgement code without a mark: one warning for each value cell, the
// default colour; the judgement cell stays empty and says nothing.
TEST_F(ResultCells, JudgementWithoutMarkWarnsOncePerValueCell) {
  Result(1002, 0).Han = 7;
  Result(1002, 1).Han = 7;
  Result(1002, 0).Sokutei = 0;
  ASSERT_TRUE(Sub_KekkaInfo());
  const std::string text = "判定変換に失敗しました。\r\n判定コード : 7\r\n項目名 : 体重";
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{text, text}));
  EXPECT_EQ(bed.shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
  EXPECT_EQ(bed.shell.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(Text(basPublic.HanCol, 1002), "");
  EXPECT_EQ(Text(basPublic.ResultCol, 1002), "65 ");
  EXPECT_EQ(Format(basPublic.ResultCol, 1002).fore_color, Letter("B"));
  EXPECT_EQ(Format(kPastColumn, 1002).fore_color, Letter("B"));
  // The lines after it are drawn.
  EXPECT_EQ(Text(basPublic.ResultCol, 2001), "(≧5.5)");
}

// Cells as they are after one drawing; lists and formats included.
std::string Snapshot(const grid::Spread& spr) {
  std::ostringstream out;
  for (int r = 1; r <= spr.max_rows(); ++r) {
    for (int c = 1; c <= spr.max_cols(); ++c) {
      const grid::CellFormat f = spr.FormatAt(c, r);
      out << c << ',' << r << ':' << spr.TextAt(c, r) << '|' << static_cast<int>(f.type) << '|' << f.fore_color
          << '|' << static_cast<int>(f.align) << '|' << f.font_size << '|' << f.font_bold << '|'
          << f.max_edit_len << '|' << f.edit_char_set << '|' << f.combo_editable << '|' << f.combo_max_drop
          << '|' << spr.ComboCurSelAt(c, r) << '|';
      for (const std::string& e : f.combo_entries) out << e << '\t';
      out << '\n';
    }
  }
  return out.str();
}

TEST_F(ResultCells, DrawingTwiceGivesTheSameCells) {
  ASSERT_TRUE(Sub_KekkaInfo());
  const std::string first = Snapshot(spr());
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_EQ(Snapshot(spr()), first);
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(ResultCells, WithoutEarlierConsultationOnlyTheCurrentColumn) {
  frmResultIn.HistoryDates.resize(1);
  ASSERT_TRUE(Sub_KekkaInfo());
  EXPECT_EQ(Text(basPublic.ResultCol, 1001), "170.5 ");
  for (int r = basPublic.DataRow; r <= spr().max_rows(); ++r) EXPECT_EQ(spr().TextAt(kPastColumn, r), "");
}

TEST_F(ResultCells, NoGridDrawsNothing) {
  frmResultIn.sprResult = nullptr;
  EXPECT_TRUE(Sub_KekkaInfo());
  EXPECT_TRUE(bed.Boxes().empty());
}

// Lines without results (a matrix not made for them): the error report, and
// the load goes on.
TEST_F(ResultCells, RunTimeErrorIsReported) {
  frmResultIn.ResultMatrix.Create(0, 0);
  EXPECT_TRUE(Sub_KekkaInfo());
  ASSERT_EQ(bed.shell.boxes().size(), 1u);
  const ui::MessageBoxRequest& box = bed.shell.boxes()[0].request;
  EXPECT_EQ(box.text.rfind("検査結果情報の表示処理でエラーが発生しました。\r\nエラー番号 : 9\r\n", 0), 0u);
  EXPECT_EQ(box.icon, ui::MsgIcon::kCritical);
  EXPECT_EQ(box.title, "結果入力");
}

}  // namespace
}  // namespace qz::testing
