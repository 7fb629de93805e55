#include "platform/ui/text_edit.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text/cp932.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/form.h"
#include "platform/ui/shell.h"

namespace qz::ui {

std::size_t ByteOffset(std::string_view text, int chars) {
  std::size_t i = 0;
  int n = 0;
  while (i < text.size() && n < chars) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    ++n;
  }
  return i;
}

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
  // The program keeps its texts in the code page: a character it cannot
  // hold would be stored as "?".
  if (!text::Cp932Holds(text)) return;
  std::size_t from = ByteOffset(old, start);
  std::size_t to = ByteOffset(old, start + sel);
  std::string updated = old.substr(0, from) + text + old.substr(to);
  // Characters typed one after another are undone together.
  TextControl::Undo undo = edit.undo.typing && sel == 0 ? edit.undo : TextControl::Undo{true, old, start, sel, false};
  edit.SetText(std::move(updated));
  edit.sel_start = start + added;
  edit.sel_length = 0;
  undo.typing = true;
  edit.undo = std::move(undo);
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
  TextControl::Undo undo{true, old, edit.sel_start, edit.sel_length, false};
  edit.SetText(std::move(updated));
  edit.sel_start = start;
  edit.sel_length = 0;
  edit.undo = std::move(undo);
}

void UndoEdit(TextControl& edit) {
  if (!edit.undo.can || edit.locked) return;
  TextControl::Undo redo{true, edit.text(), edit.sel_start, edit.sel_length, false};
  const TextControl::Undo undo = edit.undo;
  edit.SetText(undo.text);
  edit.sel_start = undo.sel_start;
  edit.sel_length = undo.sel_length;
  edit.caret_at_sel_start = false;
  edit.undo = std::move(redo);
}

namespace {

// The caret: the end of the selection it was extended to.
int CaretOf(const TextControl& edit) {
  return edit.caret_at_sel_start ? edit.sel_start : edit.sel_start + edit.sel_length;
}

void PlaceCaret(TextControl& edit, int caret, bool extend) {
  edit.undo.typing = false;  // typing elsewhere is another edit
  const int length = CharLength(edit.text());
  caret = std::clamp(caret, 0, length);
  if (!extend) {
    edit.sel_start = caret;
    edit.sel_length = 0;
    edit.caret_at_sel_start = false;
    return;
  }
  const int anchor = edit.caret_at_sel_start ? edit.sel_start + edit.sel_length : edit.sel_start;
  edit.sel_start = std::min(anchor, caret);
  edit.sel_length = std::abs(anchor - caret);
  edit.caret_at_sel_start = caret < anchor;
}

std::string Selected(const TextControl& edit) {
  const std::string& text = edit.text();
  const int length = CharLength(text);
  const int start = std::clamp(edit.sel_start, 0, length);
  const int sel = std::clamp(edit.sel_length, 0, length - start);
  const std::size_t from = ByteOffset(text, start);
  return text.substr(from, ByteOffset(text, start + sel) - from);
}

}  // namespace

bool HandleEditingKey(TextControl& edit, int key_code, int shift) {
  const bool with_shift = (shift & kShiftMask) != 0;
  const bool ctrl = (shift & kCtrlMask) != 0 && (shift & kAltMask) == 0;
  const int caret = CaretOf(edit);
  switch (key_code) {
    case kKeyLeft:
      PlaceCaret(edit, !with_shift && edit.sel_length > 0 ? edit.sel_start : caret - 1, with_shift);
      return true;
    case kKeyRight:
      PlaceCaret(edit, !with_shift && edit.sel_length > 0 ? edit.sel_start + edit.sel_length : caret + 1,
                 with_shift);
      return true;
    case kKeyHome:
      PlaceCaret(edit, 0, with_shift);
      return true;
    case kKeyEnd:
      PlaceCaret(edit, CharLength(edit.text()), with_shift);
      return true;
    case kKeyDelete:
      if (edit.locked) return true;
      if (edit.sel_length == 0) {
        if (caret >= CharLength(edit.text())) return true;
        edit.sel_start = caret;
        edit.sel_length = 1;
      }
      EraseBack(edit);
      return true;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key_code) {
    case 'Z':
      UndoEdit(edit);
      return true;
    case 'A':
      edit.undo.typing = false;
      edit.sel_start = 0;
      edit.sel_length = CharLength(edit.text());
      edit.caret_at_sel_start = false;
      return true;
    case 'C':
      if (edit.sel_length > 0) SetClipboardText(Selected(edit));
      return true;
    case 'X':
      if (edit.sel_length == 0) return true;
      SetClipboardText(Selected(edit));
      if (!edit.locked) EraseBack(edit);
      return true;
    case 'V': {
      const std::string text = ClipboardLine();
      if (!text.empty() && !edit.locked) {
        TypeAsUser(edit, text, [&edit](const std::string& typed) {
          for (const std::string& ch : SplitChars(typed)) {
            int ascii = CodePoint(ch);
            edit.HandleChar(ascii, ch);
          }
        });
      }
      return true;
    }
    default:
      return false;
  }
}

std::string ClipboardLine() {
  const std::string text = ClipboardText();
  std::string line;
  for (const std::string& ch : SplitChars(text.substr(0, text.find_first_of("\r\n")))) {
    // A control character on the clipboard (a tab, a backspace) is no
    // typed text: typed, it would act as its key.
    if (ch.size() == 1 && (static_cast<unsigned char>(ch[0]) < 0x20 || ch[0] == 0x7F)) continue;
    line += ch;
  }
  return line;
}

void TypeAsUser(Control& control, const std::string& text, const std::function<void(const std::string&)>& direct) {
  Shell* shell = Shell::Current();
  Form* form = control.form();
  if (shell != nullptr && form != nullptr && shell->active_form() == form && form->active_control() == &control) {
    shell->UserType(text);
  } else {
    direct(text);
  }
}

}  // namespace qz::ui
