// Walking UTF-8 text one code point at a time.
//
// The program's texts are UTF-8; the runtime helpers that count or slice by
// characters use these. Invalid bytes are taken one at a time and read as
// U+FFFD, so a walk always ends and never reads past the text.
#ifndef QZ_PLATFORM_TEXT_UTF8_H_
#define QZ_PLATFORM_TEXT_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace qz::text {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point that starts at `pos` of `s` and advances `pos` past
// it. Requires pos < s.size(). An invalid or truncated sequence yields
// U+FFFD and advances one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos);

// Appends the UTF-8 form of `cp` to `out`.
void AppendUtf8(std::string& out, char32_t cp);

// Returns the number of code points in `s`.
std::size_t CodePointCount(std::string_view s);

// Returns the byte offset of the code point with 0-based index `index`, or
// s.size() when the text has no more code points.
std::size_t OffsetOfCodePoint(std::string_view s, std::size_t index);

}  // namespace qz::text

#endif  // QZ_PLATFORM_TEXT_UTF8_H_
