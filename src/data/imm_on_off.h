// Switching the Japanese input method of a window.
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

}  // namespace qz

#endif  // QZ_DATA_IMM_ON_OFF_H_
