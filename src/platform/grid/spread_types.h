// Value types of the spreadsheet grid model (spread.h): cell types,
// alignments, character sets, actions, ranges and sort keys.
//
// The numeric values of the enumerations are the codes the program's
// procedures use (cell type 8 is a list cell, alignment 2 is centred).
#ifndef QZ_PLATFORM_GRID_SPREAD_TYPES_H_
#define QZ_PLATFORM_GRID_SPREAD_TYPES_H_

#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace qz::grid {

using ui::Color;

enum class CellType {
  kEdit = 1,        // free text (the default)
  kFloat = 2,       // a number with decimals; sorts numerically
  kInteger = 3,     // a whole number; sorts numerically
  kStaticText = 5,  // shown, never edited
  kComboBox = 8,    // a list cell
  kCheckBox = 10,   // text "1" checked, anything else unchecked
};

enum class HAlign { kLeft = 0, kRight = 1, kCenter = 2 };

// Edit character sets: which characters typing may put into a cell.
inline constexpr int kCharSetSingleByte = 0;  // one CP932 byte a character
inline constexpr int kCharSetAll = 6;         // any character

// Values of the Action property.
inline constexpr int kActionActiveCell = 0;  // make (col, row) the active cell
inline constexpr int kActionGotoCell = 1;    // scroll (col, row) into view
inline constexpr int kActionGotoTop = 2;     // scroll (col, row) to the top

// Key codes the grid itself acts on (platform virtual-key codes).
inline constexpr int kKeyBack = 8;
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyPageUp = 33;
inline constexpr int kKeyPageDown = 34;
inline constexpr int kKeyEnd = 35;
inline constexpr int kKeyHome = 36;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF2 = 113;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;

// Mouse buttons of the mouse events.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;

// A rectangle of cells. A column or row of -1 stands for all columns or all
// rows; a range never needs to be normalised by the caller (col1 > col2 is
// the same block as col2 > col1).
struct Range {
  int col1 = -1, row1 = -1, col2 = -1, row2 = -1;

  static Range Cell(int col, int row) { return {col, row, col, row}; }
  static Range Column(int col) { return {col, -1, col, -1}; }
  static Range Row(int row) { return {-1, row, -1, row}; }
  static Range Sheet() { return {}; }
  static Range Block(int col1, int row1, int col2, int row2) { return {col1, row1, col2, row2}; }
};

// The resolved format of one cell: what the last write to the cell, its
// row, its column or the whole sheet left, else the default.
struct CellFormat {
  CellType type = CellType::kEdit;
  Color back_color = 0;
  Color fore_color = 0;
  HAlign align = HAlign::kLeft;
  std::string font_name;
  double font_size = 0;
  bool font_bold = false;
  int max_edit_len = 0;  // CP932 bytes
  int edit_char_set = kCharSetAll;
  bool lock = false;
  std::vector<std::string> combo_entries;
  bool combo_editable = false;
  int combo_max_drop = 0;
};

// One key of a sort by rows.
struct SortKey {
  int col = 0;
  bool ascending = true;
};

}  // namespace qz::grid

#endif  // QZ_PLATFORM_GRID_SPREAD_TYPES_H_
