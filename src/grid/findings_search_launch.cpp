#include "grid/findings_search_launch.h"

namespace qz {

void cmdSearch_Click() {}

}  // namespace qz
