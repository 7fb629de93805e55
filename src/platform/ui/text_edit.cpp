#include "platform/ui/text_edit.h"

#include <algorithm>

namespace qz::ui {

namespace {

// Byte offset of character `chars` of `text` (clamped to the end).
std::size_t ByteOffset(const std::string& text, int chars) {
  std::size_t i = 0;
  int n = 0;
  while (i < text.size() && n < chars) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    ++n;
  }
  return i;
}

}  // namespace

std::vector<std::string> SplitChars(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i + 1;
    while (j < text.size() && (static_cast<unsigned char>(text[j]) & 0xC0) == 0x80) ++j;
    out.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

int CodePoint(std::string_view ch) {
  if (ch.empty()) return 0;
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(ch[k]); };
  unsigned char c = b(0);
  if (c < 0x80 || ch.size() == 1) return c;
  if ((c & 0xE0) == 0xC0) return ((c & 0x1F) << 6) | (b(1) & 0x3F);
  if ((c & 0xF0) == 0xE0 && ch.size() >= 3) return ((c & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  if (ch.size() >= 4) return ((c & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
  return c;
}

std::string EncodeCodePoint(int cp) {
  std::string s;
  auto u = static_cast<unsigned>(cp);
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | (u >> 6));
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    s += static_cast<char>(0xE0 | (u >> 12));
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (u >> 18));
    s += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
  return s;
}

int CharLength(std::string_view text) {
  int n = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++n;
  }
  return n;
}

void InsertText(TextControl& edit, const std::string& text) {
  const std::string& old = edit.text();
  int length = CharLength(old);
  int start = std::clamp(edit.sel_start, 0, length);
  int sel = std::clamp(edit.sel_length, 0, length - start);
  int added = CharLength(text);
  if (edit.max_length > 0 && length - sel + added > edit.max_length) return;
  std::size_t from = ByteOffset(old, start);
  std::size_t to = ByteOffset(old, start + sel);
  std::string updated = old.substr(0, from) + text + old.substr(to);
  edit.SetText(std::move(updated));
  edit.sel_start = start + added;
  edit.sel_length = 0;
}

void EraseBack(TextControl& edit) {
  const std::string& old = edit.text();
  int length = CharLength(old);
  int start = std::clamp(edit.sel_start, 0, length);
  int sel = std::clamp(edit.sel_length, 0, length - start);
  if (sel == 0) {
    if (start == 0) return;
    --start;
    sel = 1;
  }
  std::string updated = old.substr(0, ByteOffset(old, start)) + old.substr(ByteOffset(old, start + sel));
  edit.SetText(std::move(updated));
  edit.sel_start = start;
  edit.sel_length = 0;
}

}  // namespace qz::ui
