// The write-back of a save: examinee master, history (insert, update, the
// deletion of the stored results first) and results (insert, update, the
// items that are written and what each field holds), read back through
// fresh data-access objects; and a save that fails part-way leaves all
// three files as they were.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "data/bas_file_access.h"
#include "examinee/bas_public.h"
#include "examinee/cls_vlmf_qzonllf.h"
#include "examinee/frm_guide.h"
#include "examinee/save_fixture.h"
#include "examinee/save_screen.h"
#include "examinee/update_masters.h"
#include "loading/load_state.h"
#include "platform/record/btr_access.h"
#include "platform/text/cp932.h"

namespace qz::testing {
namespace {

const std::string kMe(kExaminee);

KekkaData Stamped(std::string value, int hms = 93005) {
  KekkaData r;
  r.Knsach = std::move(value);
  r.User = "USER01";
  r.Ymd = kToday;
  r.Hms = hms;
  return r;
}

class WriteBack : public ::testing::Test {
 protected:
  void AddStoredResult(long long item, const std::string& value, int date = kToday) {
    bed.bed.suite.Add("QZKKKLF", {{"CODE", kMe}, {"JDATE", date}, {"KKMKNO", item}, {"KNSACH", value},
                                  {"USER", "OLDUSER"}, {"YMD", "20261201"}});
  }
  std::unique_ptr<record::BtrAccess> Result(long long item, int date = kToday) const {
    return bed.Read("QZKKKLF", {{"CODE", kMe}, {"JDATE", date}, {"KKMKNO", item}});
  }
  std::unique_ptr<record::BtrAccess> History(const char* layout = "QZJRKLF", int date = kToday) const {
    return bed.Read(layout, {{"CODE", kMe}, {"JDATE", date}});
  }
  struct Files {
    std::vector<std::string> jsn, jrk, kkk;
    bool operator==(const Files&) const = default;
  };
  Files Snapshot() const { return {bed.Dump("QZJSNLF"), bed.Dump("QZJRKLF"), bed.Dump("QZKKKLF")}; }
  static std::string Text(const std::unique_ptr<record::BtrAccess>& obj, const char* field) {
    return obj->GetField(field).ToText();
  }

  SaveBed bed;
};

TEST_F(WriteBack, TheLatestConsultationDateOnlyMovesForward) {
  for (int latest : {20251201, kToday, 20270105}) {
    SaveBed fresh;
    fresh.Open(latest);
    fresh.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
    const std::string before = fresh.Read("QZJSNLF", {{"CODE", kMe}})->RecordBytes();
    ASSERT_TRUE(Sub_UpdateMasters()) << latest;
    auto after = fresh.Read("QZJSNLF", {{"CODE", kMe}});
    EXPECT_EQ(after->GetField("ZNKDAT").ToLong(), std::max(latest, kToday)) << latest;
    if (latest >= kToday) {
      EXPECT_EQ(after->RecordBytes(), before) << latest;
    }
    EXPECT_TRUE(fresh.Boxes().empty());
  }
}

TEST_F(WriteBack, ANewHistoryRowGetsPriorityCoursesFirstAndTheScreensValues) {
  bed.bed.suite.Add("QZCARLF", {{"CODE", kMe}, {"DATE", 20261101}, {"REN", 1}, {"SEIKAN", "S123"}});
  bed.bed.suite.Add("QZJKRLF", {{"CODE", kMe}, {"DATE", 20261001}, {"REN", 1}, {"JSNO", "J0001"}, {"JSDATE", 20270331}});
  bed.Open();
  basPublic.JkoKbn = 1;
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  for (int k = 1; k <= 4; ++k) frmResultIn.CourseCodes[k] = Currency(100 + 10 * k);  // A..D = 110..140
  basPublic.YusenCno.Count = 1;
  basPublic.YusenCno.Items = {0, 130};  // C
  frmResultIn.GroupItems[3].Han = 2;
  frmResultIn.GroupItems[7].Han = 3;    // the largest: no overall judgement of its own
  frmResultInSave.txtHassou = "2026/12/20";
  basPublic.AutoJudgeDone = true;
  ASSERT_TRUE(Sub_UpdateMasters());
  auto h = History();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->GetField("CNO1").ToLong(), 130);
  EXPECT_EQ(h->GetField("CNO2").ToLong(), 110);
  EXPECT_EQ(h->GetField("CNO3").ToLong(), 120);
  EXPECT_EQ(Text(h, "SHAT"), "C1");
  EXPECT_EQ(Text(h, "KDANID"), "0000000501");
  EXPECT_EQ(Text(h, "SEIKAN"), "S123      ");
  EXPECT_EQ(Text(h, "EDIT"), " ");
  EXPECT_EQ(Text(h, "PRINT"), " ");
  EXPECT_EQ(Text(h, "PRYMD"), "20261220");
  EXPECT_EQ(Text(h, "JHKBN"), "1");
  EXPECT_EQ(Text(h, "JSNO"), "J0001      ");
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST_F(WriteBack, AnExistingHistoryRowIsRewrittenAndKeepsItsPrintMark) {
  bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"SHAT", "Ｂ"}, {"CNO1", 999}, {"CNO2", 998},
                                {"EDIT", "X"}, {"PRINT", "1"}, {"PRYMD", "20261201"}, {"JHKBN", "1"}});
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  frmResultIn.CourseCodes[1] = Currency(100);
  frmResultIn.GroupItems[999].Han = 1;  // the overall judgement wins over a larger group's
  frmResultIn.GroupItems[5].Han = 6;
  frmResultInSave.txtHassou = "2026/13/01";
  ASSERT_TRUE(Sub_UpdateMasters());
  EXPECT_EQ(bed.Dump("QZJRKLF").size(), 1u);
  auto h = History();
  EXPECT_EQ(h->GetField("CNO1").ToLong(), 100);
  EXPECT_EQ(h->GetField("CNO2").ToLong(), 0);
  EXPECT_EQ(h->GetField("CNO3").ToLong(), 0);
  EXPECT_EQ(h->RecordBytes().substr(18, 2), text::ToCp932("Ａ"));
  EXPECT_EQ(Text(h, "PRINT"), "1");
  EXPECT_EQ(Text(h, "EDIT"), " ");
  EXPECT_EQ(Text(h, "PRYMD"), "00000000");
  EXPECT_EQ(Text(h, "JHKBN"), "0");
}

TEST_F(WriteBack, AnUndefinedOverallJudgementSavesNothing) {
  AddStoredResult(1001, "170.0");
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  frmResultIn.GroupItems[999].Han = 5;
  const Files before = Snapshot();
  EXPECT_FALSE(Sub_UpdateMasters());
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"判定変換に失敗しました。\r\n判定コード : 5"});
  EXPECT_EQ(bed.bed.shell.boxes()[0].request.title, "結果入力");
  EXPECT_EQ(bed.bed.shell.boxes()[0].request.icon, ui::MsgIcon::kExclamation);
  // The examinee master had been raised already: undone with the rest.
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(bed.unloads, 0);
}

TEST_F(WriteBack, AMissingExamineeWritesNothingAndKeepsTheScreen) {
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  basPublic.ExamineeNo = "0000099999";
  const Files before = Snapshot();
  EXPECT_FALSE(Sub_UpdateMasters());
  EXPECT_EQ(bed.Boxes(), std::vector<std::string>{"受診者マスタが見つかりません。\r\n受診者番号 : 0000099999"});
  EXPECT_EQ(bed.unloads, 0);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(WriteBack, ResultsOfTheItemsBookedNowAndMayBeEntered) {
  AddStoredResult(1002, "60.0");
  AddStoredResult(1003, "OLD");
  bed.Open();
  basPublic.SokuteiKekka = 0;
  KomInfo height = NumericItem(1001, "身長");
  height.StdLow = "150";
  height.StdHigh = "99999.9999";
  KomInfo weight = NumericItem(1002, "体重");
  weight.StdLow = "40.5";
  weight.StdHigh = std::string(" 80\0", 4);
  KomInfo theirs = NumericItem(1003, "他科");
  theirs.Editable = false;
  KomInfo group_item = NumericItem(9999999001, "グループ");
  group_item.Ksyub = kKsyubGroupJudgement;
  group_item.Editable = false;
  KomInfo earlier = NumericItem(1004, "前回のみ");
  earlier.Past = kPastBookedEarlier;
  KomInfo men = NumericItem(1005, "男性のみ");
  men.Sex = 1;
  KomInfo skipped = NumericItem(1006, "未実施");
  KekkaData not_performed = Stamped("12.0 ");
  not_performed.Syoken = "所見";
  not_performed.Han = 2;
  not_performed.Sokutei = kSokuteiNotPerformed;
  KekkaData judged = Stamped("");
  judged.Han = 2;
  judged.Hekbn = 1;
  bed.Show({{height, Stamped(std::string("172.0 \0", 7), 5)},
            {weight, Stamped("65.5 ")},
            {theirs, Stamped("99.0 ")},
            {group_item, judged},
            {earlier, Stamped("1.0 ")},
            {men, Stamped("1.0 ")},
            {skipped, not_performed}});
  ASSERT_TRUE(Sub_UpdateMasters());
  EXPECT_TRUE(bed.Boxes().empty());

  auto r = Result(1001);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(Text(r, "KNSACH"), "     172.0");
  EXPECT_EQ(Text(r, "STNDLW"), "     150.0");
  EXPECT_EQ(Text(r, "STNDHI"), std::string(10, ' '));
  EXPECT_EQ(Text(r, "USER"), "USER01    ");
  EXPECT_EQ(Text(r, "YMD"), "20261209");
  EXPECT_EQ(Text(r, "HMS"), "000005");
  EXPECT_EQ(frmResultIn.ResultMatrix(1, 0).Knsach, "172.0");  // cleaned on the screen too
  r = Result(1002);
  EXPECT_EQ(Text(r, "KNSACH"), "      65.5");
  EXPECT_EQ(Text(r, "STNDLW"), "      40.5");
  EXPECT_EQ(Text(r, "STNDHI"), "      80.0");
  EXPECT_EQ(Text(Result(1003), "KNSACH"), "OLD       ");  // another group's result stays as stored
  EXPECT_EQ(Text(Result(1003), "USER"), "OLDUSER   ");
  r = Result(9999999001);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->GetField("HAN").ToLong(), 2);
  EXPECT_EQ(r->GetField("HEKBN").ToLong(), 1);
  EXPECT_EQ(Result(1004), nullptr);
  EXPECT_EQ(Result(1005), nullptr);
  r = Result(1006);
  EXPECT_EQ(Text(r, "KNSACH"), std::string(10, ' '));
  EXPECT_EQ(Text(r, "SYOKEN"), std::string(200, ' '));
  EXPECT_EQ(r->GetField("HAN").ToLong(), 0);
  EXPECT_EQ(r->GetField("SOKUTEI").ToLong(), 1);
  EXPECT_EQ(bed.Dump("QZKKKLF").size(), 5u);
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(WriteBack, OptionFlagsOfThePerformedCheck) {
  struct Case {
    const char* what;
    int sumi;
    std::string opchk;
    std::int16_t kind, sokutei, hekbn;
    std::string value;
    std::string expected;  // the stored flag is "9"
  };
  const std::vector<Case> cases = {
      {"unmeasurable, unchecked", 0, "1", kKsyubNumeric, kSokuteiUnmeasurable, 0, "", "3"},
      {"not performed, checked", 0, "1", kKsyubNumeric, kSokuteiNotPerformed, 1, "5", "2"},
      {"no result, unchecked", 0, "1", kKsyubNumeric, kSokuteiNone, 0, "", "1"},
      {"a result, checked", 0, "1", kKsyubNumeric, kSokuteiNone, 1, "5", "4"},
      {"judgement code 0 is a result", 0, "1", kKsyubGroupJudgement, kSokuteiNone, 0, "", "3"},
      {"empty findings", 0, "1", kKsyubFindings, kSokuteiNone, 0, "", "1"},
      {"not an option item", 0, "0", kKsyubNumeric, kSokuteiNone, 1, "5", "9"},
      {"checked items only: unchecked keeps", 1, "1", kKsyubNumeric, kSokuteiNone, 0, "5", "9"},
      {"checked items only: checked", 1, "1", kKsyubNumeric, kSokuteiNone, 1, "5", "4"},
      {"never computed", 2, "1", kKsyubNumeric, kSokuteiNone, 1, "5", "9"},
  };
  for (const Case& c : cases) {
    for (std::int16_t ticked : {0, 1}) {
      SaveBed fresh;
      fresh.Open();
      basPublic.OpChkSumi = static_cast<std::int16_t>(c.sumi);
      frmResultInSave.chkOperation = ticked;
      KomInfo item = NumericItem(1001, "オプション");
      item.Ksyub = c.kind;
      item.Opchk = c.opchk;
      KekkaData r = Stamped(c.value);
      r.Sokutei = c.sokutei;
      r.Hekbn = c.hekbn;
      r.Opflg = "9";
      fresh.Show({{item, r}});
      ASSERT_TRUE(Sub_UpdateMasters()) << c.what;
      auto stored = fresh.Read("QZKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 1001}});
      EXPECT_EQ(stored->GetField("OPFLG").ToText(), ticked == 1 ? c.expected : "9") << c.what << " ticked " << ticked;
    }
  }
}

TEST_F(WriteBack, TheDeletionListEmptiesTheStoredResultsFirstWithALog) {
  AddStoredResult(1001, "170.0");
  AddStoredResult(1003, "OLD");
  AddStoredResult(7001, "9");              // no longer on screen
  AddStoredResult(7001, "8", 20251201);   // an earlier consultation
  bed.Open();
  KomInfo theirs = NumericItem(1003, "他科");
  theirs.Editable = false;
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}, {theirs, Stamped("99.0 ")}});
  basPublic.DelListAnswer = 2;
  ASSERT_TRUE(Sub_UpdateMasters());
  EXPECT_TRUE(frmResultInSave.ResultsDeleted);
  EXPECT_EQ(Result(7001), nullptr);
  EXPECT_NE(Result(7001, 20251201), nullptr);
  EXPECT_EQ(Text(Result(1001), "KNSACH"), "     172.0");
  // After the deletion every item is written, another group's too.
  EXPECT_EQ(Text(Result(1003), "KNSACH"), "      99.0");

  const std::string log = bed.bed.suite.paths().work + "del" + kMe + "_20261209_103000.log";
  std::ifstream in(log, std::ios::binary);
  ASSERT_TRUE(in) << log;
  std::stringstream text;
  text << in.rdbuf();
  const std::string content = text::FromCp932(text.str());
  EXPECT_EQ(content.rfind("★★★★★ 以下の検査結果データを削除しました ★★★★★\r\n", 0), 0u);
  EXPECT_NE(content.find("KKMKNO ： 7001\r\n"), std::string::npos);
  EXPECT_NE(content.find("KNSACH ： OLD       \r\n"), std::string::npos);
}

TEST_F(WriteBack, AFailedResultWriteLeavesAllThreeFilesAsTheyWere) {
  AddStoredResult(1001, "170.0");
  AddStoredResult(7001, "9");
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")},
            {NumericItem(1002, "体重"), Stamped("65.5 ")},
            {NumericItem(1003, "腹囲"), Stamped("80.0 ")}});
  bed.FailInsertsAfter("QZKKKLF.BTR", 1);  // in each save 1 insert goes in, the next does not
  for (int answer : {0, 2}) {
    SCOPED_TRACE(answer);
    basPublic.DelListAnswer = static_cast<std::int16_t>(answer);
    bed.bed.shell.ClearRecords();
    bed.unloads = 0;
    const Files before = Snapshot();
    EXPECT_FALSE(Sub_UpdateMasters());
    ASSERT_EQ(bed.Boxes().size(), 1u);
    EXPECT_EQ(bed.Boxes()[0].rfind("検査結果マスタの書き込みに失敗しました。\r\n受診者番号 : 0000012345\r\nステータス : ", 0), 0u);
    EXPECT_EQ(bed.unloads, 0);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(frmResultInSave.ResultsDeleted);
    for (const auto& f : std::filesystem::directory_iterator(bed.bed.suite.paths().work)) {
      EXPECT_NE(f.path().extension(), ".log") << "the log of an undone deletion is removed";
    }
    EXPECT_FALSE(frmGuide.loaded());
    record::BtrAccess next;  // no transaction was left behind
    EXPECT_EQ(next.BeginTrans(), record::kStatusOk);
    next.AbortTrans();
  }
}

// A box left standing must not hold the three files against the other
// terminals: every message of a save comes after its transaction ended.
TEST_F(WriteBack, NoMessageOfASaveStandsInsideItsTransaction) {
  AddStoredResult(1001, "170.0");
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}, {NumericItem(1002, "体重"), Stamped("65.5 ")}});
  bed.FailInsertsAfter("QZKKKLF.BTR", 0);
  std::vector<int> begin_at_box;
  bed.bed.shell.on_box = [&](const ui::MessageBoxRequest&) {
    record::BtrAccess probe;
    begin_at_box.push_back(probe.BeginTrans());
    probe.AbortTrans();
  };
  const Files before = Snapshot();
  EXPECT_FALSE(Sub_UpdateMasters());
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("検査結果マスタの書き込みに失敗しました。", 0), 0u);
  EXPECT_EQ(begin_at_box, std::vector<int>{record::kStatusOk});
  EXPECT_EQ(bed.unloads, 0);
  EXPECT_EQ(Snapshot(), before);
}

// A file that cannot be read undoes the save; the examinee stays held and
// on screen for another try.
TEST_F(WriteBack, AnUnreadableFileUndoesTheSaveAndKeepsTheExamineeHeld) {
  struct Case {
    const char* file;
    const char* warning;
  };
  for (const Case& c : std::vector<Case>{{"QZJSNLF.BTR", "受診者マスタの読み込みに失敗しました。"},
                                         {"QZJRKLF.BTR", "受診歴マスタの読み込みに失敗しました。"},
                                         {"QZKKKLF.BTR", "検査結果マスタの読み込みに失敗しました。"}}) {
    SCOPED_TRACE(c.file);
    SaveBed fresh;
    fresh.bed.suite.Add("QZKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 1001}, {"KNSACH", "170.0"}});
    fresh.Open();
    fresh.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
    std::int32_t ren = 0;
    ClsVlmfQzonllf().Sub_SetOnlineInfo(kMe, ren);
    ASSERT_EQ(ren, 1);
    bool released = false;
    frmResultIn.UnloadHook = [&] { ClsVlmfQzonllf().Sub_DelOnlineInfo(std::to_string(ren), released); };
    std::vector<std::vector<std::string>> before;
    for (const char* layout : {"QZJSNLF", "QZJRKLF", "QZKKKLF"}) before.push_back(fresh.Dump(layout));
    fresh.bed.DamageFile(c.file);
    EXPECT_FALSE(Sub_UpdateMasters());
    ASSERT_EQ(fresh.Boxes().size(), 1u);
    EXPECT_EQ(fresh.Boxes()[0].rfind(std::string(c.warning) + "\r\n受診者番号 : 0000012345\r\nステータス : ", 0), 0u)
        << fresh.Boxes()[0];
    EXPECT_FALSE(released);
    EXPECT_NE(fresh.Read("QZONLLF", {{"REN", 1}}), nullptr);
    int k = 0;
    for (const char* layout : {"QZJSNLF", "QZJRKLF", "QZKKKLF"}) {
      if (std::string(layout) + ".BTR" != c.file) {
        EXPECT_EQ(fresh.Dump(layout), before[static_cast<std::size_t>(k)]) << layout;
      }
      ++k;
    }
  }
}

// The deletion inside the save fails on its delete or on its read: its
// report says which, with the status, and is shown only after the save's
// transaction has let the files go; nothing of the save stays.
TEST_F(WriteBack, AFailedDeletionInsideTheSaveIsToldAfterTheTransaction) {
  struct Case {
    bool read_fails;  // else the delete is refused
    const char* description;
  };
  for (const Case& c : {Case{false, "検査結果マスタの削除に失敗しました。"},
                        Case{true, "検査結果マスタの読み込みに失敗しました。"}}) {
    SCOPED_TRACE(c.description);
    SaveBed fresh;
    fresh.bed.suite.Add("QZKKKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"KKMKNO", 7001}, {"KNSACH", "9"}});
    fresh.Open();
    fresh.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
    const std::vector<std::vector<std::string>> before = {fresh.Dump("QZJSNLF"), fresh.Dump("QZJRKLF"),
                                                          fresh.Dump("QZKKKLF")};
    const std::string results = fresh.bed.suite.paths().data + "QZKKKLF.BTR";
    if (c.read_fails) {
      FailReads(results);
    } else {
      fresh.FailDeletesAfter("QZKKKLF.BTR", 0);
    }
    std::vector<int> begin_at_box;
    fresh.bed.shell.on_box = [&](const ui::MessageBoxRequest&) {
      record::BtrAccess probe;
      begin_at_box.push_back(probe.BeginTrans());
      probe.AbortTrans();
    };
    basPublic.DelListAnswer = 2;
    EXPECT_FALSE(Sub_UpdateMasters());
    basPublic.DelListAnswer = 0;
    fresh.bed.shell.on_box = nullptr;
    if (c.read_fails) HealReads(results);
    ASSERT_EQ(fresh.Boxes().size(), 1u);
    EXPECT_EQ(fresh.Boxes()[0].rfind("結果の削除処理でエラーが発生しました。", 0), 0u) << fresh.Boxes()[0];
    EXPECT_NE(fresh.Boxes()[0].find(c.description), std::string::npos) << fresh.Boxes()[0];
    EXPECT_NE(fresh.Boxes()[0].find("ステータス : "), std::string::npos) << fresh.Boxes()[0];
    EXPECT_EQ(begin_at_box, std::vector<int>{record::kStatusOk});
    EXPECT_EQ((std::vector<std::vector<std::string>>{fresh.Dump("QZJSNLF"), fresh.Dump("QZJRKLF"),
                                                     fresh.Dump("QZKKKLF")}),
              before);
  }
}

TEST_F(WriteBack, ARunTimeErrorPartWayWritesNothing) {
  AddStoredResult(1001, "170.0");
  bed.Open();
  KekkaData bad = Stamped("80.0 ");
  bad.Hekbn = 10;  // does not fit its one-digit field
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}, {NumericItem(1002, "体重"), bad}});
  const Files before = Snapshot();
  EXPECT_FALSE(Sub_UpdateMasters());
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("検査結果情報の更新処理でエラーが発生しました。\r\nエラー番号 : 6\r\n", 0), 0u);
  EXPECT_EQ(bed.unloads, 0);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_FALSE(frmGuide.loaded());
}

TEST_F(WriteBack, ThePreviewFilesGetTheScreenAndEveryEarlierRow) {
  bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20251201}, {"SHAT", "Ｂ"}, {"CNO1", 100}, {"PRYMD", "20251220"}});
  bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20231204}, {"CNO1", 200}});
  bed.bed.suite.Add("QZJRKLF", {{"CODE", "0000012344"}, {"JDATE", 20260101}, {"CNO1", 100}});
  AddStoredResult(1001, "170.0");
  AddStoredResult(1001, "168.0", 20251201);
  AddStoredResult(1003, std::string("6\0", 2), 20231204);
  bed.bed.suite.Add("QZKKKLF", {{"CODE", "0000012344"}, {"JDATE", 20260101}, {"KKMKNO", 1001}});
  bed.Open();
  KomInfo theirs = NumericItem(1003, "他科");
  theirs.Editable = false;
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}, {theirs, Stamped("99.0 ")}});
  basPublic.DelListAnswer = 2;  // the real results are not the preview's to delete
  ASSERT_TRUE(Sub_OpenPreviewFiles());
  const Files before = Snapshot();
  Sub_UpdateConsultHistory("QJJRKLF");
  Sub_UpdateExamResults("QJKKKLF");
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_EQ(Snapshot(), before);

  EXPECT_EQ(bed.Dump("QJJRKLF").size(), 3u);
  auto earlier = History("QJJRKLF", 20251201);
  ASSERT_NE(earlier, nullptr);
  EXPECT_EQ(earlier->RecordBytes().substr(18, 2), text::ToCp932("Ｂ"));
  EXPECT_EQ(earlier->GetField("CNO1").ToLong(), 100);
  EXPECT_EQ(Text(earlier, "PRYMD"), "        ");  // only the listed fields are copied
  EXPECT_EQ(bed.Dump("QJKKKLF").size(), 4u);
  auto work = [&](long long item, int date) {
    return bed.Read("QJKKKLF", {{"CODE", kMe}, {"JDATE", date}, {"KKMKNO", item}});
  };
  EXPECT_EQ(Text(work(1003, kToday), "KNSACH"), "      99.0");  // every item in the work file
  EXPECT_EQ(Text(work(1001, 20251201), "KNSACH"), "168.0     ");
  EXPECT_EQ(Text(work(1003, 20231204), "KNSACH"), "6         ");
}

// On the database server a refused copy of an earlier history row into the
// preview's work file (a copy whose status is not examined) ends the
// transaction; the results step then cannot read its work file and says so,
// as when each copy went to the server at once: the refusal is not taken for
// a write of the results. On SQLite the refused copy leaves the transaction
// going.
TEST_F(WriteBack, ARefusedCopyOfAnEarlierHistoryRowIsNoResultsWriteFailure) {
  const char* engine = std::getenv("QZ_SUITE_ENGINE");
  if (engine == nullptr || std::string_view(engine) != "postgres") GTEST_SKIP() << "the server's transactions";
  bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20251201}, {"CNO1", 100}});
  bed.bed.suite.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20231204}, {"CNO1", 200}});
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  ASSERT_TRUE(Sub_OpenPreviewFiles());
  // The history row of the consultation goes in, the copies do not.
  FailWritesAfter(bed.bed.suite.paths().work + "QJJRKLF.BTR", {"INSERT"}, 1);
  EXPECT_FALSE(Fnc_WriteWorkFiles());
  HealWrites(bed.bed.suite.paths().work + "QJJRKLF.BTR", {"INSERT"});
  ASSERT_EQ(bed.Boxes().size(), 1u);
  EXPECT_EQ(bed.Boxes()[0].rfind("検査結果マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345\r\nステータス : 2", 0),
            0u)
      << bed.Boxes()[0];
  EXPECT_TRUE(bed.Dump("QJJRKLF").empty());
  EXPECT_TRUE(bed.Dump("QJKKKLF").empty());
}

TEST_F(WriteBack, AWrongFileNameIsRefused) {
  bed.Open();
  bed.Show({{NumericItem(1001, "身長"), Stamped("172.0 ")}});
  Sub_UpdateConsultHistory("QZXXXLF");
  Sub_UpdateExamResults("QZXXXLF");
  EXPECT_EQ(bed.Boxes(), (std::vector<std::string>{"ファイル名が不正です。\r\nファイル名 : QZXXXLF",
                                                    "ファイル名が不正です。\r\nファイル名 : QZXXXLF"}));
  EXPECT_EQ(bed.unloads, 0);
}

}  // namespace
}  // namespace qz::testing
