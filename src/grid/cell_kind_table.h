// CellKindTable: the kind of every cell of the result grid
// (frmResultIn.CellKinds), which decides where the cursor stops after Enter
// and which cells are locked.
//
// Indexed (column, row) as the grid is, both from 1. Sub_SprSet re-creates
// it after every rebuild of the item lines; until then it is empty. Access
// outside the table throws RunTimeError 9 (subscript out of range), as the
// program's arrays do. A plain value (copyable).
#ifndef QZ_GRID_CELL_KIND_TABLE_H_
#define QZ_GRID_CELL_KIND_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qz {

// The kinds of cell.
inline constexpr std::int16_t kCellOutside = 0;      // not a cell of an item line
inline constexpr std::int16_t kCellInput = 1;        // input cell: the cursor stops here
inline constexpr std::int16_t kCellNoEntry = 2;      // input column, nothing to enter: locked
inline constexpr std::int16_t kCellPickOnly = 3;     // changed through its list: no stop, not locked
inline constexpr std::int16_t kCellNeverEntered = 4; // descriptive or header cell: locked

class CellKindTable {
 public:
  // Replaces the table with columns 1..cols and rows 1..rows, every cell
  // kCellOutside. Counts below 0 give an empty table.
  void Redim(int cols, int rows);

  int Cols() const { return cols_; }
  int Rows() const { return rows_; }

  // True when (col, row) lies inside the table.
  bool Contains(int col, int row) const;

  // The kind of cell (col, row); throws RunTimeError 9 outside the table.
  std::int16_t& operator()(int col, int row) { return kinds_[Slot(col, row)]; }
  std::int16_t operator()(int col, int row) const { return kinds_[Slot(col, row)]; }

  friend bool operator==(const CellKindTable&, const CellKindTable&) = default;

 private:
  std::size_t Slot(int col, int row) const;

  int cols_ = 0;
  int rows_ = 0;
  std::vector<std::int16_t> kinds_;  // row-major
};

}  // namespace qz

#endif  // QZ_GRID_CELL_KIND_TABLE_H_
