// Sorting rows of the grid model.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/grid/spread.h"
#include "platform/grid/sort_number.h"
#include "platform/grid/spread_cells.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"

namespace qz::grid {

namespace {

// The value of one sort key in one row.
struct KeyValue {
  bool numeric = false;
  bool is_number = false;
  double number = 0;
  std::string bytes;  // CP932
};

// <0, 0, >0 as a sorts before, with or after b in ascending order.
int Compare(const KeyValue& a, const KeyValue& b) {
  if (a.numeric) {
    if (a.is_number != b.is_number) return a.is_number ? 1 : -1;
    if (!a.is_number || a.number == b.number) return 0;
    return a.number < b.number ? -1 : 1;
  }
  return a.bytes.compare(b.bytes);
}

}  // namespace

void Spread::Sort(const Range& block, std::span<const SortKey> keys) {
  if (keys.size() > 3) throw RunTimeError(kErrInvalidCall);
  for (const SortKey& key : keys) {
    if (key.col < 0 || key.col > max_cols_) throw RunTimeError(kErrInvalidCall);
  }
  const bool all_cols = block.col1 < 0 || block.col2 < 0;
  const bool all_rows = block.row1 < 0 || block.row2 < 0;
  const int col_lo = all_cols ? 1 : std::min(block.col1, block.col2);
  const int col_hi = all_cols ? max_cols_ : std::min(std::max(block.col1, block.col2), max_cols_);
  const int row_lo = all_rows ? 1 : std::min(block.row1, block.row2);
  const int row_hi = all_rows ? max_rows_ : std::min(std::max(block.row1, block.row2), max_rows_);
  if (row_lo > row_hi || col_lo > col_hi || keys.empty()) return;
  CommitEdit();

  const int n = row_hi - row_lo + 1;
  // A key compares numbers when its column's first row of the block is of a
  // number type: one way of comparing for the whole key keeps the order
  // total even where single cells have another type.
  std::vector<bool> numeric(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const CellType type = FormatAt(keys[k].col, row_lo).type;
    numeric[k] = type == CellType::kFloat || type == CellType::kInteger;
  }
  std::vector<std::vector<KeyValue>> values(n, std::vector<KeyValue>(keys.size()));
  for (int i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      KeyValue& v = values[i][k];
      const std::string text = TextAt(keys[k].col, row_lo + i);
      v.numeric = numeric[k];
      if (v.numeric) {
        v.is_number = ParseSortNumber(text, v.number);
      } else {
        v.bytes = text::ToCp932(text);
      }
    }
  }
  std::vector<int> order(n);
  for (int i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      int c = Compare(values[a][k], values[b][k]);
      if (!keys[k].ascending) c = -c;
      if (c != 0) return c < 0;
    }
    return false;
  });

  Touch(Range::Block(col_lo, row_lo, col_hi, row_hi));
  std::vector<Cell> moved(n);
  for (int c = col_lo; c <= col_hi; ++c) {
    for (int i = 0; i < n; ++i) moved[i] = std::move(CellRef(c, row_lo + order[i]));
    for (int i = 0; i < n; ++i) CellRef(c, row_lo + i) = std::move(moved[i]);
  }
}

}  // namespace qz::grid
