#include "suite/call_log.h"

#include <utility>

namespace qz::suite {
namespace {

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

}  // namespace

void RecordCall(std::string call) { Log().push_back(std::move(call)); }

const std::vector<std::string>& Calls() { return Log(); }

void ClearCalls() { Log().clear(); }

}  // namespace qz::suite
