#include "platform/text/cp932.h"

#include "platform/runtime/run_time_error.h"

#include <gtest/gtest.h>

namespace qz::text {
namespace {

TEST(Cp932, CodesThatDifferFromShiftJis) {
  EXPECT_EQ(ToCp932("～"), "\x81\x60");  // U+FF5E
  EXPECT_EQ(ToCp932("－"), "\x81\x7C");  // U+FF0D
  EXPECT_EQ(FromCp932("\x81\x60"), "～");
}

TEST(Cp932, EveryAsciiByteIsItselfAloneAndBesideKanji) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(FromCp932(ascii), ascii);
  EXPECT_EQ(ToCp932(ascii), ascii);
  EXPECT_EQ(FromCp932(ascii + ToCp932("結果")), ascii + "結果");
  EXPECT_EQ(ToCp932(ascii + "結果"), ascii + ToCp932("結果"));
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

namespace qz::text {
namespace {

struct SliceCase {
  const char* text;
  std::size_t start;  // 1-based, for MidB
  std::size_t n;
  const char* left;
  const char* right;
  const char* mid;
};

// "A結果" is A (1 byte) then two double-byte characters: 5 bytes.
TEST(Cp932, ByteSlicesOfTextNeverSplitACharacter) {
  const SliceCase cases[] = {
      {"A結果", 1, 2, "A", "果", "A"},
      {"A結果", 2, 2, "A", "果", "結"},
      {"A結果", 3, 2, "A", "果", ""},     // bytes 3-4 straddle both kanji
      {"A結果", 1, 3, "A結", "果", "A結"},
      {"A結果", 2, 4, "A結", "結果", "結果"},
      {"ｱｲ結", 2, 3, "ｱｲ", "ｲ結", "ｲ結"},  // half-width kana is one byte
      {"abc", 1, 0, "", "", ""},
      {"abc", 3, 10, "abc", "abc", "c"},
      {"abc", 5, 1, "a", "c", ""},
  };
  for (const SliceCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " start " + std::to_string(c.start) + " n " + std::to_string(c.n));
    EXPECT_EQ(LeftB(c.text, c.n), c.left);
    EXPECT_EQ(RightB(c.text, c.n), c.right);
    EXPECT_EQ(MidB(c.text, c.start, c.n), c.mid);
  }
  EXPECT_EQ(MidB("A結果", 2), "結果");
}

TEST(Cp932, RawByteSlicesAreByteExact) {
  std::string b = ToCp932("AB結");  // 41 42 8C 8B
  EXPECT_EQ(RightBytes(b, 2), ToCp932("結"));
  EXPECT_EQ(LeftBytes(b, 3), "AB\x8C");
  EXPECT_EQ(MidBytes(b, 2, 2), "B\x8C");
  EXPECT_EQ(MidBytes(b, 9, 2), "");
  EXPECT_EQ(RightBytes(b, 10), b);
  // A half character decodes to the replacement character, never a crash.
  EXPECT_EQ(FromCp932(LeftBytes(b, 3)), "AB\xEF\xBF\xBD");
}

TEST(Cp932, ByteStartBelowOneIsAnInvalidCall) {
  for (auto call : {+[] { MidB("abc", 0, 1); }, +[] { MidBytes("abc", 0, 1); }}) {
    try {
      call();
      ADD_FAILURE() << "no error";
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.number(), kErrInvalidCall);
    }
  }
}

TEST(Cp932, PaddingCountsCp932Bytes) {
  struct Case {
    const char* text;
    std::size_t n;
    const char* left_aligned;   // PadRightB
    const char* right_aligned;  // PadLeftB
    const char* fitted;         // FitB
  };
  const Case cases[] = {
      {"3.5", 5, "3.5  ", "  3.5", "3.5  "},
      {"結果", 6, "結果  ", "  結果", "結果  "},
      {"ｹｯｶ", 5, "ｹｯｶ  ", "  ｹｯｶ", "ｹｯｶ  "},
      {"123456", 5, "123456", "123456", "12345"},
      {"A結果", 4, "A結果", "A結果", "A結 "},  // the cut leaves 3 bytes, a blank makes 4
      {"", 3, "   ", "   ", "   "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PadRightB(c.text, c.n), c.left_aligned);
    EXPECT_EQ(PadLeftB(c.text, c.n), c.right_aligned);
    EXPECT_EQ(FitB(c.text, c.n), c.fitted);
    EXPECT_EQ(Cp932Length(FitB(c.text, c.n)), c.n);
  }
}

TEST(Cp932, WidthConversion) {
  struct Case {
    const char* narrow;
    const char* wide;
  };
  // Pairs that convert into each other in both directions.
  const Case round_trips[] = {
      {"12.5", "１２．５"},
      {"-1", "－１"},
      {"A z~", "Ａ　ｚ～"},
      {"!\"#\\}", "！＂＃＼｝"},
      {"ｶﾞｷﾞﾊﾟﾋﾟｳﾞ", "ガギパピヴ"},
      {"ｹｯｶﾆｭｳﾘｮｸ", "ケッカニュウリョク"},
      {"ｱｰｧｯｦﾝ｡｢｣､･", "アーァッヲン。「」、・"},
      {"ﾞﾟ", "゛゜"},
      {"結果 入力", "結果　入力"},
  };
  for (const Case& c : round_trips) {
    SCOPED_TRACE(c.narrow);
    EXPECT_EQ(ToWide(c.narrow), c.wide);
    EXPECT_EQ(ToNarrow(c.wide), c.narrow);
    EXPECT_EQ(ToNarrow(ToWide(c.narrow)), c.narrow);
  }
  // One-way cases: marks that cannot combine, characters without a
  // half-width form, and the yen sign.
  EXPECT_EQ(ToWide("ｱﾞﾏﾟ"), "ア゛マ゜");
  EXPECT_EQ(ToNarrow("ヵヶあ漢"), "ヵヶあ漢");
  EXPECT_EQ(ToNarrow("￥100"), "\\100");
  // Bytes that are not UTF-8 pass through untouched.
  EXPECT_EQ(ToWide("a\xFF"), "ａ\xFF");
  EXPECT_EQ(ToNarrow("\xFFＡ"), "\xFF" "A");
}

TEST(Cp932, EveryWideAsciiFormHasACp932Code) {
  for (char c = '!'; c <= '~'; ++c) {
    std::string wide = ToWide(std::string(1, c));
    SCOPED_TRACE(wide);
    EXPECT_EQ(Cp932Length(wide), 2u);
    EXPECT_EQ(FromCp932(ToCp932(wide)), wide);
  }
}

}  // namespace
}  // namespace qz::text
