#include "platform/text/utf8.h"

namespace qz::text {

char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char b = byte(pos);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b & 0xE0) == 0xC0) {
    len = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, cp = b & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kReplacementChar;
  }
  if (pos + len > s.size()) {
    ++pos;
    return kReplacementChar;
  }
  for (std::size_t i = 1; i < len; ++i) {
    unsigned char c = byte(pos + i);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return kReplacementChar;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacementChar;
  }
  pos += len;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::size_t CodePointCount(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < s.size(); ++n) NextCodePoint(s, pos);
  return n;
}

std::size_t OffsetOfCodePoint(std::string_view s, std::size_t index) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < index && pos < s.size(); ++i) NextCodePoint(s, pos);
  return pos;
}

}  // namespace qz::text
