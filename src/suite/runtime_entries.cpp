#include "suite/runtime_entries.h"

#include "suite/call_log.h"

namespace qz::suite {

void JMPCINT2() { RecordCall("JMPCINT2"); }

void JMPCINT3() { RecordCall("JMPCINT3"); }

}  // namespace qz::suite
