// Switching the Japanese input method of a window, and what it does in the
// field that has the keyboard.
//
// The state is the window's ImeState (platform/ui/form.h): the front end
// applies it to the real input method, tests read it. A window without an
// input context (ImeState::available false) is left alone. A control's
// window is its form's: the input method belongs to the form.
#ifndef QZ_DATA_IMM_ON_OFF_H_
#define QZ_DATA_IMM_ON_OFF_H_

#include <cstdint>

#include "platform/ui/control.h"
#include "platform/ui/form.h"

namespace qz {

// Conversion- and sentence-mode bits of the input method.
inline constexpr int kImeCmodeNative = 1;       // kana (not alphanumeric)
inline constexpr int kImeCmodeFullShape = 8;    // full width
inline constexpr int kImeCmodeRoman = 16;       // romaji input
inline constexpr int kImeSmodeAutomatic = 4;

// Mode 0 closes the input method (whether open or not). Mode 1 opens it when
// closed and then sets the conversion mode: full width, plus kana unless
// `alphanumeric`, plus romaji when basPublic.FepSetting is exactly "K"; the
// sentence mode automatic. Other modes change nothing.
void Sub_ImmOnOff(ui::Form& form, std::int16_t mode, bool alphanumeric);
void Sub_ImmOnOff(ui::Control& control, std::int16_t mode, bool alphanumeric);

// Non-zero when the window's input method is open; 0 without an input
// context.
std::int32_t Fnc_ImmGetOpen(const ui::Form& form);
std::int32_t Fnc_ImmGetOpen(const ui::Control& control);

// What the input method does in a field now.
struct FieldIme {
  // It composes there: the field takes typing of any character.
  bool composes = false;
  // Japanese (kana) input is asked; otherwise Latin input is preferred.
  bool kana = false;
  bool operator==(const FieldIme&) const = default;
};

// For `control` as it stands: nothing composes in a window without an input
// context, nor in a field that takes no typing (a locked box, a drop-down
// list, a grid's locked or check cell, a button, a list). A text box or a
// drop-down combo of its own input mode (TextControl::ime_mode): 2 (off,
// the Latin input of number and code boxes) and 3 (disabled) compose
// nothing, 1 (on) asks for kana, 0 follows the window. A grid follows its
// active cell: a number cell or one of single-byte characters composes
// nothing, any other follows the window. Following the window, kana is
// asked while its input method is open in kana mode.
FieldIme Fnc_FieldIme(const ui::Control& control);

}  // namespace qz

#endif  // QZ_DATA_IMM_ON_OFF_H_
