#include "kit/error_of.h"

#include "platform/runtime/run_time_error.h"

namespace qz::testkit {

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunTimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace qz::testkit
