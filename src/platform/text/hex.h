// Bytes as hexadecimal text and back, for files that carry raw records in a
// text form (the record CSV of the conversion programs and btrutil).
//
// Pure functions; thread-safe.
#ifndef QZ_PLATFORM_TEXT_HEX_H_
#define QZ_PLATFORM_TEXT_HEX_H_

#include <optional>
#include <string>
#include <string_view>

namespace qz::text {

// Two upper-case hexadecimal digits per byte ("\x01\xAB" -> "01AB").
std::string ToHex(std::string_view bytes);

// The bytes of `hex` (digits in either case, two per byte); nullopt for an
// odd number of digits or a character that is no hexadecimal digit.
std::optional<std::string> FromHex(std::string_view hex);

}  // namespace qz::text

#endif  // QZ_PLATFORM_TEXT_HEX_H_
