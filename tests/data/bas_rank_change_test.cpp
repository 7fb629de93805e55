#include "data/bas_rank_change.h"

#include <gtest/gtest.h>

#include "data/bas_file_access.h"
#include "data/record_layouts.h"
#include "examinee/bas_public.h"
#include "kit/suite_builder.h"
#include "platform/record/btr_access.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

// The settings record (KBN 3) read through the masters' settings object,
// with HKBN_n written as raw CP932 bytes.
class RankChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    struct Slot {
      int code;
      std::string kbn;
      const char* color;
    } slots[] = {
        {1, "  " + text::ToCp932("Ａ"), "B"},
        {2, "  " + text::ToCp932("Ｂ"), "R"},
        {2, "  " + text::ToCp932("Ｃ"), "P"},             // a code used twice
        {4, "ABCD", "T"},                                // four half-width characters
        {5, "A" + text::ToCp932("あ") + "B", "W"},       // the mark splits "あ"
        {6, "AB\x82" "A", "K"},                          // not a character at all
        {0, "    ", " "},                                // blank slots
        {0, "    ", " "},
    };
    testkit::RecordInit record = {{"KBN", data::kSysKbnSettings}, {"CODE", "      "}};
    for (int n = 1; n <= 8; ++n) {
      record.push_back({"HCODE_" + std::to_string(n), slots[n - 1].code});
      record.push_back({"HCOL_" + std::to_string(n), slots[n - 1].color});
    }
    suite.Add("QZSYSLF", record);
    suite.Build();
    suite.ApplyPaths();
    ASSERT_TRUE(Fnc_OpenSysMaster());
    record::BtrAccess& sys = *basFileAccess.SysObj;
    sys.SetField("KBN", data::kSysKbnSettings);
    sys.SetField("CODE", "      ");
    ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusOk);
    std::string bytes = sys.RecordBytes();
    for (int n = 1; n <= 8; ++n) {
      const data::FieldDef* f = data::SysSettingsLayout().Find("HKBN_" + std::to_string(n));
      ASSERT_NE(f, nullptr);
      bytes.replace(static_cast<std::size_t>(f->pos - 1), 4, slots[n - 1].kbn);
    }
    sys.SetRecordBytes(bytes);
    ASSERT_EQ(sys.Update(), record::kStatusOk);
    // Positioned on the settings record as the consultation load leaves it.
    sys.SetRecordBytes("");
    sys.SetField("KBN", data::kSysKbnSettings);
    sys.SetField("CODE", "      ");
    ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusOk);
  }
  void TearDown() override {
    basFileAccess = BasFileAccess{};
    basPublic = BasPublic{};
  }

  testkit::SuiteBuilder suite;
};

TEST_F(RankChangeTest, CodeToMarkFromTheSettingsRecord) {
  const struct {
    std::int16_t code;
    std::int16_t result;
    const char* mark;
    const char* color;
  } cases[] = {
      {1, 0, "Ａ", "B"},
      {2, 0, "Ｂ", "R"},
      {4, 0, "CD", "T"},
      {5, 0, "\xEF\xBF\xBD" "B", "W"},  // the trail byte of "あ" is no character
      {6, 0, "\xEF\xBF\xBD", "K"},      // a lead byte with an ASCII trail byte
      {0, 0, "  ", " "},
      {3, 1, "old", "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    std::string mark = "old", color = "old";
    EXPECT_EQ(Fnc_JudgeCodeToMark(c.code, mark, color), c.result);
    EXPECT_EQ(mark, c.mark);
    EXPECT_EQ(color, c.color);
  }
}

TEST_F(RankChangeTest, MarkToCodeFromTheSettingsRecord) {
  const struct {
    const char* mark;
    std::int16_t result;
    std::int16_t code;
    const char* color;
  } cases[] = {
      {" Ｃ ", 0, 2, "P"},
      {"CD", 0, 4, "T"},
      {"", 0, 0, " "},
      {"B", 1, 99, "old"},   // the split character does not leave "B" alone
      {"AB", 1, 99, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mark);
    std::int16_t code = 99;
    std::string color = "old";
    EXPECT_EQ(Fnc_MarkToJudgeCode(c.mark, code, color), c.result);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(color, c.color);
  }
}

// Both conversions answer "not found" and leave their outputs untouched.
void ExpectNothingFound(std::int16_t code_asked) {
  std::string mark = "old", color = "old";
  std::int16_t code = 99;
  EXPECT_EQ(Fnc_JudgeCodeToMark(code_asked, mark, color), 1);
  EXPECT_EQ(Fnc_MarkToJudgeCode("", code, color), 1);
  EXPECT_EQ(mark, "old");
  EXPECT_EQ(color, "old");
  EXPECT_EQ(code, 99);
}

TEST_F(RankChangeTest, WithoutASettingsRecordReadNothingIsFound) {
  record::BtrAccess& sys = *basFileAccess.SysObj;
  for (const char* state : {"failed read", "reopened"}) {
    SCOPED_TRACE(state);
    if (std::string(state) == "failed read") {
      sys.SetField("KBN", data::kSysKbnSettings);
      sys.SetField("CODE", "NOSUCH");
      ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusNotFound);
    } else {
      basFileAccess.SysObj.reset();
      ASSERT_TRUE(Fnc_OpenSysMaster());
    }
    ExpectNothingFound(0);
  }
}

TEST(RankChange, NoSettingsObjectOrLayoutIsNotFound) {
  for (bool empty_slot : {false, true}) {
    SCOPED_TRACE(empty_slot);
    basFileAccess.SysObj = empty_slot ? nullptr : std::make_unique<record::BtrAccess>();
    ExpectNothingFound(1);
  }
  basFileAccess = BasFileAccess{};
}

}  // namespace
}  // namespace qz
