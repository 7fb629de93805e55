#include "data/imm_on_off.h"

#include "examinee/bas_public.h"
#include "platform/grid/spread.h"
#include "platform/ui/controls.h"

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

FieldIme Fnc_FieldIme(const ui::Control& control) {
  const ui::ImeState& ime = control.form()->ime;
  const bool window_kana = ime.open && (ime.conversion & kImeCmodeNative) != 0;
  if (!ime.available) return {};
  if (const auto* spr = dynamic_cast<const grid::Spread*>(&control)) {
    const int col = spr->active_col(), row = spr->active_row();
    if (!spr->CellTakesInput(col, row)) return {};
    const grid::CellFormat f = spr->FormatAt(col, row);
    const bool numbers = f.type == grid::CellType::kFloat || f.type == grid::CellType::kInteger;
    if (numbers || f.edit_char_set == grid::kCharSetSingleByte) return {};
    return {true, window_kana};
  }
  const auto* text = dynamic_cast<const ui::TextControl*>(&control);
  const auto* combo = dynamic_cast<const ui::ComboBox*>(&control);
  const bool edits = control.kind() == ui::ControlKind::kTextBox || (combo != nullptr && combo->style == 0);
  if (text == nullptr || !edits || text->locked) return {};
  switch (text->ime_mode) {
    case 1: return {true, true};
    case 2:
    case 3: return {};
    default: return {true, window_kana};
  }
}

}  // namespace qz
