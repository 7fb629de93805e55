// The number a grid cell's text stands for when the grids sort by numbers.
//
// Shared by the spreadsheet grid's sort and the list grid's sort. Pure
// function; any thread.
#ifndef QZ_PLATFORM_GRID_SORT_NUMBER_H_
#define QZ_PLATFORM_GRID_SORT_NUMBER_H_

#include <string_view>

namespace qz::grid {

// True when `text`, blanks around it aside, is a decimal number (an
// optional sign, digits with an optional decimal point and exponent); the
// value goes to `out`. Independent of the process locale. Texts such as
// "inf", "nan" or "0x1F" are no numbers, so every number sorts in a total
// order.
bool ParseSortNumber(std::string_view text, double& out);

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_SORT_NUMBER_H_
