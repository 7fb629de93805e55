#include "loading/color_letters.h"

#include "examinee/bas_public.h"
#include "platform/grid/spread.h"
#include "platform/text/vb.h"

namespace qz {

std::optional<ui::Color> ColorOfLetter(std::string_view letter) {
  const std::string trimmed = vb::Trim(letter);
  for (std::size_t i = 0; i < kColorLetters.size(); ++i) {
    if (trimmed == kColorLetters[i].letter) return static_cast<ui::Color>(basPublic.ColorTable[i]);
  }
  return std::nullopt;
}

void SetCellForeColorByLetter(grid::Spread& grid, int col, int row, std::string_view letter) {
  if (const std::optional<ui::Color> color = ColorOfLetter(letter)) {
    grid.SetForeColor(grid::Range::Cell(col, row), *color);
  }
}

}  // namespace qz
