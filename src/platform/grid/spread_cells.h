// Internal storage of the spreadsheet grid model; included only by the
// grid's own sources (spread*.cpp).
//
// Every format field is a Layer: a value and the stamp of the write that
// set it (0 = never written). A cell's format is the layer with the highest
// stamp among the cell, its row, its column and the sheet.
#ifndef QZ_PLATFORM_GRID_SPREAD_CELLS_H_
#define QZ_PLATFORM_GRID_SPREAD_CELLS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/grid/spread.h"

namespace qz::grid {

template <class T>
struct Layer {
  T value{};
  std::uint64_t stamp = 0;
};

struct Spread::Format {
  Layer<CellType> type;
  Layer<Color> back_color;
  Layer<Color> fore_color;
  Layer<HAlign> align;
  Layer<std::string> font_name;
  Layer<double> font_size;
  Layer<bool> font_bold;
  Layer<int> max_edit_len;
  Layer<int> edit_char_set;
  Layer<bool> lock;
  Layer<std::vector<std::string>> combo_entries;
  Layer<bool> combo_editable;
  Layer<int> combo_max_drop;
};

struct Spread::Cell {
  std::string text;
  int combo_sel = -1;
  std::unique_ptr<Format> format;
};

struct Spread::Line {
  double size = 0;
  std::unique_ptr<Format> format;
};

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_SPREAD_CELLS_H_
