#include "kit/demo_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/define_fields.h"
#include "data/record_layouts.h"
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

TEST(DemoData, YearsBefore) {
  EXPECT_EQ(YearsBefore(20260310, 1), 20250310);
  EXPECT_EQ(YearsBefore(20240229, 1), 20230228);
  EXPECT_EQ(YearsBefore(20240229, 4), 20200229);
}

}  // namespace
}  // namespace qz::testkit
