// The start and end entries of the suite's run-time library: JMPCINT2 is
// called once before the first call of any other suite library, JMPCINT3
// once after all data files are closed. Neither takes an argument or gives a
// result.
//
// The suite's run-time needs no set-up on this machine: each entry records
// its call in the call log (call_log.h) and does nothing else.
#ifndef QZ_SUITE_RUNTIME_ENTRIES_H_
#define QZ_SUITE_RUNTIME_ENTRIES_H_

namespace qz::suite {

void JMPCINT2();
void JMPCINT3();

}  // namespace qz::suite

#endif  // QZ_SUITE_RUNTIME_ENTRIES_H_
