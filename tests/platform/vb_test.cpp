#include "platform/text/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "kit/error_of.h"
#include "platform/runtime/run_time_error.h"

namespace qz::vb {
namespace {

using testkit::ErrorOf;

TEST(Vb, Val) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"", 0},          {"12abc", 12},     {"  42  ", 42},      {"1 2 3", 123},
      {"\t-5.5x", -5.5}, {".5", 0.5},       {"1.2.3", 1.2},      {"abc", 0},
      {"1e3", 1000},    {"2D2", 200},      {"1e", 1},           {"+7", 7},
      {"--5", 0},       {"１２", 0},       {"&H1F", 31},        {"&HFFFF", -1},
      {"&HFFFF&", 65535}, {"&H8000000F", -2147483633.0}, {"&O17", 15}, {"&17", 15},
      {"&Hzz", 0},      {"12,345", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Val(c.text), c.value);
  }
  EXPECT_EQ(ErrorOf([] { Val("1e999"); }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { Val("&H100000000"); }), kErrOverflow);
}

TEST(Vb, HexValKeepsSixteenBitValuesPositive) {
  EXPECT_EQ(HexVal("FF00"), 0xFF00);
  EXPECT_EQ(HexVal("8000000F"), static_cast<std::int32_t>(0x8000000Fu));
  EXPECT_EQ(HexVal(" C0C0C0 "), 0xC0C0C0);
  EXPECT_EQ(HexVal("12G4"), 0x12);
  EXPECT_EQ(HexVal("xyz"), 0);
  EXPECT_EQ(ErrorOf([] { HexVal("123456789"); }), kErrOverflow);
}

TEST(Vb, IsNumeric) {
  struct Case {
    const char* text;
    bool numeric;
  };
  const Case cases[] = {
      {"12", true},      {" 12 ", true},   {"-3.5", true},    {"+3", true},
      {".5", true},      {"5.", true},     {"1E5", true},     {"1d-2", true},
      {"&H1F", true},    {"１２．５", true}, {"－１", true},   {"　５　", true},
      {"", false},       {"  ", false},    {".", false},      {"-", false},
      {"12abc", false},  {"1.2.3", false}, {"1,234", false},  {"1e", false},
      {"- 5", false},    {"5-", false},    {"1e999", false},  {"&H", false},
      {"&HFFFFFFFFF", false},              {"abc", false},    {"\xFF", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsNumeric(c.text), c.numeric);
  }
}

TEST(Vb, IntegerConversionsRoundHalfToEven) {
  struct Case {
    double v;
    std::int32_t rounded;
  };
  const Case cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.4999, 2}, {0.5, 0}, {1.5, 2}, {-0.4, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(CInt(c.v), c.rounded);
    EXPECT_EQ(CLng(c.v), c.rounded);
  }
  EXPECT_EQ(CInt(" 12.5 "), 12);
  EXPECT_EQ(CInt("１３．５"), 14);
  EXPECT_EQ(CLng("&HFFFF"), -1);
  EXPECT_EQ(CLng("2147483647"), 2147483647);
  EXPECT_EQ(CInt(-32768.5), -32768);
  EXPECT_EQ(CLng(Currency::FromRaw(25000)), 2);   // 2.5
  EXPECT_EQ(CLng(Currency::FromRaw(35000)), 4);   // 3.5
  EXPECT_EQ(CInt(Currency::FromRaw(-15000)), -2);  // -1.5
}

TEST(Vb, ConversionErrors) {
  struct Case {
    const char* what;
    std::function<void()> call;
    int error;
  };
  const Case cases[] = {
      {"CInt 32767.5", [] { CInt(32767.5); }, kErrOverflow},
      {"CInt 40000", [] { CInt("40000"); }, kErrOverflow},
      {"CInt -32769", [] { CInt(-32769.0); }, kErrOverflow},
      {"CLng 2^31", [] { CLng(2147483648.0); }, kErrOverflow},
      {"CLng currency", [] { CLng(Currency(9999999999)); }, kErrOverflow},
      {"CInt empty", [] { CInt(""); }, kErrTypeMismatch},
      {"CLng text", [] { CLng("12abc"); }, kErrTypeMismatch},
      {"CDbl text", [] { CDbl("abc"); }, kErrTypeMismatch},
      {"CDbl huge", [] { CDbl("1e999"); }, kErrOverflow},
      {"CCur text", [] { CCur("x"); }, kErrTypeMismatch},
      {"CCur huge", [] { CCur(1e300); }, kErrOverflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ErrorOf(c.call), c.error);
  }
}

TEST(Vb, CCur) {
  EXPECT_EQ(CCur("9999999999"), Currency(9999999999));
  EXPECT_EQ(CCur(" 0.1 "), Currency::FromRaw(1000));
  EXPECT_EQ(CCur("１２．５"), Currency::FromRaw(125000));
  EXPECT_EQ(CCur("1E3"), Currency(1000));
  EXPECT_EQ(CCur(0.00005), Currency::FromRaw(0));    // half to even
  EXPECT_EQ(CCur(0.00015), Currency::FromRaw(2));
  EXPECT_EQ(CCur(-2.5), Currency::FromRaw(-25000));
}

TEST(Vb, CStrOfDouble) {
  struct Case {
    double v;
    const char* text;
  };
  const Case cases[] = {
      {5.3 + 0.1, "5.4"},
      {0.1 + 0.2, "0.3"},
      {-0.5, "-0.5"},
      {0.0, "0"},
      {-0.0, "0"},
      {100, "100"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E+15"},
      {1.5e-5, "1.5E-05"},
      {0.0001, "0.0001"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {1e100, "1E+100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CStr(c.v), c.text);
  }
  EXPECT_EQ(CStr(0.1f), "0.1");
  EXPECT_EQ(CStr(1.0f / 3), "0.3333333");
  EXPECT_EQ(Format(2.5f, "@@@@@"), "  2.5");
  EXPECT_EQ(Format(0.1f, "0.000000000"), "0.100000000");
  EXPECT_EQ(CStr(9999999999LL), "9999999999");
  EXPECT_EQ(CStr(-7), "-7");
  EXPECT_EQ(CStr(Currency::FromRaw(-5000)), "-0.5");
}

TEST(Vb, CDecStrNeverUsesAnExponent) {
  EXPECT_EQ(CDecStr(35000 / 10000.0), "3.5");
  EXPECT_EQ(CDecStr(-50000 / 10000.0), "-5");
  EXPECT_EQ(CDecStr(1e-5), "0.00001");
  EXPECT_EQ(CDecStr(1e15), "1000000000000000");
  EXPECT_EQ(CDecStr(5.3 + 0.1), "5.4");
  EXPECT_EQ(CDecStr(0), "0");
}

TEST(Vb, CDecStrOfAValueNoDecimalHoldsIsAnOverflow) {
  for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN(), 0x1p96, -1e30}) {
    EXPECT_EQ(ErrorOf([v] { CDecStr(v); }), kErrOverflow) << v;
  }
  EXPECT_EQ(CDecStr(7.9e28), "79000000000000000000000000000");
}

TEST(Vb, FormatNumbers) {
  struct Case {
    double v;
    const char* pattern;
    const char* text;
  };
  const Case cases[] = {
      {5, "000", "005"},
      {1234, "00", "1234"},          // digits beyond the placeholders are kept
      {-5, "000", "-005"},
      {20240115, "0000/00/00", "2024/01/15"},
      {0, "0000/00/00", "0000/00/00"},
      {3.14159, "0.0", "3.1"},
      {2.25, "0.0", "2.3"},           // half away from zero
      {-2.25, "0.0", "-2.3"},
      {0.96, "0.0", "1.0"},
      {7, "0.0", "7.0"},
      {-0.01, "0.0", "0.0"},           // no sign on a value that rounds to 0
      {12345, "#,##0", "12,345"},
      {1234567, "#,###,###,##0", "1,234,567"},
      {0, "#,##0", "0"},
      {-1234.5, "#,##0.00", "-1,234.50"},
      {1.005, "0.00", "1.01"},         // rounded on the 15 printed digits
      {0.5, "0", "1"},
      {0, "#,###", ""},
      {999, "#,###", "999"},
      {123456789012.0, "#,###", "123,456,789,012"},
      {0, "######", ""},
      {42, "######", "42"},
      {3.5, "####0.0000", "3.5000"},
      {-12.25, "####0.0000", "-12.2500"},
      {0.5, "#.00", ".50"},
      {1.5, "0.##", "1.5"},
      {2, "0.##", "2."},
      {12.5, "00000.0000", "00012.5000"},
      {5, "\"No.\"000", "No.005"},
      {5, "0;(0)", "5"},
      {-5, "0;(0)", "(5)"},
      {0, "0;(0);\"zero\"", "zero"},
      {5.3 + 0.1, "", "5.4"},
      {2.5, "@@@@@", "  2.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " " + std::to_string(c.v));
    EXPECT_EQ(Format(c.v, c.pattern), c.text);
  }
}

TEST(Vb, FormatIntegersAndCurrencyAreExact) {
  EXPECT_EQ(Format(9999999999LL, "0000000000"), "9999999999");
  EXPECT_EQ(Format(123, "0000000000"), "0000000123");
  EXPECT_EQ(Format(std::int16_t{7}, "00"), "07");
  EXPECT_EQ(Format(7, "000000"), "000007");
  EXPECT_EQ(Format(9223372036854775807LL, "#,##0"), "9,223,372,036,854,775,807");
  EXPECT_EQ(Format(Currency(9999999123), "0000000000"), "9999999123");
  EXPECT_EQ(Format(Currency::FromRaw(35000), "####0.0000"), "3.5000");
  EXPECT_EQ(Format(Currency::FromRaw(-15), "0.000"), "-0.002");
}

TEST(Vb, FormatText) {
  struct Case {
    const char* text;
    const char* pattern;
    const char* out;
  };
  const Case cases[] = {
      {"12", "@@@@", "  12"},
      {"12.5", "@@@@@@@@@@", "      12.5"},
      {"abcdef", "@@@", "abcdef"},
      {"", "@@@", "   "},
      {"ab", "&&&", "ab"},
      {"ab", "!@@@@", "ab  "},
      {"結果", "@@@@", "  結果"},
      {"ab", "(@@@)", "( ab)"},
      {"abc", ">@@@", "ABC"},
      {"5", "000", "005"},          // numeric text takes a number pattern
      {"abc", "000", "abc"},
      {"x", "", "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " " + c.pattern);
    EXPECT_EQ(Format(std::string_view(c.text), c.pattern), c.out);
  }
}

TEST(Vb, FormatDateTime) {
  const DateTime t{2008, 7, 25, 9, 2, 3};
  struct Case {
    const char* pattern;
    const char* out;
  };
  const Case cases[] = {
      {"yyyy/mm/dd hh:nn:ss", "2008/07/25 09:02:03"},
      {"yyyymmdd", "20080725"},
      {"hhnnss", "090203"},
      {"yyyymmdd_hhnnss", "20080725_090203"},
      {"yyyymmddhhnnss", "20080725090203"},
      {"yy/m/d h:n:s", "08/7/25 9:2:3"},
      {"hh:mm", "09:02"},             // m after an hour is the minute
      {"mm:ss", "02:03"},             // and so is m before a second
      {"yyyy\\y", "2008y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Format(t, c.pattern), c.out);
  }
}

TEST(Vb, ParseDate) {
  struct Case {
    const char* text;
    bool valid;
    DateTime t;
  };
  const Case cases[] = {
      {"2024/01/15", true, {2024, 1, 15, 0, 0, 0}},
      {" 2024/1/5 ", true, {2024, 1, 5, 0, 0, 0}},
      {"2024-02-29", true, {2024, 2, 29, 0, 0, 0}},
      {"2024/01/15 13:05", true, {2024, 1, 15, 13, 5, 0}},
      {"2024/01/15 13:05:59", true, {2024, 1, 15, 13, 5, 59}},
      {"2023/02/29", false, {}},
      {"2024/13/01", false, {}},
      {"2024/01/32", false, {}},
      {"2024/01-15", false, {}},
      {"20240115", false, {}},
      {"2024/01/15 24:00", false, {}},
      {"", false, {}},
      {"abc", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<DateTime> d = ParseDate(c.text);
    ASSERT_EQ(d.has_value(), c.valid);
    EXPECT_EQ(IsDate(c.text), c.valid);
    if (!d) continue;
    EXPECT_EQ(Format(*d, "yyyy/mm/dd hh:nn:ss"), Format(c.t, "yyyy/mm/dd hh:nn:ss"));
  }
}

TEST(Vb, TrimRemovesHalfWidthBlanksOnly) {
  struct Case {
    const char* text;
    const char* trim;
    const char* ltrim;
    const char* rtrim;
  };
  const Case cases[] = {
      {"  a b  ", "a b", "a b  ", "  a b"},
      {"　a　", "　a　", "　a　", "　a　"},
      {"\ta\t", "\ta\t", "\ta\t", "\ta\t"},
      {"   ", "", "", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Trim(c.text), c.trim);
    EXPECT_EQ(LTrim(c.text), c.ltrim);
    EXPECT_EQ(RTrim(c.text), c.rtrim);
  }
}

TEST(Vb, CharacterFunctions) {
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len("結果ｱa"), 4);
  EXPECT_EQ(Len("\xF0\x9F\x98\x80"), 2);  // outside the BMP: two UTF-16 units
  EXPECT_EQ(Left("結果入力", 2), "結果");
  EXPECT_EQ(Right("結果入力", 2), "入力");
  EXPECT_EQ(Right("ab", 5), "ab");
  EXPECT_EQ(Mid("結果入力", 2, 2), "果入");
  EXPECT_EQ(Mid("結果入力", 3), "入力");
  EXPECT_EQ(Mid("abc", 9), "");
  EXPECT_EQ(InStr("12.5", "."), 3);
  EXPECT_EQ(InStr("結果.入力.", ".", 4), 6);
  EXPECT_EQ(InStr("abc", "x"), 0);
  EXPECT_EQ(InStr("abc", "a", 4), 0);
  EXPECT_EQ(Space(3), "   ");
  EXPECT_EQ(FixedLength("ab", 4), "ab  ");
  EXPECT_EQ(FixedLength("結果入力です", 4), "結果入力");
  for (auto call : {+[] { Left("a", -1); }, +[] { Mid("a", 0); }, +[] { Mid("a", 1, -1); },
                    +[] { InStr("a", "a", 0); }, +[] { Space(-1); }}) {
    EXPECT_EQ(ErrorOf(call), kErrInvalidCall);
  }
}

}  // namespace
}  // namespace qz::vb
