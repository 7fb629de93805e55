#include "judgement/default_findings_set.h"

namespace qz {

void Sub_AutoSetDefaultFindings() {}

}  // namespace qz
