// The local date and time, with an override for tests.
//
// Every routine that stamps a date or time asks Now() or Today(); a test
// sets a fixed time (or a source of its own) with SetClockForTest and clears
// it with SetClockForTest(nullptr). Single-threaded use, like the program.
#ifndef QZ_PLATFORM_CLOCK_CLOCK_H_
#define QZ_PLATFORM_CLOCK_CLOCK_H_

#include <cstdint>
#include <functional>

namespace qz {

// A local date and time to the millisecond.
struct LocalDateTime {
  int year = 1900, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;

  // The date as the number yyyymmdd and the time as hhnnss.
  std::int32_t Ymd() const { return year * 10000 + month * 100 + day; }
  std::int32_t Hms() const { return hour * 10000 + minute * 100 + second; }
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The current local date and time (or the test's).
LocalDateTime Now();

// Today's date as yyyymmdd.
std::int32_t Today();

// Replaces the clock with `source` (nullptr: the machine's clock again).
void SetClockForTest(std::function<LocalDateTime()> source);

// Fixes the clock at `at`.
void FixClockForTest(const LocalDateTime& at);

}  // namespace qz

#endif  // QZ_PLATFORM_CLOCK_CLOCK_H_
