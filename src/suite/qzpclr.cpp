#include "suite/qzpclr.h"

#include "suite/call_log.h"

namespace qz::suite {
namespace {

constexpr std::size_t kAreaLength = 10;
constexpr std::size_t kNameLength = 8;

std::function<std::string(std::string_view)>& Hook() {
  static std::function<std::string(std::string_view)> hook;
  return hook;
}

}  // namespace

void QZPCLR(std::string& area) {
  area.resize(kAreaLength, ' ');
  RecordCall("QZPCLR " + area);
  std::string status = Hook() ? Hook()(std::string_view(area).substr(0, kNameLength)) : "00";
  status.resize(2, ' ');
  area.replace(kNameLength, 2, status);
}

void SetQzpclrStatusForTest(std::function<std::string(std::string_view)> status) {
  Hook() = std::move(status);
}

}  // namespace qz::suite
