// Records the consultation lacks: which end the load with their warning
// and which show a placeholder and let it go on.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "examinee/bas_public.h"
#include "loading/load_fixture.h"
#include "loading/load_state.h"

namespace qz::testing {
namespace {

const std::string kMe(kExaminee);

// A minimal consultation: examinee, today's history and booking of course
// 100 with item 1001; `extra` adds records.
void AddMinimal(testkit::SuiteBuilder& b, std::function<void(testkit::SuiteBuilder&)> extra,
                bool with_examinee = true, bool with_today_booking = true, long long kdanid = 0) {
  AddSystemRecords(b);
  if (with_examinee) {
    b.Add("QZJSNLF", {{"CODE", kMe}, {"NAME", "最小"}, {"SEX", 3}, {"BIRTH", 20270101}, {"KDANID", kdanid}});
  }
  b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", kToday}, {"CNO1", 100}});
  if (with_today_booking) b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", kToday}, {"KKBN_1", 0}, {"KCODE_1", 100}});
  b.Add("QZKOSLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"CNAME", "一般"}, {"PRNO", 7}});
  b.Add("QZKSKLF", {{"CNO", 100}, {"GENDATE", 20200101}, {"REN", 1}, {"CODE", 1001}, {"NGRP", 1}});
  if (extra) extra(b);
}

TEST(MissingRecords, EndTheLoadWithTheirWarning) {
  struct Case {
    const char* what;
    std::function<void(testkit::SuiteBuilder&)> setup;
    int fails_at;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"no examinee",
       [](testkit::SuiteBuilder& b) { AddMinimal(b, nullptr, false); }, 1,
       "「0000012345」の受診者マスタは登録されていません。"},
      {"a birth date before every era",
       [](testkit::SuiteBuilder& b) {
         b.Add("QZJSNLF", {{"CODE", kMe}, {"NAME", "古"}, {"SEX", 1}, {"BIRTH", 18000101}});
         AddMinimal(b, nullptr, false);
       },
       1, "生年月日の和暦変換でエラーが発生しました。\r\n日付 : 18000101"},
      {"no booking today",
       [](testkit::SuiteBuilder& b) { AddMinimal(b, nullptr, true, false); }, 3,
       "受診項目が登録されていません。\r\n受診者番号 : 0000012345\r\n受診日     : 20261209"},
      {"a booking without items",
       [](testkit::SuiteBuilder& b) {
         AddMinimal(b, nullptr, true, false);
         // Course 300 has no generation on or before today.
         b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", kToday}, {"KKBN_1", 0}, {"KCODE_1", 300}});
         b.Add("QZKOSLF", {{"CNO", 300}, {"GENDATE", 20270101}, {"CNAME", "未来"}});
         b.Add("QZKSKLF", {{"CNO", 300}, {"GENDATE", 20270101}, {"REN", 1}, {"CODE", 3001}});
       },
       3, "受診項目が登録されていません。\r\n受診者番号 : 0000012345\r\n受診日     : 20261209"},
      {"an earlier consultation shown without its booking",
       [](testkit::SuiteBuilder& b) {
         AddMinimal(b, [](testkit::SuiteBuilder& x) {
           x.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20250505}, {"CNO1", 100}});
         });
       },
       3, "受診項目が登録されていません。\r\n受診者番号 : 0000012345\r\n受診日     : 20250505"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadBed bed;
    c.setup(bed.suite);
    bed.Open();
    EXPECT_EQ(bed.RunSteps(), c.fails_at);
    EXPECT_TRUE(frmResultIn.Unloaded);
    EXPECT_EQ(bed.Boxes(), std::vector<std::string>{c.text});
  }
}

TEST(MissingRecords, PlaceholdersLetTheLoadGoOn) {
  LoadBed bed;
  AddMinimal(
      bed.suite,
      [](testkit::SuiteBuilder& b) {
        // An earlier consultation whose course is in no course master, and
        // one older that its Cno1 of 0 keeps out.
        b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20250505}, {"CNO1", 900}});
        b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", 20250505}, {"KKBN_1", 1}, {"KCODE_1", 1002}});
        b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20240404}, {"CNO1", 0}});
        b.Add("QZJKOLF", {{"CODE", kMe}, {"KSYMD", 20240404}, {"KKBN_1", 1}, {"KCODE_1", 1003}});
        b.Add("QZJRKLF", {{"CODE", kMe}, {"JDATE", 20230303}, {"CNO1", 100}});
      },
      true, true, 777);
  bed.Open();
  basPublic.ReportCode = 3;  // left over from the examinee before
  ASSERT_EQ(bed.RunSteps(), -1);
  EXPECT_TRUE(bed.Boxes().empty());
  EXPECT_EQ(frmResultIn.txtDanname, "＜団体マスタ未登録＞");
  // Sex 3 shows as female; a birth after today gives age 0.
  EXPECT_EQ(frmResultIn.txtSex, "女");
  EXPECT_EQ(frmResultIn.ExamineeAge, 0);
  EXPECT_EQ(frmResultIn.txtAge, "0歳");
  // Three earlier columns; the walk of items and headers stops at 2024-04-04.
  EXPECT_EQ(frmResultIn.HistoryCount(), 3);
  EXPECT_EQ(frmResultIn.ItemCount(), 2);
  EXPECT_EQ(bed.spr->max_cols(), 14);
  EXPECT_EQ(bed.spr->TextAt(12, basPublic.CourseRow), "<コースマスタ未登録>");
  EXPECT_EQ(bed.spr->TextAt(13, basPublic.CourseRow), "");
  EXPECT_EQ(bed.spr->TextAt(13, basPublic.HeaderRow), "");
  EXPECT_EQ(basPublic.ReportCode, 7);
}

// The course report number belongs to one examinee: the next one, booked
// without any course, starts from 0.
TEST(MissingRecords, TheReportCodeOfOneExamineeDoesNotCarryOver) {
  LoadBed bed;
  AddMinimal(bed.suite, [](testkit::SuiteBuilder& b) {
    b.Add("QZJSNLF", {{"CODE", "0000099999"}, {"NAME", "別"}, {"SEX", 1}, {"BIRTH", 19700101}});
    b.Add("QZJRKLF", {{"CODE", "0000099999"}, {"JDATE", kToday}, {"CNO1", 0}});
    b.Add("QZJKOLF", {{"CODE", "0000099999"}, {"KSYMD", kToday}, {"KKBN_1", 1}, {"KCODE_1", 1001}});
  });
  bed.Open();
  ASSERT_EQ(bed.RunSteps(), -1);
  EXPECT_EQ(basPublic.ReportCode, 7);
  basPublic.ExamineeNo = "0000099999";
  ASSERT_EQ(bed.RunSteps(1), -1);
  EXPECT_EQ(frmResultIn.CourseCodes[1], Currency(0));
  EXPECT_EQ(bed.spr->TextAt(basPublic.ResultCol, basPublic.CourseRow), "<コースマスタ未登録>");
  EXPECT_EQ(basPublic.ReportCode, 0);
  EXPECT_TRUE(bed.Boxes().empty());
}

}  // namespace
}  // namespace qz::testing
