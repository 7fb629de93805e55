#include "data/imm_on_off.h"

#include "examinee/bas_public.h"

namespace qz {

void Sub_ImmOnOff(ui::Form& form, std::int16_t mode, bool alphanumeric) {
  int conversion = kImeCmodeFullShape;
  if (!alphanumeric) conversion += kImeCmodeNative;
  if (basPublic.FepSetting == "K") conversion += kImeCmodeRoman;
  ui::ImeState& ime = form.ime;
  if (!ime.available) return;
  if (mode == 0) {
    ime.open = false;
  } else if (mode == 1) {
    ime.open = true;
    ime.conversion = conversion;
    ime.sentence = kImeSmodeAutomatic;
  }
}

void Sub_ImmOnOff(ui::Control& control, std::int16_t mode, bool alphanumeric) {
  Sub_ImmOnOff(*control.form(), mode, alphanumeric);
}

std::int32_t Fnc_ImmGetOpen(const ui::Form& form) {
  return form.ime.available && form.ime.open ? 1 : 0;
}

std::int32_t Fnc_ImmGetOpen(const ui::Control& control) { return Fnc_ImmGetOpen(*control.form()); }

}  // namespace qz
