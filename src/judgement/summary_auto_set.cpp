#include "judgement/summary_auto_set.h"

namespace qz {

void Sub_AutoSetSummaryFindings(std::int16_t /*item*/) {}

}  // namespace qz
