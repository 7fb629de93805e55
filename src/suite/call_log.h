// The calls the program made into the suite's libraries, in order, as the
// stand-ins of those libraries record them ("JMPCINT2", "QZPCLR <area>",
// ...). Tests read the log to see which library steps ran and in what order.
// The log only grows while the program runs (a handful of calls); tests clear
// it. Single-threaded use, like the program.
#ifndef QZ_SUITE_CALL_LOG_H_
#define QZ_SUITE_CALL_LOG_H_

#include <string>
#include <vector>

namespace qz::suite {

// Appends one call.
void RecordCall(std::string call);

// Every call recorded since the last clear, oldest first.
const std::vector<std::string>& Calls();

void ClearCalls();

}  // namespace qz::suite

#endif  // QZ_SUITE_CALL_LOG_H_
