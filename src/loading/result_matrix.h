// ResultMatrix: the results of the loaded consultation, one KekkaData per
// item-table index (1..Rows()) and consultation column (0..Columns() - 1;
// column 0 is the current consultation, column k the k-th earlier one of
// the history).
//
// Created empty (no rows) until the result load calls Create. Access outside
// the bounds throws RunTimeError 9, as the program's arrays do. Copyable.
#ifndef QZ_LOADING_RESULT_MATRIX_H_
#define QZ_LOADING_RESULT_MATRIX_H_

#include <cstddef>
#include <vector>

#include "loading/consult_records.h"

namespace qz {

class ResultMatrix {
 public:
  // Replaces the matrix with `item_count` rows and `history_count` + 1
  // columns of default records. Negative counts give an empty matrix.
  void Create(int item_count, int history_count);

  int Rows() const { return rows_; }
  int Columns() const { return cols_; }

  // The record of item `item` (1..Rows()) in column `col` (0..Columns()-1).
  KekkaData& operator()(int item, int col) { return cells_[Slot(item, col)]; }
  const KekkaData& operator()(int item, int col) const { return cells_[Slot(item, col)]; }

  friend bool operator==(const ResultMatrix&, const ResultMatrix&) = default;

 private:
  std::size_t Slot(int item, int col) const;

  int rows_ = 0;
  int cols_ = 0;
  std::vector<KekkaData> cells_;  // row-major
};

}  // namespace qz

#endif  // QZ_LOADING_RESULT_MATRIX_H_
