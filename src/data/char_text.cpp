#include "data/char_text.h"

namespace qz {
namespace {

// Byte length of the character that starts at `s[i]`.
std::size_t CharBytes(std::string_view s, std::size_t i) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  std::size_t n = 1;
  if ((b & 0xE0) == 0xC0) n = 2;
  else if ((b & 0xF0) == 0xE0) n = 3;
  else if ((b & 0xF8) == 0xF0) n = 4;
  std::size_t k = 1;
  while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) ++k;
  return k;
}

// Byte offset of character `n` (0-based), or s.size() when past the end.
std::size_t ByteOffset(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  while (n > 0 && i < s.size()) {
    i += CharBytes(s, i);
    --n;
  }
  return i;
}

}  // namespace

std::size_t CharCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < utf8.size(); i += CharBytes(utf8, i)) ++count;
  return count;
}

std::string_view CharLeft(std::string_view utf8, std::size_t n) {
  return utf8.substr(0, ByteOffset(utf8, n));
}

std::string_view CharMidToEnd(std::string_view utf8, std::size_t start) {
  if (start == 0) start = 1;
  return utf8.substr(ByteOffset(utf8, start - 1));
}

std::string FixedLength(std::string_view utf8, std::size_t n) {
  std::string out(CharLeft(utf8, n));
  std::size_t have = CharCount(out);
  if (have < n) out.append(n - have, ' ');
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace qz
