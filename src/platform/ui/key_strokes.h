// Keystrokes written in the send-keys notation of the platform, as option
// rows of the settings and the program's own SendKeys calls write them.
//
//   plain characters      typed as they are ("abc", "1", full-width text)
//   {ENTER} ~ {TAB} {ESC} {BS} {DEL} {INS} {HOME} {END} {PGUP} {PGDN}
//   {UP} {DOWN} {LEFT} {RIGHT} {F1}..{F16} {SPACE}   named keys
//   {x}                   the character x itself ({+}, {^}, {%}, {~}, {{}, {}})
//   {NAME n}              the key n times
//   + ^ %                 Shift, Ctrl, Alt for the next key or (group)
#ifndef QZ_PLATFORM_UI_KEY_STROKES_H_
#define QZ_PLATFORM_UI_KEY_STROKES_H_

#include <string>
#include <string_view>
#include <vector>

namespace qz::ui {

struct KeyStroke {
  int key_code = 0;  // 0: a character only (KeyPress without KeyDown)
  int shift = 0;     // ShiftMask bits
  int ascii = 0;     // the character the key types, 0 none
  std::string text;  // the character as UTF-8 when key_code is 0
};

// Parses `keys`. Throws RunTimeError kErrInvalidCall on an unknown key name,
// an unclosed brace or an unclosed group.
std::vector<KeyStroke> ParseKeyStrokes(std::string_view keys);

}  // namespace qz::ui

#endif  // QZ_PLATFORM_UI_KEY_STROKES_H_
