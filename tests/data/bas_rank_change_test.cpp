#include "data/bas_rank_change.h"

#include <gtest/gtest.h>

#include "data/sys_kbn.h"
#include "data/tiny_suite.h"
#include "platform/record/btr_access.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

using record::KeySegment;
using record::SegmentKind;

void DeclareSettings(record::BtrAccess& sys) {
  sys.DefineNumericField("KBN", 1, 2, 0);
  sys.DefineAlphaField("CODE", 3, 6);
  for (int n = 1; n <= 8; ++n) {
    int base = 11 + 15 * (n - 1);
    std::string s = std::to_string(n);
    sys.DefineNumericField("HCODE_" + s, base, 2, 0);
    sys.DefineAlphaField("HKBN_" + s, base + 2, 4);
    sys.DefineKanjiField("HNAME_" + s, base + 6, 8);
    sys.DefineAlphaField("HCOL_" + s, base + 14, 1);
  }
}

// The settings record of KBN 3, with HKBN_n given as raw CP932 bytes.
class RankChangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    suite.AddFile("QZSYSLF.BTR", "QZSYSLF", 256,
                  {KeySegment{1, 2, SegmentKind::kNumeric}, KeySegment{3, 6, SegmentKind::kAlpha}});
    ASSERT_TRUE(sys.OpenFile("QZSYSLF.BTR", "QZSYSLF", suite.folder(), suite.folder()));
    DeclareSettings(sys);
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
    for (int n = 1; n <= 8; ++n) {
      const Slot& s = slots[n - 1];
      sys.SetField("HCODE_" + std::to_string(n), s.code);
      sys.SetField("HCOL_" + std::to_string(n), s.color);
    }
    sys.SetField("KBN", kSysKbnSettings);
    sys.SetField("CODE", kSysBlankCode);
    std::string bytes = sys.RecordBytes();
    for (int n = 1; n <= 8; ++n) bytes.replace(12 + 15 * (n - 1), 4, slots[n - 1].kbn);
    sys.SetRecordBytes(bytes);
    ASSERT_EQ(sys.Insert("QZSYSLF"), record::kStatusOk);
    // Read it back as the consultation load leaves it.
    sys.SetRecordBytes("");
    sys.SetField("KBN", kSysKbnSettings);
    sys.SetField("CODE", kSysBlankCode);
    ASSERT_EQ(sys.GetEqual("QZSYSLF"), record::kStatusOk);
  }
  void TearDown() override { sys.CloseFile(); }

  testkit::TinySuite suite;
  record::BtrAccess sys;
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
    EXPECT_EQ(Fnc_JudgeCodeToMark(sys, c.code, mark, color), c.result);
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
    EXPECT_EQ(Fnc_MarkToJudgeCode(sys, c.mark, code, color), c.result);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(color, c.color);
  }
}

TEST(RankChange, AnObjectWithoutTheSettingsLayoutIsNotFound) {
  record::BtrAccess bare;
  std::string mark = "old", color = "old";
  std::int16_t code = 99;
  EXPECT_EQ(Fnc_JudgeCodeToMark(bare, 1, mark, color), 1);
  EXPECT_EQ(Fnc_MarkToJudgeCode(bare, "", code, color), 1);
  EXPECT_EQ(mark, "old");
  EXPECT_EQ(color, "old");
  EXPECT_EQ(code, 99);
}

}  // namespace
}  // namespace qz
