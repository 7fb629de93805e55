#include "data/std_range_text.h"

#include <gtest/gtest.h>

#include "platform/text/cp932.h"

namespace qz {
namespace {

struct RangeCase {
  const char* lower;
  const char* upper;
  const char* digits;
  std::int16_t result;
  const char* text;
};

TEST(EditStdRange, BoundsRightAlignedInFiveBytes) {
  const RangeCase cases[] = {
      {"3.5", "5", "21", 0, "  3.5-  5.0"},
      {"以下", "100", "30", 0, "   ～   100"},
      {"40", "以上", "30", 0, "   40 ～   "},
      {"以下", "以上", "30", 0, "   ～ ～   "},
      {"12345.67", "99999.99", "52", 0, "12345.67-99999.99"},  // longer: nothing cut
      {"0.1", "10.25", "22", 0, " 0.10-10.25"},
      {"１", "１.５", "11", 0, " １.0-１.５"},  // widths in bytes: 4 and 5
      {"1.25", "5", "21", 1, "untouched"},
      {"1", "123", "21", 1, "untouched"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lower << " " << c.upper << " " << c.digits);
    std::string text = "untouched";
    EXPECT_EQ(Fnc_EditStdRange(c.lower, c.upper, c.digits, text), c.result);
    EXPECT_EQ(text, c.text);
  }
}

TEST(EditStdRange, TildeIsTheFullWidthCodePageCharacter) {
  std::string text;
  ASSERT_EQ(Fnc_EditStdRange("以下", "以上", "30", text), 0);
  EXPECT_EQ(text::ToCp932(text), "   \x81\x60 \x81\x60   ");
}

}  // namespace
}  // namespace qz
