#include "examinee/setting_forms.h"

#include <gtest/gtest.h>

#include "examinee/settings_fixture.h"
#include "platform/runtime/run_time_error.h"

namespace qz {
namespace {

// 0 in `error` means the conversion succeeds with `value`.
struct IntCase {
  const char* text;
  std::int32_t value;
  int error;
};

TEST(SettingForms, SixteenBitConversion) {
  const IntCase cases[] = {
      {" 7 ", 7, 0},      {"+5", 5, 0},      {"2.5", 2, 0},     {"3.5", 4, 0},
      {"-2.5", -2, 0},    {"2.51", 3, 0},    {"32767", 32767, 0}, {"-32768", -32768, 0},
      {"32768", 0, 6},    {"32767.5", 0, 6}, {"", 0, 13},       {"1.2.3", 0, 13},
      {"12a", 0, 13},     {"-", 0, 13},      {".", 0, 13},      {"99999999999999999999", 0, 6},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.error == 0) {
      EXPECT_EQ(ToInt16(c.text), c.value);
    } else {
      try {
        ToInt16(c.text);
        ADD_FAILURE() << "no error";
      } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), c.error);
      }
    }
  }
}

TEST(SettingForms, ColourReadsLeadingHexDigits) {
  const struct {
    const char* text;
    std::uint32_t value;
  } cases[] = {
      {"B1F3DF", 0xB1F3DF},     {"8000000F", 0x8000000F}, {"ffffffff", 0xFFFFFFFF},
      {"FFFF", 0xFFFF},         {"0000000080FFFF", 0x80FFFF}, {"12G4", 0x12},
      {"G", 0},                 {"", 0},                  {" 1 2 ", 0x1},
      {"&HFF", 0},              {"123456789", 0xABCDEF},  // too long for a colour
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(static_cast<std::uint32_t>(ToColour(c.text, 0xABCDEF)), c.value);
  }
}

TEST(SettingForms, CutTexts) {
  EXPECT_EQ(InnerText("[xy]"), "xy");
  EXPECT_EQ(InnerText(" [ ] "), " ");
  EXPECT_EQ(InnerText("[]"), "");
  EXPECT_EQ(InnerText("「検索」"), "検索");
  EXPECT_EQ(SecondToLastCharacter("[オプション3を実行します]"), "す");
  EXPECT_EQ(SecondToLastCharacter("ab"), "a");
  for (const char* too_short : {"", " ", "x", " 検 "}) {
    SCOPED_TRACE(too_short);
    EXPECT_THROW(InnerText(too_short), RunTimeError);
    EXPECT_THROW(SecondToLastCharacter(too_short), RunTimeError);
  }
}

TEST(SettingForms, CodeListKeepsItsPlaceOfEveryPiece) {
  const struct {
    const char* text;
    std::vector<std::int64_t> codes;  // indexes 1 .. n
  } cases[] = {
      {"100,abc,300", {100, 0, 300}},
      {" 1, 2 ", {1, 2}},
      {"1,,2", {1, 0, 2}},
      {"5,", {5, 0}},
      {",", {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CodeList list;
    ReadCodeList(c.text, list);
    ASSERT_EQ(list.Count, static_cast<std::int16_t>(c.codes.size()));
    ASSERT_EQ(list.Items.size(), c.codes.size() + 1);
    for (std::size_t i = 0; i < c.codes.size(); ++i) EXPECT_EQ(list.Items[i + 1], Currency(c.codes[i]));
  }
  // Entries beyond the hundredth are not read; an empty list leaves the old
  // content.
  std::string many;
  for (int i = 1; i <= 105; ++i) many += std::to_string(i) + ",";
  CodeList list;
  ReadCodeList(many, list);
  EXPECT_EQ(list.Count, 100);
  EXPECT_EQ(list.Items.back(), Currency(100));
  ReadCodeList("  ", list);
  EXPECT_EQ(list.Count, 0);
  EXPECT_EQ(list.Items.size(), 101u);
}

TEST(SettingForms, SplitCodeListKeepsOnlyNumbersFromIndexZero) {
  const struct {
    const char* text;
    std::vector<std::int64_t> codes;
  } cases[] = {
      {"", {0}}, {"ab", {0}}, {"12,ab,34", {12, 34}}, {"12,,34", {12, 34}}, {" 5 ,", {5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<Currency> codes = {Currency(9), Currency(9), Currency(9)};
    Sub_SplitCodeList(c.text, codes);
    ASSERT_EQ(codes.size(), c.codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i], Currency(c.codes[i]));
  }
}

TEST(SettingForms, FepSettingFromTheCtlfepField) {
  const struct {
    const char* file;
    const char* value;
  } cases[] = {
      {"CTLFEP K\r\n", "K"},
      {"A,B\nCTLFEP   R  \n", "R"},
      {"X,CTLFEP KX Y\n", "KX"},
      {"\"CTLFEP  A\",Z\n", "A"},
      {"CTLFEP\nCTLFEPK\n", ""},
      {"  CTLFEP K", "K"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    test::ProgramFolder folder;
    folder.Write("KWBDISP.ENV", c.file);
    EXPECT_EQ(Fnc_GetFepSetting(), c.value);
  }
  test::ProgramFolder no_file;
  EXPECT_EQ(Fnc_GetFepSetting(), "");
  test::ProgramFolder other_case;
  other_case.Write("KwbDisp.env", "CTLFEP R\r\n");
  EXPECT_EQ(Fnc_GetFepSetting(), "R") << "the file's name in any letter case";
}

}  // namespace
}  // namespace qz
