// Character-based text helpers for the shared routines: the runtime measures
// text lengths and positions in characters, while the program holds UTF-8.
// These count and cut by Unicode code points (a byte that is not valid UTF-8
// counts as one character). Pure and thread-safe.
#ifndef QZ_DATA_CHAR_TEXT_H_
#define QZ_DATA_CHAR_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace qz {

// Number of characters of `utf8`.
std::size_t CharCount(std::string_view utf8);

// The first `n` characters of `utf8` (all of it when shorter).
std::string_view CharLeft(std::string_view utf8, std::size_t n);

// The characters from character `start` (1-based) to the end; empty when
// `start` lies past the end. `start` 0 is taken as 1.
std::string_view CharMidToEnd(std::string_view utf8, std::size_t start);

// `utf8` as a fixed-length text of `n` characters: cut after `n`
// characters, or padded with blanks on the right.
std::string FixedLength(std::string_view utf8, std::size_t n);

// `text` without ASCII blanks on either side (full-width blanks stay).
std::string_view TrimBlanks(std::string_view text);

}  // namespace qz

#endif  // QZ_DATA_CHAR_TEXT_H_
