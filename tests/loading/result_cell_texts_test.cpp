// The texts of the result cells: measurement-class lists and marks, and the
// entries of a findings list as the grid's list handling reads them back.
#include "loading/result_cell_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace qz::testing {
namespace {

TEST(ResultCellTexts, NumericKindsListSixClassesOthersTwo) {
  const std::string six = "未実施\t測定不能\t以下(≦)\t未満(＜)\t以上(≧)\t超(＞)";
  const std::string two = "未実施\t測定不能";
  EXPECT_EQ(MeasureClassList(kKsyubNumeric), six);
  EXPECT_EQ(MeasureClassList(kKsyubCalculated), six);
  EXPECT_EQ(MeasureClassList(kKsyubFindings), two);
  EXPECT_EQ(MeasureClassList(kKsyubGroupJudgement), two);
  EXPECT_EQ(MeasureClassList(0), two);
}

TEST(ResultCellTexts, MeasureClassMarks) {
  struct Case {
    std::int16_t sokutei;
    const char* value;
    const char* mark;
  };
  const Case cases[] = {
      {0, "12.0", ""},           {1, "12.0", "(未実施)"},   {2, "", "(測定不能)"},
      {3, " 12.0 ", "(≦12.0)"}, {4, "5", "(＜5)"},         {5, "5", "(≧5)"},
      {6, "5 ", "(＞5)"},        {3, "", "(≦)"},           {7, "5", ""},
      {-1, "5", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sokutei);
    EXPECT_EQ(MeasureClassMark(c.sokutei, c.value), c.mark);
  }
}

// The list handling reads an entry from its end: CR LF, two digits of
// judgement, six of findings code, "$", then the finding.
TEST(ResultCellTexts, FindingsEntryEndsInCodeJudgementAndCrLf) {
  EXPECT_EQ(FindingsComboEntry(SyoComboInfo{Currency(3002), 2, "異常なし", 1}), "異常なし$00000201\r\n");
  EXPECT_EQ(FindingsComboEntry(SyoComboInfo{Currency(3002), 123456, "要精検 ", 12}), "要精検 $12345612\r\n");
  const std::string entry = FindingsComboEntry(SyoComboInfo{Currency(1), 7, "a$b", 4});
  EXPECT_EQ(entry.substr(entry.size() - 11), "$00000704\r\n");
  EXPECT_EQ(entry.substr(0, entry.size() - 11), "a$b");
}

}  // namespace
}  // namespace qz::testing
