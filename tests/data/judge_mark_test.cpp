#include "data/judge_mark.h"

#include <gtest/gtest.h>

#include "platform/text/cp932.h"

namespace qz {
namespace {

JudgeSlot Slot(std::int16_t code, std::string_view kbn_utf8, const char* color) {
  return JudgeSlot{code, text::ToCp932(kbn_utf8), color};
}

// Slot 3 repeats code 2; slot 4 has four half-width characters; slot 5 a
// half-width mark with blanks; slots 6 to 8 are unused.
JudgeSlots Settings() {
  JudgeSlots s;
  s[0] = Slot(1, "  Ａ", "B");
  s[1] = Slot(2, "  Ｂ", "R");
  s[2] = Slot(2, "  Ｃ", "P");
  s[3] = Slot(4, "ABCD", "T");
  s[4] = Slot(5, "  C ", "W");
  s[5] = Slot(0, "    ", " ");
  s[6] = Slot(0, "    ", " ");
  s[7] = Slot(0, "    ", " ");
  return s;
}

TEST(JudgeMark, CodeToMark) {
  const struct {
    std::int16_t code;
    std::int16_t result;
    const char* mark;
    const char* color;
  } cases[] = {
      {1, 0, "Ａ", "B"},
      {2, 0, "Ｂ", "R"},  // the lower slot wins
      {4, 0, "CD", "T"},  // only the last two bytes
      {5, 0, "C ", "W"},  // untrimmed
      {0, 0, "  ", " "},  // an unused slot
      {3, 1, "old", "old"},
      {-1, 1, "old", "old"},
  };
  JudgeSlots slots = Settings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    std::string mark = "old", color = "old";
    EXPECT_EQ(JudgeCodeToMark(slots, c.code, mark, color), c.result);
    EXPECT_EQ(mark, c.mark);
    EXPECT_EQ(color, c.color);
  }
}

TEST(JudgeMark, MarkToCode) {
  const struct {
    const char* mark;
    std::int16_t result;
    std::int16_t code;
    const char* color;
  } cases[] = {
      {"Ａ", 0, 1, "B"},
      {" Ａ  ", 0, 1, "B"},  // blanks around do not count
      {"Ｃ", 0, 2, "P"},
      {"CD", 0, 4, "T"},
      {"C", 0, 5, "W"},
      {"", 0, 0, " "},       // the first blank slot
      {"ABCD", 1, 99, "old"},
      {"cd", 1, 99, "old"},  // case counts
      {"Ｃ Ｄ", 1, 99, "old"},
      {"ＣＤ", 1, 99, "old"},  // width counts
  };
  JudgeSlots slots = Settings();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mark);
    std::int16_t code = 99;
    std::string color = "old";
    EXPECT_EQ(MarkToJudgeCode(slots, c.mark, code, color), c.result);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(color, c.color);
  }
}

TEST(JudgeMark, MarkThatSplitsADoubleByteCharacter) {
  // "A" + "あ" + "B": the last two bytes are the trail byte of "あ" and "B".
  JudgeSlot split = Slot(1, "AあB", "B");
  EXPECT_EQ(JudgeSlotMark(split), "\xEF\xBF\xBD" "B");
  // A trail byte that reads as ASCII must not turn into a character:
  // "Ａ" is 0x82 0x60, and 0x60 alone would be "`".
  JudgeSlot ascii_trail = Slot(1, "AＡB", "B");
  EXPECT_EQ(JudgeSlotMark(ascii_trail), "\xEF\xBF\xBD" "B");
  // A lead byte at the end, its trail byte cut off.
  JudgeSlot cut_lead = JudgeSlot{1, "AB" "C\x82", "B"};
  EXPECT_EQ(JudgeSlotMark(cut_lead), "C\xEF\xBF\xBD");
  JudgeSlots slots{};
  slots[0] = ascii_trail;
  std::int16_t code = 99;
  std::string color;
  EXPECT_EQ(MarkToJudgeCode(slots, "`B", code, color), 1);
}

}  // namespace
}  // namespace qz
