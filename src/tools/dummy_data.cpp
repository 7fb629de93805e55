#include "tools/dummy_data.h"

namespace qz {

void Sub_ShowDummyDataDialog() {}

}  // namespace qz
