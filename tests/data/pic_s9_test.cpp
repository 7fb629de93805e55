#include "data/pic_s9.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

struct ZonedCase {
  const char* zoned;
  std::int16_t error;
  const char* text;  // "untouched" when the call fails
};

TEST(PicS9, EveryZone) {
  const ZonedCase cases[] = {
      // Zone 3: a plain digit.
      {"000035000", 0, "000035000"},
      {"7", 0, "7"},
      // Zone 4: the at sign and A to I, positive.
      {"00003500@", 0, "000035000"},
      {"0000350I", 0, "00003509"},
      {"A", 0, "1"},
      // Zone 5: P to Y, negative.
      {"00005000P", 0, "-000050000"},
      {"1Y", 0, "-19"},
      // Zones outside 3 to 5.
      {"0000350 ", 1, "untouched"},   // 0x20
      {"0000350`", 1, "untouched"},   // 0x60
      {"0000350p", 1, "untouched"},   // 0x70
      {"0000350\x01", 1, "untouched"},
      {"0000350\x03", 1, "untouched"},   // control characters have zone 0,
      {"0000350\x05", 1, "untouched"},   // not the zone of their one hex digit
      {"0000350ｱ", 1, "untouched"},  // half-width katakana 0xB1
      {"0000350あ", 1, "untouched"},  // a double-byte character
      // Hex letters in the digit place.
      {"0000350:", 1, "untouched"},   // 0x3A
      {"0000350?", 1, "untouched"},   // 0x3F
      {"0000350J", 1, "untouched"},   // 0x4A
      {"0000350O", 1, "untouched"},   // 0x4F
      {"0000350Z", 1, "untouched"},   // 0x5A
      {"", 1, "untouched"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zoned);
    std::string text = "untouched";
    std::int16_t error = -1;
    Sub_CnvPicS9(c.zoned, text, error);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
}  // namespace qz
