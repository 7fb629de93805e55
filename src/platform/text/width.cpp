// The width conversion declared in cp932.h (ToWide, ToNarrow).
#include <array>

#include "platform/text/cp932.h"
#include "platform/text/utf8.h"

namespace qz::text {
namespace {

constexpr char32_t kVoicedMark = 0xFF9E;      // ﾞ
constexpr char32_t kSemiVoicedMark = 0xFF9F;  // ﾟ

// Full-width forms of the half-width katakana block U+FF61..U+FF9F, in order.
constexpr std::array<char32_t, 63> kWideKana = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2,                  // ｡｢｣､･ｦ
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7,  // ｧｨｩｪｫｬｭｮ
    0x30C3, 0x30FC,                                                  // ｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,                          // ｱｲｳｴｵ
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,                          // ｶｷｸｹｺ
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,                          // ｻｼｽｾｿ
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,                          // ﾀﾁﾂﾃﾄ
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,                          // ﾅﾆﾇﾈﾉ
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,                          // ﾊﾋﾌﾍﾎ
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,                          // ﾏﾐﾑﾒﾓ
    0x30E4, 0x30E6, 0x30E8,                                          // ﾔﾕﾖ
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED,                          // ﾗﾘﾙﾚﾛ
    0x30EF, 0x30F3, 0x309B, 0x309C,                                  // ﾜﾝﾞﾟ
};

char32_t WideKana(char32_t half) { return kWideKana[half - 0xFF61]; }

bool IsHalfKana(char32_t c) { return c >= 0xFF61 && c <= 0xFF9F; }

// ｶ..ﾄ and ﾊ..ﾎ take the voiced mark; ﾊ..ﾎ the semi-voiced one; ｳ becomes ヴ.
bool TakesVoicedMark(char32_t half) {
  return (half >= 0xFF76 && half <= 0xFF84) || (half >= 0xFF8A && half <= 0xFF8E);
}
bool TakesSemiVoicedMark(char32_t half) { return half >= 0xFF8A && half <= 0xFF8E; }

}  // namespace

std::string ToWide(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 3);
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t start = pos;
    char32_t c = NextCodePoint(utf8, pos);
    if (c == 0x20) {
      AppendUtf8(out, 0x3000);
    } else if (c >= 0x21 && c <= 0x7E) {
      AppendUtf8(out, c - 0x21 + 0xFF01);
    } else if (IsHalfKana(c)) {
      char32_t wide = WideKana(c);
      std::size_t next = pos;
      char32_t mark = pos < utf8.size() ? NextCodePoint(utf8, next) : 0;
      if (mark == kVoicedMark && c == 0xFF73) {
        wide = 0x30F4;  // ｳﾞ -> ヴ
        pos = next;
      } else if (mark == kVoicedMark && TakesVoicedMark(c)) {
        wide += 1;
        pos = next;
      } else if (mark == kSemiVoicedMark && TakesSemiVoicedMark(c)) {
        wide += 2;
        pos = next;
      }
      AppendUtf8(out, wide);
    } else {
      out.append(utf8.substr(start, pos - start));
    }
  }
  return out;
}

std::string ToNarrow(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t start = pos;
    char32_t c = NextCodePoint(utf8, pos);
    if (c == 0x3000) {
      out += ' ';
      continue;
    }
    if (c >= 0xFF01 && c <= 0xFF5E) {
      out += static_cast<char>(c - 0xFF01 + 0x21);
      continue;
    }
    if (c == 0xFFE5) {
      out += '\\';
      continue;
    }
    if (c == 0x30F4) {  // ヴ
      AppendUtf8(out, 0xFF73);
      AppendUtf8(out, kVoicedMark);
      continue;
    }
    bool done = false;
    if (c < 0x3001 || c > 0x30FC) {
      out.append(utf8.substr(start, pos - start));
      continue;
    }
    for (char32_t h = 0xFF61; h <= 0xFF9F && !done; ++h) {
      char32_t wide = WideKana(h);
      if (c == wide) {
        AppendUtf8(out, h);
        done = true;
      } else if (TakesVoicedMark(h) && c == wide + 1) {
        AppendUtf8(out, h);
        AppendUtf8(out, kVoicedMark);
        done = true;
      } else if (TakesSemiVoicedMark(h) && c == wide + 2) {
        AppendUtf8(out, h);
        AppendUtf8(out, kSemiVoicedMark);
        done = true;
      }
    }
    if (!done) out.append(utf8.substr(start, pos - start));
  }
  return out;
}

}  // namespace qz::text
