#include "loading/result_matrix.h"

#include "platform/runtime/run_time_error.h"

namespace qz {

void ResultMatrix::Create(int item_count, int history_count) {
  rows_ = item_count > 0 ? item_count : 0;
  cols_ = history_count >= 0 ? history_count + 1 : 0;
  cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), KekkaData{});
}

std::size_t ResultMatrix::Slot(int item, int col) const {
  if (item < 1 || item > rows_ || col < 0 || col >= cols_) throw RunTimeError(kErrSubscript);
  return static_cast<std::size_t>(item - 1) * static_cast<std::size_t>(cols_) +
         static_cast<std::size_t>(col);
}

}  // namespace qz
