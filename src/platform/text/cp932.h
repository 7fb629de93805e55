// Conversion between the program's UTF-8 text and code page 932 bytes.
//
// Inside the program every text is UTF-8. Record fields, INI and text files,
// logs and parameter areas hold CP932 bytes; every byte length and byte
// position of those formats is measured in CP932, two bytes for a full-width
// character. These functions are pure and thread-safe.
#ifndef QZ_PLATFORM_TEXT_CP932_H_
#define QZ_PLATFORM_TEXT_CP932_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace qz::text {

// Returns the CP932 bytes of `utf8`. A character CP932 cannot hold becomes
// "?" (as the platform's narrowing conversion does). Invalid UTF-8 bytes
// become "?" too.
std::string ToCp932(std::string_view utf8);

// Returns the UTF-8 text of the CP932 bytes `bytes`. A byte sequence that is
// not CP932 (a lone lead byte, an unassigned code) becomes U+FFFD; never
// fails.
std::string FromCp932(std::string_view bytes);

// Returns the number of CP932 bytes of `utf8`.
std::size_t Cp932Length(std::string_view utf8);

// True when CP932 holds every character of `utf8` (ToCp932 puts no "?" in
// place of one).
bool Cp932Holds(std::string_view utf8);

// True when `b` is the lead byte of a CP932 double-byte character.
bool IsCp932LeadByte(unsigned char b);

// Returns the longest prefix of the CP932 bytes `bytes` that is at most `n`
// bytes long and does not end inside a double-byte character.
std::string_view CutCp932Bytes(std::string_view bytes, std::size_t n);

// Byte slices of CP932 byte strings, as the runtime's byte functions give them
// on an ANSI string: pure byte arithmetic, a double-byte character may be cut
// in half (the caller decodes the result, a split half then reads as U+FFFD).
// `n` beyond the string's end is clamped.
std::string_view LeftBytes(std::string_view bytes, std::size_t n);
std::string_view RightBytes(std::string_view bytes, std::size_t n);
// The `n` bytes from the 1-based byte position `start` (fewer at the end, an
// empty view past it). Requires start >= 1; throws RunTimeError 5 otherwise.
std::string_view MidBytes(std::string_view bytes, std::size_t start,
                          std::size_t n = static_cast<std::size_t>(-1));

// Slices of UTF-8 text measured in CP932 bytes. These never split a
// character: a double-byte character that straddles the edge of the slice is
// left out, so the result may be one byte shorter than asked.
// LeftB: the leading characters that fit in `n` bytes.
std::string LeftB(std::string_view utf8, std::size_t n);
// RightB: the trailing characters that fit in `n` bytes.
std::string RightB(std::string_view utf8, std::size_t n);
// MidB: the characters lying wholly within bytes [start, start + n) of the
// text, `start` 1-based. Requires start >= 1; throws RunTimeError 5 otherwise.
std::string MidB(std::string_view utf8, std::size_t start,
                 std::size_t n = static_cast<std::size_t>(-1));

// Blank padding to `n` CP932 bytes. PadLeftB right-aligns (blanks in front),
// PadRightB left-aligns (blanks after); a text of `n` bytes or more comes
// back unchanged.
std::string PadLeftB(std::string_view utf8, std::size_t n);
std::string PadRightB(std::string_view utf8, std::size_t n);
// FitB: exactly `n` CP932 bytes, left-aligned: cut without splitting a
// character, then blank-padded (a record field of fixed width).
std::string FitB(std::string_view utf8, std::size_t n);

// The platform's width conversion of Japanese text.
// ToWide: "!".."~" to U+FF01..U+FF5E, the blank to U+3000, half-width
// katakana and punctuation to their full-width forms; a half-width kana
// followed by a voiced or semi-voiced mark becomes one character (ｶﾞ -> ガ,
// ﾊﾟ -> パ, ｳﾞ -> ヴ); a mark that cannot combine becomes ゛ or ゜.
// ToNarrow: the reverse; also ￥ (U+FFE5) becomes "\" (the CP932 byte 0x5C).
// Characters without a counterpart (kanji, hiragana, ヵ, ヶ) are kept.
std::string ToWide(std::string_view utf8);
std::string ToNarrow(std::string_view utf8);

}  // namespace qz::text

#endif  // QZ_PLATFORM_TEXT_CP932_H_
