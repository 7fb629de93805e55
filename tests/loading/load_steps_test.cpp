// The loading steps from the settings record to the column headers over one
// examinee's consultation.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/kwb_date.h"
#include "examinee/bas_public.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"
#include "loading/settings_master.h"
#include "platform/text/vb.h"

namespace qz::testing {
namespace {

// The consultation fixture with an INI colour, opened.
void OpenConsultation(LoadBed& bed) {
  AddConsultation(bed.suite);
  bed.suite.SetIni("COLOR", "R", "000080");
  bed.Open();
}

void SetUpSettings() {
  basPublic.HassouCode = Currency(8888);
  basPublic.HanSort[1] = 0;  // judgement 1 is in the limited list all the same
  basPublic.HanSort[2] = 0;
  basPublic.JkoCodeLists[kJkoIppan] = {Currency(100)};
  basPublic.JkoCodeLists[kJkoFuka] = {Currency(110)};
  basPublic.JkoCodeLists[kJkoSikyu] = {Currency(5001)};  // booked as KKBN 1: not compared
  basPublic.JkoCodeLists[kJkoForo] = {Currency(5002)};
}

// The course and master values an item record carries after the item
// steps; every other field stays empty.
struct ItemRow {
  long long code;
  std::int16_t past;
  std::int32_t ngrp;
  std::int16_t hjyun;
  std::int16_t keta, kekano, hantno, syokno;
  std::int16_t hgrp1, hgrp2, hgrp3, hgrp4;
  std::int32_t pjyun;
};

void ExpectItems(const std::vector<ItemRow>& rows) {
  ASSERT_EQ(frmResultIn.ItemCount(), static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ItemRow& r = rows[i];
    const KomInfo& got = frmResultIn.ItemTable[static_cast<int>(i) + 1];
    SCOPED_TRACE("item " + std::to_string(r.code));
    EXPECT_EQ(got.KomCode, Currency(r.code));
    EXPECT_EQ(got.Past, r.past);
    EXPECT_EQ(got.Ngrp, r.ngrp);
    EXPECT_EQ(got.Hjyun, r.hjyun);
    EXPECT_EQ(got.Keta, r.keta);
    EXPECT_EQ(got.Kekano, r.kekano);
    EXPECT_EQ(got.Hantno, r.hantno);
    EXPECT_EQ(got.Syokno, r.syokno);
    EXPECT_EQ(got.Hgrp[1], r.hgrp1);
    EXPECT_EQ(got.Hgrp[2], r.hgrp2);
    EXPECT_EQ(got.Hgrp[3], r.hgrp3);
    EXPECT_EQ(got.Hgrp[4], r.hgrp4);
    EXPECT_EQ(got.Pjyun, r.pjyun);
    KomInfo rest = got;
    rest.KomCode = Currency(0);
    rest.Past = rest.Hjyun = rest.Keta = rest.Kekano = rest.Hantno = rest.Syokno = 0;
    rest.Ngrp = rest.Pjyun = 0;
    rest.Hgrp.Fill(0);
    EXPECT_TRUE(rest == KomInfo{}) << "a field no step sets is set";
  }
}

std::vector<long long> Codes() {
  std::vector<long long> out;
  for (const KomInfo& k : frmResultIn.ItemTable) out.push_back(k.KomCode.whole());
  return out;
}

TEST(LoadSteps, TheConsultationLoadsIntoTheTables) {
  LoadBed bed;
  OpenConsultation(bed);
  SetUpSettings();
  ASSERT_EQ(bed.RunSteps(), -1);
  EXPECT_TRUE(bed.Boxes().empty()) << bed.Boxes().front();
  EXPECT_FALSE(frmResultIn.Unloaded);

  // Today's courses first (1002 keeps course 100's values), then the single
  // items, then what the earlier consultations add, then the result-only
  // item. 5003, booked only earlier but stored today, becomes 2; 8888 is
  // the dispatch-date item; the neighbour's 6002 and the earlier 6001 are
  // no items of today.
  ExpectItems({
      {1001, 0, 10, 1, 3, 1, 0, 0, 1, 2, 0, 0, 100},
      {1002, 0, 10, 2, 0, 0, 1, 0, 0, 0, 0, 999, 200},
      {1003, 0, 20, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0},
      {1101, 0, 30, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {5001, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {5002, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {5003, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {2001, 1, 40, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0},
      {7001, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  });

  // Columns: today, then newest first; the last takes its main course.
  EXPECT_EQ(frmResultIn.HistoryCount(), 3);
  EXPECT_EQ(frmResultIn.HistoryDates, (std::vector<JrkEntry>{
                                          {"20261209", 0}, {"20251201", 100}, {"20241202", 200}, {"20231204", 100}}));
  EXPECT_EQ(frmResultIn.SendDateText, "20261220");
  EXPECT_TRUE(basPublic.AutoJudgeDone);

  // Main course 110 moved to slot 1 with its generation.
  EXPECT_EQ(frmResultIn.CourseCodes[1], Currency(110));
  EXPECT_EQ(frmResultIn.CourseCodes[2], Currency(100));
  EXPECT_EQ(frmResultIn.CourseCodes[3], Currency(0));
  EXPECT_EQ(frmResultIn.CourseGenDates[1], 20210401);
  EXPECT_EQ(frmResultIn.CourseGenDates[2], 20200101);
  EXPECT_EQ(frmResultIn.CourseGenDates[3], 0);

  // Ippan by course 100, Fuka by 110, Foro by item 5002 of kind 2.
  EXPECT_TRUE(basPublic.JkoFlags[kJkoIppan]);
  EXPECT_TRUE(basPublic.JkoFlags[kJkoFuka]);
  EXPECT_TRUE(basPublic.JkoFlags[kJkoForo]);
  EXPECT_FALSE(basPublic.JkoFlags[kJkoSikyu]);
  EXPECT_EQ(basPublic.JkoKbn, 2);
  EXPECT_EQ(basPublic.ReportCode, 8);

  // Header.
  EXPECT_EQ(frmResultIn.txtID, "0000012345");
  EXPECT_EQ(frmResultIn.txtKana, "ﾔﾏﾀﾞ ﾊﾅｺ");
  EXPECT_EQ(frmResultIn.txtName, "山田　花子");
  EXPECT_EQ(frmResultIn.ExamineeSex, 2);
  EXPECT_EQ(frmResultIn.txtSex, "女");
  EXPECT_EQ(frmResultIn.txtBirth, "昭和55年3月15日");
  EXPECT_EQ(frmResultIn.ExamineeAge, 46);
  EXPECT_EQ(frmResultIn.txtAge, "46歳");
  EXPECT_EQ(frmResultIn.txtDanname, "テスト商事");

  // Settings record: judgement 5 is empty and left out; judgement 2 is not
  // in the limited list.
  EXPECT_EQ(frmResultIn.HanComboList, "Ａ  異常なし\tＢ  軽度\tC1  要観察\t  保留\tＦ  治療中");
  EXPECT_EQ(frmResultIn.HanComboListLimited, "Ａ  異常なし\tC1  要観察\t  保留\tＦ  治療中");
  EXPECT_EQ(frmResultIn.SysColors, (std::array<std::string, 5>{"A", "B", "R", "K", "P"}));
  EXPECT_EQ(frmResultIn.SouChk, "1");
  EXPECT_EQ(frmResultIn.DefaultColorLetter, "B");
  EXPECT_EQ(basPublic.ColorTable,
            (std::array<std::int32_t, 10>{0xFF0000, 0x000080, 0xFF80C0, 0x80FFFF, 0xFFFFFF, 0x000000, 0x004080,
                                          0x00FFFF, 0x00FF00, 0xC0C0C0}));

  const grid::Spread* spr = bed.spr.get();
  // Column headers: course, title and era date of each column; the third
  // earlier one has no title.
  struct Header {
    int col;
    const char* course;
    const char* title;
    const char* date;
  };
  for (const Header& h : {Header{5, "オプション", "今回結果", "令 8/12/9"}, Header{12, "一般健診", "前回結果", "令 7/12/1"},
                          Header{13, "人間ドック", "前々回結果", "令 6/12/2"},
                          Header{14, "一般健診", "", "令 5/12/4"}}) {
    SCOPED_TRACE(h.col);
    EXPECT_EQ(spr->TextAt(h.col, basPublic.CourseRow), h.course);
    EXPECT_EQ(spr->TextAt(h.col, basPublic.HeaderRow), h.title);
    EXPECT_EQ(spr->TextAt(h.col, basPublic.JdateRow), h.date);
    EXPECT_EQ(spr->FormatAt(h.col, basPublic.JdateRow).align, grid::HAlign::kCenter);
    EXPECT_TRUE(spr->FormatAt(h.col, basPublic.HeaderRow).font_bold);
    EXPECT_EQ(spr->ForeColorAt(h.col, basPublic.CourseRow), 0x000000u);  // letter A
  }
  EXPECT_EQ(spr->max_cols(), 14);
  EXPECT_EQ(spr->ColWidth(5), basPublic.WidthLong);
  EXPECT_EQ(spr->ColWidth(12), basPublic.WidthShort);
  EXPECT_EQ(spr->BackColorAt(12, 3), static_cast<ui::Color>(basPublic.ColorJrk1));
  EXPECT_EQ(spr->BackColorAt(13, 3), static_cast<ui::Color>(basPublic.ColorJrk2));
  EXPECT_EQ(spr->BackColorAt(14, 3), static_cast<ui::Color>(basPublic.ColorJrk1));
}

TEST(LoadSteps, MaxJrkBoundsTheEarlierColumnsAndTheirItems) {
  struct Case {
    std::int32_t max_jrk;
    std::vector<JrkEntry> columns;
    std::vector<long long> items;
    int grid_cols;
  };
  const std::vector<Case> cases = {
      {0, {{"20261209", 0}}, {1001, 1002, 1003, 1101, 5001, 5002, 5003, 7001}, 11},
      {1, {{"20261209", 0}, {"20251201", 100}}, {1001, 1002, 1003, 1101, 5001, 5002, 5003, 7001}, 12},
      {2, {{"20261209", 0}, {"20251201", 100}, {"20241202", 200}},
       {1001, 1002, 1003, 1101, 5001, 5002, 5003, 2001, 7001}, 13},
      {5, {{"20261209", 0}, {"20251201", 100}, {"20241202", 200}, {"20231204", 100}},
       {1001, 1002, 1003, 1101, 5001, 5002, 5003, 2001, 7001}, 14},
  };
  LoadBed bed;
  OpenConsultation(bed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max_jrk);
    SetUpSettings();
    basPublic.MaxJrk = c.max_jrk;
    ASSERT_EQ(bed.RunSteps(), -1);
    EXPECT_EQ(frmResultIn.HistoryDates, c.columns);
    EXPECT_EQ(Codes(), c.items);
    EXPECT_EQ(bed.spr->max_cols(), c.grid_cols);
  }
}

// A damaged file: the step that reads it shows its warning with the status
// and ends the load; no later step runs.
TEST(LoadSteps, AFailedReadEndsTheLoadWithItsWarning) {
  struct Case {
    const char* file;
    int damage_before;
    int fails_at;
    const char* prefix;
    bool reset_era = false;
  };
  const std::vector<Case> cases = {
      {"QZSYSLF.BTR", 0, 0, "設定マスタの読み込みに失敗しました。\r\nステータス : "},
      {"QZJSNLF.BTR", 0, 1, "「0000012345」の受診者マスタの読み込みに失敗しました。\r\nステータス : "},
      {"QZDANLF.BTR", 0, 1, "「501」の団体マスタの読み込みに失敗しました。\r\nステータス : "},
      {"QZJRKLF.BTR", 0, 2, "受診歴マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345\r\nステータス : "},
      {"QZJKOLF.BTR", 0, 3,
       "受診項目マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345受診日     : 20261209ステータス : "},
      {"QZKOSLF.BTR", 0, 3,
       "コースマスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345\r\n受診日     : 20261209\r\nステータス : "},
      {"QZKSKLF.BTR", 0, 3, "コース項目マスタの読み込みに失敗しました。\r\nステータス : "},
      {"QZKKKLF.BTR", 0, 4,
       "検査結果マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345受診日     : 20261209ステータス : "},
      {"QZKOSLF.BTR", 5, 5,
       "コースマスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345\r\n受診日     : 20261209\r\nステータス : "},
      {"QZSYSLF.BTR", 5, 5, "受診日の和暦変換でエラーが発生しました。\r\n日付 : 20261209", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " before step " + std::to_string(c.damage_before));
    // Each case gets a suite of its own: the damage stays.
    LoadBed run;
    AddConsultation(run.suite);
    run.Open();
    const int failed = run.RunSteps(0, c.damage_before, [&] {
      if (c.reset_era) basDate = BasDate{};
      run.DamageFile(c.file);
    });
    EXPECT_EQ(failed, c.fails_at);
    EXPECT_TRUE(frmResultIn.Unloaded);
    ASSERT_FALSE(run.shell.boxes().empty());
    const ui::MessageBoxRequest& box = run.shell.boxes().back().request;
    EXPECT_EQ(box.title, "結果入力");
    EXPECT_EQ(box.icon, ui::MsgIcon::kExclamation);
    ASSERT_EQ(box.text.rfind(c.prefix, 0), 0u) << box.text;
    if (!c.reset_era) {
      const std::string status = box.text.substr(std::string(c.prefix).size());
      EXPECT_TRUE(vb::IsNumeric(status)) << status;
      EXPECT_NE(status, "0");
      EXPECT_NE(status, "4");
      EXPECT_NE(status, "9");
    }
  }
}

// A run-time error inside a step shows the step's error report and the
// load goes on with the next step.
// A consultation of one single item 4711 booked with main course `pcode`.
void AddOneItem(testkit::SuiteBuilder& b, const char* pcode) {
  const std::string me(kExaminee);
  AddSystemRecords(b);
  b.Add("QZJSNLF", {{"CODE", me}, {"SEX", 1}, {"BIRTH", 19700101}});
  b.Add("QZJRKLF", {{"CODE", me}, {"JDATE", kToday}});
  b.Add("QZJKOLF", {{"CODE", me}, {"KSYMD", kToday}, {"KKBN_1", 1}, {"KCODE_1", 4711}, {"PCODE", pcode}});
}

TEST(LoadSteps, ARunTimeErrorEndsOnlyItsStep) {
  struct Case {
    const char* what;
    std::function<void(LoadBed&)> records;
    std::function<void()> after_open;
    const char* report;
  };
  const std::vector<Case> cases = {
      {"a colour of more than 32 bits",
       [](LoadBed& b) {
         AddOneItem(b.suite, "");
         b.suite.SetIni("COLOR", "K", "123456789");
       },
       nullptr, "設定情報の取得処理でエラーが発生しました。\r\nエラー番号 : 6\r\n"},
      {"a main course that is no number", [](LoadBed& b) { AddOneItem(b.suite, "ABC"); }, nullptr,
       "受診項目の取得処理でエラーが発生しました。\r\nエラー番号 : 13\r\n"},
      {"no grid", [](LoadBed& b) { AddConsultation(b.suite); }, [] { frmResultIn.sprResult = nullptr; },
       "受診歴情報の表示処理でエラーが発生しました。\r\nエラー番号 : 424\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadBed bed;
    c.records(bed);
    bed.Open();
    if (c.after_open) c.after_open();
    EXPECT_EQ(bed.RunSteps(), -1);
    EXPECT_FALSE(frmResultIn.Unloaded);
    ASSERT_EQ(bed.shell.boxes().size(), 1u);
    const ui::MessageBoxRequest& box = bed.shell.boxes()[0].request;
    EXPECT_EQ(box.text.rfind(c.report, 0), 0u) << box.text;
    EXPECT_EQ(box.icon, ui::MsgIcon::kCritical);
    EXPECT_EQ(box.title, "結果入力");
  }
}

TEST(LoadSteps, AnEmptyFirstJudgementLeavesBothListsStartingWithATab) {
  LoadBed bed;
  bed.suite.Add("QZSYSLF", {{"KBN", 3}, {"CODE", "      "}, {"HKBN_1", "    "}, {"HNAME_1", ""},
                            {"HKBN_2", "  Ｂ"}, {"HNAME_2", "軽度"}, {"HCOL_1", "R"}});
  // The era and institution records share the file: the settings record is
  // the one of class 3.
  bed.suite.Add("QZSYSLF.ERA", {{"KBN", 2}, {"CODE", "      "}, {"GNMEI_1", "令和"}, {"GNSYMD_1", 20190501}});
  bed.Open();
  ASSERT_TRUE(Sub_LoadSettingsMaster());
  EXPECT_EQ(frmResultIn.HanComboList, "\tＢ  軽度");
  EXPECT_EQ(frmResultIn.HanComboListLimited, "\tＢ  軽度");
  EXPECT_EQ(frmResultIn.DefaultColorLetter, "R");
  EXPECT_EQ(basPublic.ColorTable[0], 0xFF0000);  // B: pure blue by default
  EXPECT_EQ(basPublic.ColorTable[1], 0x0000FF);  // R: pure red
}

}  // namespace
}  // namespace qz::testing
