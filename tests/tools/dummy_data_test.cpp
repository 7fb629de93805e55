// The dummy-data tool: its dialog, the value rules of each item kind and the
// filler on a screen of hand-made items over the loading test bed's masters.
#include "tools/dummy_data_fill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "kit/ui_expect.h"
#include "loading/load_fixture.h"
#include "loading/group_forms.h"
#include "platform/grid/list_grid.h"
#include "loading/load_state.h"
#include "loading/settings_master.h"
#include "platform/grid/spread.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/vb.h"
#include "tools/frm_dmy_data_set.h"
#include "tools/pad_left.h"
#include "tools/screen_services.h"

namespace qz {
namespace {

TEST(PadLeftTest, BlanksInFrontUpToTheWidth) {
  EXPECT_EQ(Fnc_PadLeft("12", 5), "   12");
  EXPECT_EQ(Fnc_PadLeft("検査", 3), " 検査");  // characters, not bytes
  EXPECT_EQ(Fnc_PadLeft("12345", 3), "12345");
  EXPECT_EQ(Fnc_PadLeft("", 2), "  ");
  EXPECT_EQ(Fnc_PadLeft("1", 0), "1");
}

struct ValueCase {
  bool running;
  int num_type;
  const char* low;
  const char* high;
  double step;
  const char* value;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
  *os << (c.running ? "running" : "type ") << c.num_type << " [" << c.low << "," << c.high << "] " << c.value;
}

class DummyValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(DummyValueTest, ValueFromTheStandardRange) {
  const ValueCase& c = GetParam();
  double running = 6;
  EXPECT_EQ(Fnc_DummyNumericValue(c.running, static_cast<std::int16_t>(c.num_type), c.low, c.high, c.step,
                                  running),
            c.value);
  EXPECT_EQ(running, c.running || c.num_type == kDummyNumRunning ? 7 : 6);
}

INSTANTIATE_TEST_SUITE_P(
    Options, DummyValueTest,
    ::testing::Values(ValueCase{false, kDummyNumStandard, "80", "120", 1, "120"},
                      ValueCase{false, kDummyNumStandard, "80", "", 1, "80"},
                      ValueCase{false, kDummyNumAbove, "80", "120", 0.1, "120.1"},
                      ValueCase{false, kDummyNumAbove, "3.50", "99999.9999", 1, "3.5"},
                      ValueCase{false, kDummyNumBelow, "80", "120", 0.01, "79.99"},
                      ValueCase{false, kDummyNumBelow, "0", "120", 1, "0"},
                      ValueCase{false, kDummyNumBelow, "-2", "120", 1, "0"},
                      ValueCase{false, kDummyNumBelow, "", "120", 1, "0"},
                      ValueCase{false, kDummyNumRunning, "80", "120", 1, "7"},
                      // A class other than 1 runs on under every option.
                      ValueCase{true, kDummyNumAbove, "80", "120", 1, "7"}));

TEST(DummyLayoutTest, LastIntegerDigitsAndFirstDecimals) {
  EXPECT_EQ(Fnc_DummyFixedLayout("7", "31"), "007.0");
  EXPECT_EQ(Fnc_DummyFixedLayout("123.456", "52"), "00123.45");
  EXPECT_EQ(Fnc_DummyFixedLayout("1234", "22"), "34.00");
  EXPECT_EQ(Fnc_DummyFixedLayout("5", "30"), "005.");
  EXPECT_EQ(Fnc_DummyFixedLayout("1234567", "70"), "1234567");
}

// Checks that every fifth byte position after `from` carries its number.
void ExpectMarkers(const std::string& utf8, std::size_t from) {
  const std::string bytes = text::ToCp932(utf8);
  ASSERT_EQ(bytes.size(), 200u);
  for (std::size_t m = 5; m <= 200; m += 5) {
    const std::string number = m < 100 ? (m < 10 ? "0" : "") + std::to_string(m) : std::to_string(m);
    if (m < from + number.size()) continue;
    EXPECT_EQ(bytes.substr(m - number.size(), number.size()), number) << "at " << m;
  }
}

TEST(MadeUpFindingTest, EndsAtTwoHundredBytesWithPositionMarkers) {
  const std::string base = "1208胸部Ｘ線の所見";  // 4 + 2 * 7 bytes
  const std::string text = Fnc_LengthenMadeUpFinding(base);
  EXPECT_EQ(text.substr(0, base.size()), base);
  ExpectMarkers(text, 18);
  EXPECT_EQ(text.substr(base.size(), 2), "20");  // positions 19-20
  EXPECT_EQ(text.substr(text.size() - 9), "+195++200");
}

TEST(MadeUpFindingTest, EdgeLengthsStillEndAtTwoHundredBytes) {
  // 98 bytes: the marker of position 100 is three characters long.
  const std::string t98 = Fnc_LengthenMadeUpFinding(std::string(98, 'x'));
  EXPECT_EQ(t98.size(), 200u);
  EXPECT_EQ(t98.substr(98, 4), "100+");
  ExpectMarkers(t98, 102);
  EXPECT_EQ(Fnc_LengthenMadeUpFinding(std::string(97, 'x')).substr(97, 3), "100");
  EXPECT_EQ(Fnc_LengthenMadeUpFinding(std::string(199, 'x')).size(), 200u);
  EXPECT_EQ(Fnc_LengthenMadeUpFinding(std::string(200, 'x')), std::string(200, 'x'));
  EXPECT_EQ(Fnc_LengthenMadeUpFinding(std::string(230, 'x')), std::string(230, 'x'));
}

// Colours of the letters B R P T W A K C E O.
constexpr std::array<std::int32_t, 10> kColors = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0};
constexpr ui::Color kColorR = 0x20;
constexpr ui::Color kColorB = 0x10;
constexpr ui::Color kUntouched = 0x12345;

class DummyFillTest : public ::testing::Test {
 protected:
  DummyFillTest() {
    testing::AddSystemRecords(bed_.suite);
    // Findings type 50 with a default, 51 with a title row first, 52 none.
    bed_.suite.Add("QZSYOLF", {{"CODE", 50}, {"SCODE", 1}, {"RCODE", "001"}, {"SYKN", "所見なし"}, {"KHANTEI", 1}});
    bed_.suite.Add("QZSYOLF", {{"CODE", 50}, {"SCODE", 2}, {"RCODE", "002"}, {"SYKN", "既定の所見"}, {"KHANTEI", 2},
                               {"DEFAULT", 1}});
    bed_.suite.Add("QZSYOLF", {{"CODE", 51}, {"SCODE", 1}, {"RCODE", "001"}, {"SYKN", "見出し"}, {"TITLE", 1}});
    bed_.suite.Add("QZSYOLF", {{"CODE", 51}, {"SCODE", 2}, {"RCODE", "002"}, {"SYKN", "異常なし"}, {"KHANTEI", 2}});
    bed_.Open();
    EXPECT_TRUE(Sub_LoadSettingsMaster());
    basPublic.ColorTable = kColors;
    toolScreenServices = DefaultToolScreenServices();
    toolScreenServices.AutoJudgeItem = [this](Currency code, std::string_view value, Currency,
                                              ItemJudgement& out) {
      judged_.push_back(vb::CStr(code) + "=" + std::string(value));
      out = ItemJudgement{2, "  Ｂ", "R", "高値です  "};
      return code != Currency(1004);
    };
  }
  ~DummyFillTest() override {
    toolScreenServices = DefaultToolScreenServices();
    frmDmyDataSet.Reset();
  }

  // Appends an item; `shown` items get a line of the grid.
  std::int16_t AddItem(KomInfo kom, bool shown = true) {
    frmResultIn.ItemTable.Append(std::move(kom));
    const auto i = static_cast<std::int16_t>(frmResultIn.ItemCount());
    if (shown) frmResultIn.RowItems.Append(i);
    return i;
  }
  static KomInfo Numeric(long code, std::int16_t jhkbn, const char* stype = "31") {
    KomInfo k;
    k.KomCode = Currency(code);
    k.KomName = "項目" + std::to_string(code);
    k.Ksyub = kKsyubNumeric;
    k.Jhkbn = jhkbn;
    k.Stype = stype;
    k.Yuko = " ";
    k.StdLow = "80";
    k.StdHigh = "120";
    return k;
  }
  static KomInfo Findings(long code, long type, const char* name = "所見") {
    KomInfo k;
    k.KomCode = Currency(code);
    k.KomName = name;
    k.Ksyub = kKsyubFindings;
    k.Skomcd = Currency(type);
    return k;
  }
  static KomInfo Judgement(long code) {
    KomInfo k;
    k.KomCode = Currency(code);
    k.Ksyub = kKsyubGroupJudgement;
    return k;
  }
  // Creates the matrix and a grid with a line for every shown item, every
  // cell pre-set so that untouched cells show.
  void MakeScreen() {
    frmResultIn.ResultMatrix.Create(frmResultIn.ItemCount(), 1);
    for (int i = 1; i <= frmResultIn.ItemCount(); ++i) {
      KekkaData& k = frmResultIn.ResultMatrix(i, 0);
      k = KekkaData{"old ", "old", 1, 0, "1", "9", "X", "USR", 20200101, 101010, 2};
    }
    grid::Spread& g = *bed_.spr;
    g.SetMaxRows(basPublic.DataRow + frmResultIn.RowCount());
    g.SetMaxCols(basPublic.PastCol);
    for (int r = basPublic.DataRow; r <= g.max_rows(); ++r) {
      for (int c = 1; c <= g.max_cols(); ++c) {
        g.SetText(c, r, "old");
        g.SetForeColor(grid::Range{c, r, c, r}, kUntouched);
      }
    }
  }
  static int RowOf(int line) { return basPublic.DataRow + line - 1; }
  std::string Cell(int col, int line) const { return bed_.spr->TextAt(col, RowOf(line)); }
  ui::Color Fore(int col, int line) const { return bed_.spr->ForeColorAt(col, RowOf(line)); }

  testing::LoadBed bed_;
  std::vector<std::string> judged_;
};

TEST_F(DummyFillTest, NumericItemsRunOnOrTakeTheirRangeAndAreJudged) {
  AddItem(Numeric(1001, 0));                  // line 1: running number
  AddItem(Numeric(1002, 1));                  // line 2: judged, the high limit
  AddItem(Numeric(1003, 0, "22"));            // line 3: running number, 2 decimals
  AddItem(Numeric(1004, 1, "99"));            // line 4: the digit edit fails; not judged
                                              // (the layout is skipped from 6 digits on)
  MakeScreen();
  bed_.shell.auto_answer = false;
  bed_.shell.AnswerBox(ui::MsgResult::kOk, "ダミーデータをセットしました。");
  Sub_FillDummyData(kDummyNumStandard, 5, 1, 1, false);
  ASSERT_SCRIPT_OK(bed_.shell);
  EXPECT_EQ(bed_.shell.boxes()[0].request.icon, ui::MsgIcon::kInformation);

  const ResultMatrix& m = frmResultIn.ResultMatrix;
  EXPECT_EQ(m(1, 0).Knsach, "5.0 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "5.0 ");
  EXPECT_EQ(m(1, 0).Han, 0);
  EXPECT_EQ(m(1, 0).Syoken, "old");  // not judged: its findings stay
  EXPECT_EQ(m(3, 0).Knsach, "6.00 ");
  EXPECT_EQ(m(2, 0).Knsach, "120.0 ");
  EXPECT_EQ(judged_, (std::vector<std::string>{"1002=120.0", "1004=120"}));
  EXPECT_EQ(m(2, 0).Han, 2);
  EXPECT_EQ(m(2, 0).Syoken, "高値です  ");
  EXPECT_EQ(Cell(basPublic.HanCol, 2), "Ｂ");
  EXPECT_EQ(Cell(basPublic.HanSyoCol, 2), "高値です");
  for (int col : {basPublic.ResultCol, basPublic.HanCol, basPublic.HanSyoCol}) {
    EXPECT_EQ(Fore(col, 2), kColorR) << col;
  }
  // A failed digit edit leaves the value; a failed judgement gives none.
  EXPECT_EQ(m(4, 0).Knsach, "old ");
  EXPECT_EQ(Cell(basPublic.ResultCol, 4), "old");
  EXPECT_EQ(m(4, 0).Han, 0);
  EXPECT_EQ(m(4, 0).Syoken, "");
  EXPECT_EQ(Cell(basPublic.HanCol, 4), "");
}

TEST_F(DummyFillTest, EveryFilledItemIsStampedAndKeepsItsDoneCheck) {
  AddItem(Numeric(1001, 0));
  KomInfo past = Numeric(1002, 0);
  past.Past = kPastResultOnly;
  AddItem(past);
  AddItem(Numeric(1003, 0), false);           // no line on the screen
  MakeScreen();
  Sub_FillDummyData(kDummyNumRunning, 1, 1, 1, false);

  const ResultMatrix& m = frmResultIn.ResultMatrix;
  for (int i : {1, 3}) {
    EXPECT_EQ(m(i, 0).User, "DEBUG");
    EXPECT_EQ(m(i, 0).Ymd, 20261209);
    EXPECT_EQ(m(i, 0).Hms, 103000);
    EXPECT_EQ(m(i, 0).Sokutei, kSokuteiNone);
    EXPECT_EQ(m(i, 0).Hekbn, 1);
    EXPECT_EQ(m(i, 0).Stndlw, "1");
    EXPECT_EQ(m(i, 0).Opflg, "X");
  }
  EXPECT_EQ(Cell(basPublic.UpdateCol, 1), "デバッグ");
  EXPECT_EQ(Cell(basPublic.UptimeCol, 1), "2026/12/09 10:30:00");
  EXPECT_EQ(Cell(basPublic.SokuteiCol, 1), "");
  // The item of earlier consultations keeps everything, its line too.
  EXPECT_EQ(m(2, 0), (KekkaData{"old ", "old", 1, 0, "1", "9", "X", "USR", 20200101, 101010, 2}));
  EXPECT_EQ(Cell(basPublic.ResultCol, 2), "old");
  // The item without a line is filled in the matrix only; the running
  // number passes over the earlier-only item.
  EXPECT_EQ(m(3, 0).Knsach, "2.0 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "1.0 ");
  for (int r = 0; r <= bed_.spr->max_rows(); ++r) {
    EXPECT_NE(bed_.spr->TextAt(basPublic.ResultCol, r), "2.0 ") << r;
  }
}

TEST_F(DummyFillTest, FindingsComeFromTheDefaultTheMasterOrAMadeUpText) {
  AddItem(Findings(2001, 50));                // the default of type 50
  AddItem(Findings(2002, 51));                // type 51: the first row after its title
  AddItem(Findings(2003, 52, "胸部 Ｘ線　ﾃｽﾄ"));  // nothing in the master
  MakeScreen();
  Sub_FillDummyData(kDummyNumRunning, 1, 1, 1, true);

  const ResultMatrix& m = frmResultIn.ResultMatrix;
  EXPECT_EQ(m(1, 0).Syoken, "既定の所見");
  EXPECT_EQ(m(2, 0).Syoken, "異常なし");
  const std::string made = m(3, 0).Syoken;
  EXPECT_EQ(made.substr(0, 4), "1209");  // month and day of the consultation
  EXPECT_EQ(made.find("胸部X線ﾃｽﾄの所見"), 4u);
  EXPECT_EQ(text::Cp932Length(made), 200u);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(m(i, 0).Han, 1) << i;  // always 1
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "既定の所見");
  EXPECT_EQ(Cell(basPublic.HanCol, 1), "");
  EXPECT_EQ(Fore(basPublic.ResultCol, 1), kColorR);   // judgement 2 of the finding
  EXPECT_EQ(Fore(basPublic.ResultCol, 3), kColorB);   // made up: judgement 1
  EXPECT_EQ(m(1, 0).Knsach, "old ");
}

TEST_F(DummyFillTest, WithoutTheMasterOrItsDefaultFindingsAreMadeUp) {
  AddItem(Findings(2001, 50));
  MakeScreen();
  Sub_FillDummyData(kDummyNumRunning, 1, 1, 2, false);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Syoken.substr(0, 10), "1209所見");
}

TEST_F(DummyFillTest, JudgementItemsTakeTheCodesInTurn) {
  for (int i = 0; i < 7; ++i) AddItem(Judgement(9999999001 + i), i < 2);
  MakeScreen();
  // Five judgements (codes 1, 2, 3, 4, 6); the list position picks the first.
  Sub_FillDummyData(kDummyNumRunning, 1, 3, 1, false);
  std::vector<int> codes;
  for (int i = 1; i <= 7; ++i) codes.push_back(frmResultIn.ResultMatrix(i, 0).Han);
  EXPECT_EQ(codes, (std::vector<int>{3, 4, 5, 1, 2, 3, 4}));
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "C1");
  EXPECT_EQ(Cell(basPublic.HanCol, 1), "C1");
  EXPECT_EQ(Fore(basPublic.HanCol, 1), 0x30);  // P
  EXPECT_EQ(Cell(basPublic.ResultCol, 2), "");  // code 4 has a blank mark
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "old ");

  frmResultIn.ResultMatrix.Create(7, 1);
  Sub_FillDummyData(kDummyNumRunning, 1, 1, 1, false);
  codes.clear();
  for (int i = 1; i <= 7; ++i) codes.push_back(frmResultIn.ResultMatrix(i, 0).Han);
  EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 1, 2}));
}

TEST_F(DummyFillTest, JudgementMarksGoToTheGroupJumpListForGroupUsers) {
  KomInfo k = Judgement(9999999001);
  k.NgrpIndex = 4;
  AddItem(k);
  KomInfo other = Judgement(9999999002);
  other.NgrpIndex = 7;  // a group the list does not hold
  AddItem(other);
  MakeScreen();
  basPublic.UserDspKbn = 1;
  grid::ListGrid& jump = frmGrpJmp->flxGroop;
  jump.SetCols(4);
  jump.SetRows(3);
  for (int r = 0; r < 3; ++r) jump.SetTextMatrix(r, 3, std::to_string(r + 3));  // subscripts 3, 4, 5
  Sub_FillDummyData(kDummyNumRunning, 1, 2, 1, false);
  EXPECT_EQ(jump.TextMatrix(1, 2), "Ｂ");
  EXPECT_EQ(jump.TextMatrix(0, 2), "");
  EXPECT_EQ(jump.TextMatrix(2, 2), "");
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0).Han, 3);
  frmGrpJmp.Reset();
}

TEST_F(DummyFillTest, RunTimeErrorEndsTheFillWithTheReportAndKeepsWhatWasFilled) {
  AddItem(Numeric(1001, 0));
  AddItem(Numeric(1002, 0));
  MakeScreen();
  frmResultIn.ResultMatrix.Create(1, 1);  // item 2 has no row: subscript error
  bed_.shell.auto_answer = false;
  bed_.shell.AnswerBox(ui::MsgResult::kOk, "ダミーデータのセット処理でエラーが発生しました。\r\nエラー番号 : 9");
  Sub_FillDummyData(kDummyNumRunning, 1, 1, 1, false);
  ASSERT_SCRIPT_OK(bed_.shell);
  ASSERT_EQ(bed_.shell.boxes().size(), 1u);
  EXPECT_EQ(bed_.shell.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(bed_.shell.boxes()[0].request.icon, ui::MsgIcon::kCritical);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "1.0 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, 1), "1.0 ");
  EXPECT_EQ(Cell(basPublic.ResultCol, 2), "old");
}

TEST_F(DummyFillTest, DialogFillsOnlyWhenRun) {
  AddItem(Numeric(1001, 1));
  AddItem(Numeric(1002, 0));
  MakeScreen();
  bed_.shell.auto_answer = false;
  bed_.shell.Click("frmDmyDataSet", "cmdCancel");
  ASSERT_TRUE(bed_.shell.Drive([] { Sub_ShowDummyDataDialog(); }));
  EXPECT_FALSE(basPublic.DummyDataSettings.Accepted);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "old ");

  // The defaults: running numbers from 1, the first judgement, the master.
  bed_.shell
      .Do([] {
        FrmDmyDataSet& d = *frmDmyDataSet;
        EXPECT_EQ(d.cboNumType.text(), "連番");
        EXPECT_EQ(d.txtKnsachStart.text(), "1");
        EXPECT_EQ(d.cboSyoken.text(), "使用する");
        ASSERT_EQ(d.cboHanStart.list_count(), 5);
        EXPECT_EQ(d.cboHanStart.List(0), "Ａ");
        EXPECT_EQ(d.cboHanStart.List(2), "C1");
        EXPECT_EQ(d.cboHanStart.list_index(), 0);
        EXPECT_EQ(d.chkSyoDefault.value(), 0);
      })
      .Click("frmDmyDataSet", "cmdRun")
      .AnswerBox(ui::MsgResult::kOk, "ダミーデータをセットしました。");
  ASSERT_TRUE(bed_.shell.Drive([] { Sub_ShowDummyDataDialog(); }));
  ASSERT_SCRIPT_OK(bed_.shell);
  const DummyDataSettingsInfo& s = basPublic.DummyDataSettings;
  EXPECT_TRUE(s.Accepted);
  EXPECT_EQ(s.NumType, kDummyNumRunning);
  EXPECT_EQ(s.KnsachStart, 1);
  EXPECT_EQ(s.HanStartIndex, 1);
  EXPECT_EQ(s.SyokenUse, 1);
  EXPECT_FALSE(s.SyoDefault);
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "1.0 ");
  EXPECT_EQ(frmResultIn.ResultMatrix(2, 0).Knsach, "2.0 ");
}

TEST_F(DummyFillTest, DialogStoresTheChoicesAndANonNumericStartAsZero) {
  bed_.shell.auto_answer = true;
  bed_.shell
      .Do([] {
        FrmDmyDataSet& d = *frmDmyDataSet;
        d.cboNumType.SetListIndex(1);
        d.cboHanStart.SetListIndex(3);
        d.cboSyoken.SetListIndex(1);
        d.chkSyoDefault.SetValue(1);
        d.txtKnsachStart.SetText("abc");
      })
      .Click("frmDmyDataSet", "cmdRun");
  ASSERT_TRUE(bed_.shell.Drive([] { Sub_ShowDummyDataDialog(); }));
  const DummyDataSettingsInfo& s = basPublic.DummyDataSettings;
  EXPECT_EQ(s.NumType, kDummyNumAbove);
  EXPECT_EQ(s.HanStartIndex, 4);
  EXPECT_EQ(s.SyokenUse, 2);
  EXPECT_TRUE(s.SyoDefault);
  EXPECT_EQ(s.KnsachStart, 0);
}

}  // namespace
}  // namespace qz
