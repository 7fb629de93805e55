// The colour letters of the result screen (B, R, P, T, W, A, K, C, E, O):
// each names one entry of basPublic.ColorTable, which the settings step
// reads from the [COLOR] section of ./QZP140.INI at every examinee load.
#ifndef QZ_LOADING_COLOR_LETTERS_H_
#define QZ_LOADING_COLOR_LETTERS_H_

#include <array>
#include <optional>
#include <string_view>

#include "platform/ui/control.h"

namespace qz {

namespace grid {
class Spread;
}

// The letters in the order of basPublic.ColorTable, with the colour each
// has when the INI file does not give one (hexadecimal 0xBBGGRR).
struct ColorLetterDefault {
  std::string_view letter;
  std::string_view default_hex;
};
inline constexpr std::array<ColorLetterDefault, 10> kColorLetters = {{
    {"B", "FF0000"}, {"R", "0000FF"}, {"P", "FF80C0"}, {"T", "80FFFF"}, {"W", "FFFFFF"},
    {"A", "000000"}, {"K", "004080"}, {"C", "00FFFF"}, {"E", "00FF00"}, {"O", "C0C0C0"},
}};

// The colour of `letter` (blanks around it ignored) from basPublic.ColorTable;
// nullopt for any other text, the empty text included.
std::optional<ui::Color> ColorOfLetter(std::string_view letter);

// Sets the text colour of cell (col, row) of `grid` to the colour of
// `letter`; another letter leaves the colour as it was.
void SetCellForeColorByLetter(grid::Spread& grid, int col, int row, std::string_view letter);

}  // namespace qz

#endif  // QZ_LOADING_COLOR_LETTERS_H_
