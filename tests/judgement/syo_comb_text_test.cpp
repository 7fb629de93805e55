// The text rules of the findings dialog: joining a picked finding, the
// caret counter, the length limit and the typed-code characters.
#include <gtest/gtest.h>

#include <string>

#include "judgement/syo_comb_text.h"

namespace qz {
namespace {

TEST(SyoCombText, MousePickJoinsAtTheCaret) {
  struct Case {
    const char* text;
    int caret;
    const char* want;
    int want_caret;
  } cases[] = {
      {"", 0, "胆石", 2},                         // empty text: the finding alone
      {"肥大", 0, "胆石肥大", 2},                 // caret at 0: in front, no separator
      {"肥大", 2, "肥大  胆石", 6},               // caret at the end
      {"肥大あり", 2, "肥大  胆石あり", 6},       // inside the text
      {"肥大", 9, "肥大  胆石", 6},               // a caret past the end counts as the end
      {"(未実施)", 5, "胆石", 2},                 // a measurement text is replaced
      {"(測定不能)", 0, "胆石", 2},
  };
  for (const Case& c : cases) {
    const SyoTextEdit got = InsertPickedFinding({c.text, c.caret}, "胆石", "  ");
    EXPECT_EQ(got.text, c.want) << c.text << " @" << c.caret;
    EXPECT_EQ(got.caret, c.want_caret) << c.text << " @" << c.caret;
  }
}

TEST(SyoCombText, EnterAppendsAndKeepsAMeasurementText) {
  EXPECT_EQ(AppendPickedFinding("", "胆石", "、"), "胆石");
  EXPECT_EQ(AppendPickedFinding("(未実施)", "胆石", "、"), "(未実施)、胆石");
}

TEST(SyoCombText, CaretCounterCountsHalfWidthAsHalf) {
  EXPECT_EQ(CaretInfoText("", 0, 100), "現在    1 桁目です. あと  100 文字入力できます.");
  // Three half-width characters: caret after them is 2.5; 98.5 left.
  EXPECT_EQ(CaretInfoText("abc", 3, 100), "現在  2.5 桁目です. あと 98.5 文字入力できます.");
  // Trailing blanks do not use up the limit; the caret counts them.
  EXPECT_EQ(CaretInfoText("胆石  ", 4, 10), "現在    4 桁目です. あと    8 文字入力できます.");
}

TEST(SyoCombText, LengthLimitIsTwoBytesAFullWidthCharacter) {
  const auto repeat = [](const char* ch, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += ch;
    return s;
  };
  EXPECT_EQ(CheckSyokenLength(repeat("胆", 100), 100), 0);
  EXPECT_EQ(CheckSyokenLength(repeat("胆", 101), 100), 2);
  EXPECT_EQ(CheckSyokenLength(repeat("a", 200), 100), 0);
  EXPECT_EQ(CheckSyokenLength(repeat("a", 201), 100), 2);
  EXPECT_EQ(CheckSyokenLength(repeat("a", 199) + " ", 100), 0);
  EXPECT_EQ(CheckSyokenLength(repeat("a", 200) + " ", 100), 2);  // trailing blanks count here
}

TEST(SyoCombText, TypedCodeTakesSingleByteCharactersOnly) {
  EXPECT_TRUE(TakesTypedCodeChar('A'));
  EXPECT_TRUE(TakesTypedCodeChar('7'));
  EXPECT_TRUE(TakesTypedCodeChar(0xFF76));   // ｶ
  EXPECT_FALSE(TakesTypedCodeChar(0x30AB));  // カ
  EXPECT_FALSE(TakesTypedCodeChar(0xFF21));  // Ａ
  EXPECT_FALSE(TakesTypedCodeChar(0x80));
}

}  // namespace
}  // namespace qz
