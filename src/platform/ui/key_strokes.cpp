#include "platform/ui/key_strokes.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/runtime/run_time_error.h"
#include "platform/ui/shell.h"
#include "platform/ui/text_edit.h"

namespace qz::ui {

namespace {

[[noreturn]] void Bad() { throw RunTimeError(kErrInvalidCall); }

struct Named {
  const char* name;
  int key;
  int ascii;
};

constexpr Named kNamed[] = {
    {"ENTER", kKeyReturn, 13}, {"TAB", kKeyTab, 0},        {"ESC", kKeyEscape, 27},
    {"ESCAPE", kKeyEscape, 27}, {"BS", kKeyBack, 8},       {"BKSP", kKeyBack, 8},
    {"BACKSPACE", kKeyBack, 8}, {"DEL", kKeyDelete, 0},    {"DELETE", kKeyDelete, 0},
    {"INS", kKeyInsert, 0},     {"INSERT", kKeyInsert, 0}, {"HOME", kKeyHome, 0},
    {"END", kKeyEnd, 0},        {"PGUP", kKeyPageUp, 0},   {"PGDN", kKeyPageDown, 0},
    {"UP", kKeyUp, 0},          {"DOWN", kKeyDown, 0},     {"LEFT", kKeyLeft, 0},
    {"RIGHT", kKeyRight, 0},    {"SPACE", kKeySpace, 32},
};

KeyStroke CharStroke(const std::string& ch, int shift) {
  KeyStroke k;
  k.shift = shift;
  int cp = CodePoint(ch);
  if (cp < 0x80 && std::isalnum(cp)) {
    k.key_code = std::toupper(cp);
    if (std::isupper(cp)) k.shift |= kShiftMask;
    k.ascii = (shift & (kCtrlMask | kAltMask)) != 0 ? 0 : cp;
  } else if (cp == ' ') {
    k.key_code = kKeySpace;
    k.ascii = ' ';
  } else {
    k.ascii = cp;
    k.text = ch;
  }
  return k;
}

KeyStroke NamedStroke(const std::string& name, int shift) {
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' && std::isdigit(static_cast<unsigned char>(name[1]))) {
    int n = std::atoi(name.c_str() + 1);
    if (n < 1 || n > 16) Bad();
    return KeyStroke{kKeyF1 + n - 1, shift, 0, {}};
  }
  for (const Named& n : kNamed) {
    if (name == n.name) return KeyStroke{n.key, shift, (shift & (kCtrlMask | kAltMask)) != 0 ? 0 : n.ascii, {}};
  }
  Bad();
}

}  // namespace

std::vector<KeyStroke> ParseKeyStrokes(std::string_view keys) {
  std::vector<KeyStroke> out;
  std::vector<std::string> chars = SplitChars(keys);
  int shift = 0;       // modifiers for the next key
  int group = -1;      // modifiers of an open group, -1 none
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string& c = chars[i];
    int mods = shift | (group > 0 ? group : 0);
    if (c == "+" || c == "^" || c == "%") {
      shift |= c == "+" ? kShiftMask : c == "^" ? kCtrlMask : kAltMask;
      continue;
    }
    if (c == "(") {
      if (group >= 0) Bad();
      group = shift;
      shift = 0;
      continue;
    }
    if (c == ")") {
      if (group < 0) Bad();
      group = -1;
      continue;
    }
    shift = 0;
    if (c == "~") {
      out.push_back(NamedStroke("ENTER", mods));
      continue;
    }
    if (c != "{") {
      out.push_back(CharStroke(c, mods));
      continue;
    }
    // A braced key: {x}, {NAME} or {NAME n}. A brace right after "{" is the
    // brace character itself.
    std::string body;
    std::size_t j = i + 1;
    if (j < chars.size() && chars[j] == "}") {
      body = "}";
      ++j;
    }
    while (j < chars.size() && chars[j] != "}") body += chars[j++];
    if (j >= chars.size() || body.empty()) Bad();
    i = j;
    int repeat = 1;
    if (std::size_t sp = body.find(' '); sp != std::string::npos && sp > 0) {
      std::string count = body.substr(sp + 1);
      if (count.empty() || count.find_first_not_of("0123456789") != std::string::npos) Bad();
      repeat = std::atoi(count.c_str());
      body = body.substr(0, sp);
    }
    KeyStroke k = CharLength(body) == 1 ? CharStroke(body, mods) : NamedStroke(body, mods);
    for (int r = 0; r < repeat; ++r) out.push_back(k);
  }
  if (group >= 0) Bad();
  return out;
}

}  // namespace qz::ui
