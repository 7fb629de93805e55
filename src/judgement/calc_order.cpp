#include "judgement/calc_order.h"

#include <string>

#include "loading/load_messages.h"
#include "loading/load_state.h"

namespace qz {
namespace {

constexpr int kOperands = 3;

// entry_of[item] = the entry of calculated item `item`, 0 for other items.
std::vector<int> EntryOfItem() {
  std::vector<int> entry_of(static_cast<std::size_t>(frmResultIn.ItemCount()) + 1, 0);
  for (int n = 1; n <= frmResultIn.CalcCount(); ++n) {
    const std::int16_t item = frmResultIn.CalcItems[n].Item;
    if (item > 0 && item < static_cast<int>(entry_of.size())) entry_of[static_cast<std::size_t>(item)] = n;
  }
  return entry_of;
}

// The entries that entry `n` takes an operand from.
std::vector<int> OperandEntries(int n, const std::vector<int>& entry_of) {
  std::vector<int> out;
  for (int k = 1; k <= kOperands; ++k) {
    const std::int16_t op = frmResultIn.CalcItems[n].Opnd[k];
    if (op > 0 && op < static_cast<int>(entry_of.size()) && entry_of[static_cast<std::size_t>(op)] != 0) {
      out.push_back(entry_of[static_cast<std::size_t>(op)]);
    }
  }
  return out;
}

// Whether entry `target` is reached from entry `from` along operands.
bool Reaches(int from, int target, const std::vector<int>& entry_of, std::vector<bool>& seen) {
  for (int op : OperandEntries(from, entry_of)) {
    if (op == target) return true;
    if (seen[static_cast<std::size_t>(op)]) continue;
    seen[static_cast<std::size_t>(op)] = true;
    if (Reaches(op, target, entry_of, seen)) return true;
  }
  return false;
}

// reach[n][m]: entry m is reached from entry n along operands.
std::vector<std::vector<bool>> ReachTable(int count, const std::vector<int>& entry_of) {
  std::vector<std::vector<bool>> reach(static_cast<std::size_t>(count) + 1);
  for (int n = 1; n <= count; ++n) {
    std::vector<bool>& row = reach[static_cast<std::size_t>(n)];
    row.assign(static_cast<std::size_t>(count) + 1, false);
    for (int m = 1; m <= count; ++m) {
      std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
      row[static_cast<std::size_t>(m)] = Reaches(n, m, entry_of, seen);
    }
  }
  return reach;
}

}  // namespace

std::vector<int> CalcOrder() {
  const int count = frmResultIn.CalcCount();
  const std::vector<int> entry_of = EntryOfItem();
  const std::vector<std::vector<bool>> reach = ReachTable(count, entry_of);
  // Entries n and m are in one cycle when each reaches the other.
  auto one_cycle = [&](int n, int m) {
    return reach[static_cast<std::size_t>(n)][static_cast<std::size_t>(m)] &&
           reach[static_cast<std::size_t>(m)][static_cast<std::size_t>(n)];
  };
  std::vector<bool> placed(static_cast<std::size_t>(count) + 1, false);
  std::vector<int> order;
  // Repeatedly take, in table order, the entries whose calculated operands
  // are all placed or lie in a cycle with them: a cycle's items come
  // together in table order, after what they take from outside it and
  // before what takes from them.
  for (bool progress = true; progress;) {
    progress = false;
    for (int n = 1; n <= count; ++n) {
      if (placed[static_cast<std::size_t>(n)]) continue;
      bool ready = true;
      for (int op : OperandEntries(n, entry_of)) {
        ready = ready && (placed[static_cast<std::size_t>(op)] || one_cycle(n, op));
      }
      if (!ready) continue;
      placed[static_cast<std::size_t>(n)] = true;
      order.push_back(n);
      progress = true;
    }
  }
  for (int n = 1; n <= count; ++n) {
    if (!placed[static_cast<std::size_t>(n)]) order.push_back(n);
  }
  return order;
}

std::vector<int> CalcCycleEntries() {
  const int count = frmResultIn.CalcCount();
  const std::vector<int> entry_of = EntryOfItem();
  std::vector<int> cycle;
  for (int n = 1; n <= count; ++n) {
    std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
    if (Reaches(n, n, entry_of, seen)) cycle.push_back(n);
  }
  return cycle;
}

void Sub_ReportCalcCycles() {
  const std::vector<int> cycle = CalcCycleEntries();
  if (cycle.empty()) return;
  std::string names;
  for (int n : cycle) {
    if (!names.empty()) names += "、";
    names += frmResultIn.ItemTable[frmResultIn.CalcItems[n].Item].KomName;
  }
  ShowLoadWarning("計算項目の定義が循環しています。" + std::string(kCrLf) + "項目名 : " + names);
}

}  // namespace qz
