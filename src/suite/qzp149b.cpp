#include "suite/qzp149b.h"

#include "suite/call_log.h"

namespace qz::suite {
namespace {

std::function<void(std::string_view)>& Hook() {
  static std::function<void(std::string_view)> hook;
  return hook;
}

}  // namespace

void QZP149B(std::string& area) {
  area.resize(kQzp149bAreaLength, ' ');
  RecordCall("QZP149B " + area);
  if (Hook()) Hook()(area);
}

void SetQzp149bWorkForTest(std::function<void(std::string_view)> work) { Hook() = std::move(work); }

}  // namespace qz::suite
