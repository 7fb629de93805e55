// OneBasedList and OneBasedArray: the tables of the result screen as the
// program indexes them, from 1. Entry 0 does not exist; an index outside
// 1..Count() throws RunTimeError 9 (subscript out of range), as an array
// access of the program's runtime does.
//
// OneBasedList grows by Append and is emptied by Clear; OneBasedArray has a
// fixed number of entries. Both are plain values (copyable).
#ifndef QZ_LOADING_ONE_BASED_H_
#define QZ_LOADING_ONE_BASED_H_

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/runtime/run_time_error.h"

namespace qz {

template <typename T>
class OneBasedList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // Entry `i` (1..Count()).
  T& operator[](int i) { return items_[Slot(i)]; }
  const T& operator[](int i) const { return items_[Slot(i)]; }

  // Adds `value` as entry Count() + 1 and returns it.
  T& Append(T value) {
    items_.push_back(std::move(value));
    return items_.back();
  }
  void Clear() { items_.clear(); }

  friend bool operator==(const OneBasedList&, const OneBasedList&) = default;

  // The entries in order, for walks and sorts (entry 1 first).
  std::vector<T>& Entries() { return items_; }
  const std::vector<T>& Entries() const { return items_; }
  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::size_t Slot(int i) const {
    if (i < 1 || i > Count()) throw RunTimeError(kErrSubscript);
    return static_cast<std::size_t>(i - 1);
  }
  std::vector<T> items_;
};

template <typename T, int N>
class OneBasedArray {
 public:
  static constexpr int Count() { return N; }

  // Entry `i` (1..N).
  T& operator[](int i) { return items_[Slot(i)]; }
  const T& operator[](int i) const { return items_[Slot(i)]; }

  friend bool operator==(const OneBasedArray&, const OneBasedArray&) = default;

  // Sets every entry to `value`.
  void Fill(const T& value) { items_.fill(value); }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  static std::size_t Slot(int i) {
    if (i < 1 || i > N) throw RunTimeError(kErrSubscript);
    return static_cast<std::size_t>(i - 1);
  }
  std::array<T, N> items_{};
};

}  // namespace qz

#endif  // QZ_LOADING_ONE_BASED_H_
