#include "platform/runtime/app.h"

namespace qz {

AppInfo& App() {
  static AppInfo info;
  return info;
}

}  // namespace qz
