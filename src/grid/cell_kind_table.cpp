#include "grid/cell_kind_table.h"

#include <algorithm>

#include "platform/runtime/run_time_error.h"

namespace qz {

void CellKindTable::Redim(int cols, int rows) {
  cols_ = std::max(cols, 0);
  rows_ = std::max(rows, 0);
  kinds_.assign(static_cast<std::size_t>(cols_) * static_cast<std::size_t>(rows_), kCellOutside);
}

bool CellKindTable::Contains(int col, int row) const {
  return col >= 1 && col <= cols_ && row >= 1 && row <= rows_;
}

std::size_t CellKindTable::Slot(int col, int row) const {
  if (!Contains(col, row)) throw RunTimeError(kErrSubscript);
  return static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
         static_cast<std::size_t>(col - 1);
}

}  // namespace qz
