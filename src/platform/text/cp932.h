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

// True when `b` is the lead byte of a CP932 double-byte character.
bool IsCp932LeadByte(unsigned char b);

// Returns the longest prefix of the CP932 bytes `bytes` that is at most `n`
// bytes long and does not end inside a double-byte character.
std::string_view CutCp932Bytes(std::string_view bytes, std::size_t n);

}  // namespace qz::text

#endif  // QZ_PLATFORM_TEXT_CP932_H_
