#include "tools/debug_window.h"

namespace qz {

void Sub_ShowDebugWindow() {}

}  // namespace qz
