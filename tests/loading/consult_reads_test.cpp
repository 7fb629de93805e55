// The small reads of the consultation and the payment-category flags.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "loading/consult_reads.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

// Each case is its own examinee number, so one suite holds them all.
TEST(ConsultReads, InsurerReceptionNumberComesFromTheConsultationsFiscalYear) {
  struct Case {
    const char* examinee;
    int consult;
    std::vector<std::pair<int, const char*>> records;  // DATE, SEIKAN
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"0000000001", 20260220, {{20250401, " K-1 "}}, "K-1"},        // April of the year before
      {"0000000002", 20260220, {{20250331, "K-2"}}, ""},             // the fiscal year before
      {"0000000003", 20260401, {{20260401, "K-3"}, {20260331, "K-x"}}, "K-3"},
      {"0000000004", 20260401, {{20260331, "K-4"}}, ""},             // March: not this year
      {"0000000005", 20260420, {{20260410, "K-5"}, {20260501, "K-y"}}, "K-5"},  // later ones pass
      {"0000000006", 20260420, {}, ""},                              // lands on another examinee
  };
  LoadBed bed;
  AddSystemRecords(bed.suite);
  for (const Case& c : cases) {
    int ren = 1;
    for (const auto& [date, seikan] : c.records) {
      bed.suite.Add("QZCARLF", {{"CODE", c.examinee}, {"DATE", date}, {"REN", ren++}, {"SEIKAN", seikan}});
    }
  }
  bed.Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.examinee);
    basPublic.ExamineeNo = c.examinee;
    basPublic.ConsultDate = c.consult;
    EXPECT_EQ(Fnc_GetInsurerReceptionNo(), std::optional<std::string>(c.expected));
  }
  EXPECT_TRUE(bed.Boxes().empty());
}

TEST(ConsultReads, TicketNumberSkipsTicketsThatExpiredBeforeTheConsultation) {
  LoadBed bed;
  AddSystemRecords(bed.suite);
  const std::string me(kExaminee);
  bed.suite.Add("QZJKRLF", {{"CODE", me}, {"DATE", 20260401}, {"REN", 1}, {"JSNO", " T-1 "}, {"JSDATE", 20260630}});
  bed.suite.Add("QZJKRLF", {{"CODE", me}, {"DATE", 20260501}, {"REN", 1}, {"JSNO", "T-2"}, {"JSDATE", 20260531}});
  bed.suite.Add("QZJKRLF", {{"CODE", me}, {"DATE", 20260701}, {"REN", 1}, {"JSNO", "T-3"}, {"JSDATE", 20261231}});
  bed.Open();
  struct Case {
    int consult;
    const char* expected;
  };
  for (const Case& c : {Case{20260601, "T-1"}, Case{20260515, "T-2"}, Case{20260331, ""}, Case{20260701, "T-3"},
                        Case{20260301, ""}}) {
    SCOPED_TRACE(c.consult);
    basPublic.ConsultDate = c.consult;
    EXPECT_EQ(Fnc_GetTicketReferenceNo(), std::optional<std::string>(c.expected));
  }
}

TEST(ConsultReads, ExamineeByPatientIdAndLastConsultation) {
  LoadBed bed;
  AddSystemRecords(bed.suite);
  bed.suite.Add("QZJSNLF", {{"CODE", "0000000010"}, {"IKANID", "P-77"}});
  bed.suite.Add("QZJSNLF", {{"CODE", "0000000020"}, {"IKANID", "P-88"}});
  bed.suite.Add("QZJKOLF", {{"CODE", "0000000010"}, {"KSYMD", 20240101}});
  bed.suite.Add("QZJKOLF", {{"CODE", "0000000010"}, {"KSYMD", 20250101}});
  bed.suite.Add("QZJKOLF", {{"CODE", "0000000030"}, {"KSYMD", 20230101}});
  bed.Open();
  EXPECT_EQ(Fnc_GetExamineeByPatientId("P-77"), "0000000010");
  EXPECT_EQ(Fnc_GetExamineeByPatientId("P-99"), "");
  struct Case {
    const char* examinee;
    int expected;
  };
  // 20: the read lands on 10's newest; 05: before every record.
  for (const Case& c : {Case{"0000000010", 20250101}, Case{"0000000020", 0}, Case{"0000000005", 0},
                        Case{"0000000030", 20230101}}) {
    SCOPED_TRACE(c.examinee);
    basPublic.ExamineeNo = c.examinee;
    EXPECT_EQ(Fnc_GetLastExamDate(), c.expected);
  }
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_FALSE(frmResultIn.Unloaded);
}

TEST(ConsultReads, AFailedReadIsReportedAndGivesTheEmptyValue) {
  struct Case {
    const char* file;
    std::function<std::string()> read;
    const char* prefix;
    ui::MsgIcon icon;
    bool unloads;
  };
  const std::vector<Case> cases = {
      {"QZJSNLF.BTR", [] { return Fnc_GetExamineeByPatientId("P-1"); },
       "受診者マスタの読み込みに失敗しました。\r\n医事患者番号 : P-1ステータス : ", ui::MsgIcon::kExclamation, true},
      {"QZJKOLF.BTR", [] { return std::to_string(Fnc_GetLastExamDate()); },
       "受診項目マスタの読み込みに失敗しました。\r\n受診者番号 : 0000012345ステータス : ", ui::MsgIcon::kExclamation,
       true},
      // The two reads of the save give nothing at all: no empty number.
      {"QZCARLF.BTR", [] { return Fnc_GetInsurerReceptionNo().value_or("(nothing)"); },
       "政管受付番号履歴マスタの読み込みに失敗しました。\r\nステータス : ", ui::MsgIcon::kNone, false},
      {"QZJKRLF.BTR", [] { return Fnc_GetTicketReferenceNo().value_or("(nothing)"); },
       "受診券履歴マスタの読み込みに失敗しました。\r\nステータス : ", ui::MsgIcon::kNone, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    LoadBed bed;
    AddSystemRecords(bed.suite);
    bed.Open();
    bed.DamageFile(c.file);
    const std::string got = c.read();
    if (c.unloads) {
      EXPECT_TRUE(got.empty() || got == "0") << got;
    } else {
      EXPECT_EQ(got, "(nothing)");
    }
    EXPECT_EQ(frmResultIn.Unloaded, c.unloads);
    ASSERT_EQ(bed.shell.boxes().size(), 1u);
    const ui::MessageBoxRequest& box = bed.shell.boxes()[0].request;
    EXPECT_EQ(box.text.rfind(c.prefix, 0), 0u) << box.text;
    EXPECT_EQ(box.icon, c.icon);
    EXPECT_EQ(box.title, "結果入力");
  }
}

TEST(ConsultReads, OptionFlagsGiveTheConsultationCategory) {
  struct Case {
    std::vector<int> set;
    std::int32_t kbn;
    std::vector<int> cleared;  // flags the normalisation clears
  };
  const std::vector<Case> cases = {
      {{kJkoFuka, kJkoIppan}, 2, {}},
      {{kJkoFuka, kJkoFukaJihi, kJkoIppan}, 1, {kJkoFuka}},
      {{kJkoRna}, 5, {}},
      {{kJkoKanen, kJkoKanenJihi, kJkoRna, kJkoRnaJihi}, 0, {kJkoKanen, kJkoRna}},
      {{}, 0, {}},
      {{kJkoSagaku, kJkoFuka}, 1, {kJkoFuka}},  // Sagaku sets Ippan, clears Fuka
      {{kJkoSagaku, kJkoIppanJihi}, 0, {kJkoIppan}},
      {{kJkoSikyu, kJkoForo}, 3, {}},
      {{kJkoSikyu, kJkoSikyuJihi, kJkoForo}, 4, {kJkoSikyu}},
      {{kJkoForo, kJkoForoJihi}, 0, {kJkoForo}},
  };
  for (const Case& c : cases) {
    basPublic = BasPublic{};
    for (int f : c.set) basPublic.JkoFlags[f] = true;
    basPublic.JkoKbn = 99;
    Sub_AdjustOptionFlags();
    EXPECT_EQ(basPublic.JkoKbn, c.kbn);
    for (int f : c.cleared) EXPECT_FALSE(basPublic.JkoFlags[f]) << f;
  }
  basPublic = BasPublic{};
}

}  // namespace
}  // namespace qz::testing
