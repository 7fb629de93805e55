#include "platform/text/cp932.h"

#include <gtest/gtest.h>

namespace qz::text {
namespace {

TEST(Cp932, CodesThatDifferFromShiftJis) {
  EXPECT_EQ(ToCp932("～"), "\x81\x60");  // U+FF5E
  EXPECT_EQ(ToCp932("－"), "\x81\x7C");  // U+FF0D
  EXPECT_EQ(FromCp932("\x81\x60"), "～");
}

TEST(Cp932, HalfWidthKatakanaIsOneByte) {
  EXPECT_EQ(Cp932Length("ﾒｯｾｰｼﾞ"), 6u);
  EXPECT_EQ(Cp932Length("結果入力"), 8u);
}

TEST(Cp932, CutNeverSplitsADoubleByteCharacter) {
  std::string b = ToCp932("A結果");
  EXPECT_EQ(CutCp932Bytes(b, 2), "A");
  EXPECT_EQ(CutCp932Bytes(b, 3), ToCp932("A結"));
  EXPECT_EQ(CutCp932Bytes(b, 10), b);
}

TEST(Cp932, UndecodableBytesBecomeReplacementCharacters) {
  EXPECT_EQ(FromCp932("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(ToCp932("\xFF"), "?");
}

}  // namespace
}  // namespace qz::text
