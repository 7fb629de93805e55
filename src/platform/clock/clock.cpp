#include "platform/clock/clock.h"

#include <chrono>
#include <ctime>

namespace qz {
namespace {

std::function<LocalDateTime()>& Source() {
  static std::function<LocalDateTime()> source;
  return source;
}

LocalDateTime MachineNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  ::localtime_r(&t, &tm);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  LocalDateTime d;
  d.year = tm.tm_year + 1900;
  d.month = tm.tm_mon + 1;
  d.day = tm.tm_mday;
  d.hour = tm.tm_hour;
  d.minute = tm.tm_min;
  d.second = tm.tm_sec;
  d.millisecond = static_cast<int>(ms < 0 ? ms + 1000 : ms);
  return d;
}

}  // namespace

LocalDateTime Now() { return Source() ? Source()() : MachineNow(); }

std::int32_t Today() { return Now().Ymd(); }

void SetClockForTest(std::function<LocalDateTime()> source) { Source() = std::move(source); }

void FixClockForTest(const LocalDateTime& at) {
  Source() = [at] { return at; };
}

}  // namespace qz
