#include "kit/demo_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
#include "data/std_range.h"
#include "platform/record/btr_access.h"
#include "platform/record/status.h"

namespace qz::testkit {
namespace {

// Opens `layout` of a built suite for reading.
void Open(record::BtrAccess& obj, const SuitePaths& p, const data::FileLayout& layout) {
  ASSERT_TRUE(obj.OpenFile(layout.file, layout.definition, p.data, p.spec_file));
  DefineLayoutFields(obj, layout);
}

TEST(DemoData, BuildsAPlausibleCentre) {
  SuiteBuilder b;
  AddDemoData(b, {"DEMO-PC", 20260310});
  const SuitePaths& p = b.Build();

  record::BtrAccess jsn;
  Open(jsn, p, data::QzjsnlfLayout());
  std::vector<std::string> codes, names;
  jsn.SetField("CODE", "");
  for (int st = jsn.GetGreaterOrEqual("QZJSNLF"); st == record::kStatusOk; st = jsn.GetNext()) {
    codes.push_back(jsn.GetField("CODE").ToText());
    names.push_back(jsn.GetField("NAME").ToText());
  }
  EXPECT_EQ(codes, DemoExamineeNumbers());
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0].substr(0, 15), "山田　太郎");

  // Each examinee has today's consultation and two or three earlier ones,
  // the earlier ones with judged results.
  record::BtrAccess jrk, kkk;
  Open(jrk, p, data::QzjrklfLayout());
  Open(kkk, p, data::QzkkklfLayout());
  for (const std::string& code : DemoExamineeNumbers()) {
    SCOPED_TRACE(code);
    jrk.SetField("CODE", code);
    jrk.SetField("JDATE", 99999999);
    int count = 0;
    int newest = 0;
    for (int st = jrk.GetLessOrEqual("QZJRKLF"); st == record::kStatusOk && jrk.GetField("CODE").ToText() == code;
         st = jrk.GetPrevious()) {
      if (count++ == 0) newest = static_cast<int>(jrk.GetField("JDATE").ToLong());
    }
    EXPECT_EQ(newest, 20260310);
    EXPECT_GE(count, 3);
    EXPECT_LE(count, 4);

    kkk.SetField("CODE", code);
    kkk.SetField("JDATE", 20250310);
    kkk.SetField("KKMKNO", std::int64_t{9999999999});
    ASSERT_EQ(kkk.GetEqual("QZKKKLF"), record::kStatusOk);  // the overall judgement of last year
    EXPECT_GE(kkk.GetField("HAN").ToLong(), 1);
    EXPECT_LE(kkk.GetField("HAN").ToLong(), 5);
    EXPECT_EQ(kkk.GetField("HEKBN").ToLong(), 1);
  }

  // Last year's BMI of the first examinee is worked out from height and weight.
  kkk.SetField("CODE", "0000000001");
  kkk.SetField("JDATE", 20250310);
  kkk.SetField("KKMKNO", 1003);
  ASSERT_EQ(kkk.GetEqual("QZKKKLF"), record::kStatusOk);
  const double bmi = std::stod(kkk.GetField("KNSACH").ToText());
  EXPECT_GT(bmi, 25.0);
  EXPECT_LT(bmi, 28.0);

  // The settings record is KBN 3 with the five judgements.
  record::BtrAccess sys;
  Open(sys, p, data::SysSettingsLayout());
  sys.SetField("KBN", data::kSysKbnSettings);
  sys.SetField("CODE", "");
  ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusOk);
  EXPECT_EQ(sys.GetField("HKBN_1").ToText(), "  Ａ");
  EXPECT_EQ(sys.GetField("HCODE_5").ToLong(), 5);
  EXPECT_EQ(sys.GetField("HNAME_5").ToText(), "要医療  ");

  // Today's log-on of this terminal.
  record::BtrAccess log;
  Open(log, p, data::QzloglfLayout());
  log.SetField("REN", 99999999);
  ASSERT_EQ(log.GetLessOrEqual("QZLOGLF"), record::kStatusOk);
  EXPECT_EQ(log.GetField("UNAME").ToText(), "USER01    ");
  EXPECT_EQ(log.GetField("TNAME").ToText().substr(0, 7), "DEMO-PC");
  EXPECT_EQ(log.GetField("DATE").ToLong(), 20260310);
}

// The masters of the demo: five courses of about sixty items, BMI worked
// out from height and weight, standard ranges that differ by sex and by
// age, a default and combo rows for every findings type of an item, and
// the era table.
TEST(DemoData, MastersHoldCoursesItemsRangesAndFindings) {
  SuiteBuilder b;
  AddDemoData(b, {"DEMO-PC", 20260310});
  const SuitePaths& p = b.Build();

  record::BtrAccess kos, kom;
  Open(kos, p, data::QzkoslfLayout());
  int courses = 0;
  for (int st = kos.GetFirst("QZKOSLF"); st == record::kStatusOk; st = kos.GetNext()) ++courses;
  EXPECT_EQ(courses, 5);

  Open(kom, p, data::QzkomlfLayout());
  int items = 0;
  std::set<long long> finding_types;
  for (int st = kom.GetFirst("QZKOMLF"); st == record::kStatusOk; st = kom.GetNext()) {
    ++items;
    if (kom.GetField("KSYUB").ToLong() == 3) finding_types.insert(kom.GetField("SKOMCD").ToLong());
  }
  EXPECT_GE(items, 55);
  EXPECT_LE(items, 65);
  kom.SetField("CODE", 1003);
  kom.SetField("GENDATE", 20260310);
  ASSERT_EQ(kom.GetLessOrEqual("QZKOMLF"), record::kStatusOk);  // BMI
  EXPECT_EQ(kom.GetField("KSYUB").ToLong(), 2);
  EXPECT_NE(kom.GetField("CALPT").ToLong(), 0);
  EXPECT_EQ(kom.GetField("KTAINO_1").ToLong(), 1001);  // height
  EXPECT_EQ(kom.GetField("KTAINO_2").ToLong(), 1002);  // weight
  kom.SetField("CODE", std::int64_t{9999999999});
  kom.SetField("GENDATE", 20260310);
  ASSERT_EQ(kom.GetLessOrEqual("QZKOMLF"), record::kStatusOk);
  EXPECT_EQ(kom.GetField("CODE").ToText(), "9999999999");  // the overall item

  record::BtrAccess hat;
  Open(hat, p, data::QzhatlfLayout());
  struct Case {
    long long item;
    std::int16_t sex, age;
    const char* low;
    const char* high;
  };
  const Case cases[] = {
      {3010, 1, 50, "40", "99"},    // HDL cholesterol, men
      {3010, 2, 50, "48", "103"},   // and women
      {3009, 1, 35, "130", "219"},  // total cholesterol under 40
      {3009, 1, 55, "140", "239"},  // and from 40
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.item) + " sex " + std::to_string(c.sex) + " age " + std::to_string(c.age));
    std::string low, high;
    std::int32_t gendate = 0;
    std::int16_t error = 1;
    Sub_GetStd(hat, Currency(c.item), c.sex, c.age, 20260310, Currency(10000), low, high, gendate, error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(low, c.low);
    EXPECT_EQ(high, c.high);
  }

  record::BtrAccess syo;
  Open(syo, p, data::QzsyolfLayout());
  std::map<long long, int> defaults, combos;
  for (int st = syo.GetFirst("QZSYOLF"); st == record::kStatusOk; st = syo.GetNext()) {
    const long long type = syo.GetField("CODE").ToLong();
    if (syo.GetField("TITLE").ToLong() != 0) continue;
    defaults[type] += syo.GetField("DEFAULT").ToLong() != 0;
    combos[type] += syo.GetField("COMBO").ToText() == "1";
  }
  for (long long type : finding_types) {
    SCOPED_TRACE(type);
    // The summary findings and the specific-checkup levels are written by
    // their rules and the judgement, never defaulted.
    if (type == 901 || type == 601 || type == 602) continue;
    EXPECT_EQ(defaults[type], 1);
    EXPECT_GE(combos[type], 2);
  }

  record::BtrAccess era;
  Open(era, p, data::SysEraLayout());
  era.SetField("KBN", data::kSysKbnEra);
  era.SetField("CODE", "");
  ASSERT_EQ(era.GetEqual("QZSYSLF"), record::kStatusOk);
  std::vector<std::string> names;
  std::vector<long> starts;
  for (int n = 1; n <= 5; ++n) {
    names.push_back(era.GetField("GNMEI_" + std::to_string(n)).ToText());
    starts.push_back(static_cast<long>(era.GetField("GNSYMD_" + std::to_string(n)).ToLong()));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"明治", "大正", "昭和", "平成", "令和"}));
  EXPECT_EQ(starts, (std::vector<long>{18680908, 19120730, 19261225, 19890108, 20190501}));
}

TEST(DemoData, YearsBefore) {
  EXPECT_EQ(YearsBefore(20260310, 1), 20250310);
  EXPECT_EQ(YearsBefore(20240229, 1), 20230228);
  EXPECT_EQ(YearsBefore(20240229, 4), 20200229);
}

}  // namespace
}  // namespace qz::testkit
