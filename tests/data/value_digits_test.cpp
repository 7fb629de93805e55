#include "data/value_digits.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

struct EditCase {
  const char* value;
  const char* digits;
  const char* keep;
  std::int16_t error;
  const char* edited;  // "untouched" when the call fails
};

TEST(EditValueByDigits, IntegerAndDecimalDigits) {
  const EditCase cases[] = {
      // 31: three integer digits, one decimal.
      {"123.4", "31", " ", 0, "123.4"},
      {"5", "31", " ", 0, "5.0"},
      {"007", "31", " ", 0, "7.0"},
      {"-12", "31", " ", 0, "-12.0"},
      {"1234", "31", " ", 1, "untouched"},
      {"-123", "31", " ", 1, "untouched"},   // the sign counts as a digit
      {"1.25", "31", " ", 1, "untouched"},   // decimals are never rounded away
      // 52.
      {"12345.67", "52", " ", 0, "12345.67"},
      {".5", "52", " ", 0, "0.50"},
      {"0.5", "52", " ", 0, "0.50"},
      {"1.234", "52", " ", 1, "untouched"},
      // 60: no decimals.
      {"123456", "60", " ", 0, "123456"},
      {"12.", "60", " ", 0, "12"},
      {"000", "60", " ", 0, "0"},
      {"1.5", "60", " ", 1, "untouched"},
      {"1234567", "60", " ", 1, "untouched"},
      // 12.
      {"1.25", "12", " ", 0, "1.25"},
      {".5", "12", " ", 0, "0.50"},
      {"10.5", "12", " ", 1, "untouched"},
      // 21, 11, 13.
      {"7", "21", " ", 0, "7.0"},
      {"123", "21", " ", 1, "untouched"},
      {".5", "11", " ", 0, "0.5"},
      // Keeping decimals: trailing zeros after the first k go.
      {"5.000", "13", "0", 0, "5"},
      {"5", "13", "0", 0, "5"},
      {"5.010", "13", "0", 0, "5.010"},
      {"3.50", "52", "1", 0, "3.5"},
      {"3.55", "52", "1", 0, "3.55"},
      {"3.5", "52", "5", 0, "3.50"},
      {"3.5", "52", "-1", 0, "3.50"},
      {"3.5", "52", " 1 ", 0, "3.5"},
      {"3.5", "52", "", 1, "untouched"},     // an empty count is not a blank
      {"3.5", "52", "x", 1, "untouched"},
      // Digit counts that cannot be met.
      {"1", "55", " ", 1, "untouched"},
      {"1", "91", " ", 1, "untouched"},
      {"1", "", " ", 1, "untouched"},
      {"1", "ab", " ", 1, "untouched"},
      {"1", "-12", " ", 1, "untouched"},
      {"1", " 90", " ", 0, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.value << "' digits '" << c.digits << "' keep '" << c.keep << "'");
    std::string edited = "untouched";
    std::int16_t error = -1;
    Sub_EditValueByDigits(c.value, c.digits, c.keep, edited, error);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(edited, c.edited);
  }
}

TEST(EditValueByDigits, LengthsCountCharacters) {
  // Full-width text is not converted here; it counts one per character.
  std::string edited;
  std::int16_t error = -1;
  Sub_EditValueByDigits("１２.５", "21", " ", edited, error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(edited, "１２.５");
}

}  // namespace
}  // namespace qz
