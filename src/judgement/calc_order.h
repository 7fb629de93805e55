// The order in which calculated items follow one another: a calculated item
// whose operand is itself calculated comes after that operand, whatever the
// order of the item table (frmResultIn.CalcItems). Definitions that form a
// cycle (A from B, B from A) have no such order among themselves: they come
// together in table order, after the items they take from outside the cycle
// and before every item that takes from one of them, so one walk over the
// order visits every item once, never goes round, and leaves no item behind
// an operand that changes after it.
//
// Reads frmResultIn.CalcItems and the item table; the result screen's
// thread only.
#ifndef QZ_JUDGEMENT_CALC_ORDER_H_
#define QZ_JUDGEMENT_CALC_ORDER_H_

#include <cstdint>
#include <vector>

namespace qz {

// The entries (1-based positions in frmResultIn.CalcItems) in the order
// above.
std::vector<int> CalcOrder();

// The entries whose item is its own operand through a chain of calculated
// items, in table order.
std::vector<int> CalcCycleEntries();

// Warns, once, when calculated items are defined in a cycle:
// "計算項目の定義が循環しています。" with a line "項目名 : " and the items'
// names joined by "、". Such items are still computed from their operands
// when an operand outside the cycle changes. Called by the load after the
// calculated items are built; the load goes on.
void Sub_ReportCalcCycles();

}  // namespace qz

#endif  // QZ_JUDGEMENT_CALC_ORDER_H_
