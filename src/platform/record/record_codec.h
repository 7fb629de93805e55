// Byte encodings of record fields and keys.
//
// Numeric fields hold signed zoned decimal: zero-filled digits, the sign in
// the zone of the last byte ("0"-"9" for a positive value, "P"-"Y", zone 5,
// for a negative one, as the suite's zoned-decimal readers take them).
// Reading takes the other sign forms too: blanks around the digits are
// skipped, an all-blank field is 0, a last byte "@" or "A"-"I" is positive
// and "P"-"Y" or "p"-"y" negative, and a leading "-" or "+" is taken as the
// sign. Any other byte (a blank between digits, a letter) is no digit: the
// field holds no number.
//
// Keys are built from the record bytes by the key's segments: alpha and
// kanji segments as their raw bytes, numeric segments as eight bytes that
// sort by value (negatives first). Pure functions; thread-safe.
#ifndef QZ_PLATFORM_RECORD_RECORD_CODEC_H_
#define QZ_PLATFORM_RECORD_RECORD_CODEC_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/record/definitions.h"

namespace qz::record {

// The value of zoned-decimal `bytes` (at most 18 digits are significant).
// When a byte is no digit, `*valid` (if given) becomes false and the value
// counts that byte as the digit of its low four bits (0 above 9), so that a
// key can still be built from any bytes; otherwise `*valid` becomes true.
std::int64_t DecodeZoned(std::string_view bytes, bool* valid = nullptr);

// Writes `value` as `length` zoned-decimal bytes into `out`. Returns false
// (and leaves `out` as it was) when the value needs more digits.
bool EncodeZoned(std::int64_t value, int length, char* out);

// The key of `record` by `key` (the record must be long enough).
std::string BuildKey(std::string_view record, const KeyDef& key);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_RECORD_CODEC_H_
