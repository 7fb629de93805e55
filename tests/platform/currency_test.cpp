#include "platform/text/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "kit/error_of.h"
#include "platform/runtime/run_time_error.h"

namespace qz {
namespace {

using testkit::ErrorOf;

TEST(Currency, FromDoubleRoundsHalfToEven) {
  struct Case {
    double v;
    std::int64_t raw;
  };
  const Case cases[] = {
      {0.1, 1000}, {3.5, 35000}, {-5, -50000}, {0.00005, 0}, {0.00015, 2}, {-0.00025, -2}, {9999999999.0, 99999999990000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    ASSERT_TRUE(Currency::FromDouble(c.v).has_value());
    EXPECT_EQ(Currency::FromDouble(c.v)->raw(), c.raw);
  }
  EXPECT_FALSE(Currency::FromDouble(1e16).has_value());
  EXPECT_FALSE(Currency::FromDouble(-1e16).has_value());
  EXPECT_FALSE(Currency::FromDouble(std::nan("")).has_value());
}

TEST(Currency, ParseAndPrintDecimalText) {
  struct Case {
    const char* text;
    std::int64_t raw;
    const char* printed;
  };
  const Case cases[] = {
      {" 9999999999 ", 99999999990000, "9999999999"},  // an item number beyond 32 bits
      {"-12.5", -125000, "-12.5"},
      {"+0.1", 1000, "0.1"},
      {"7.", 70000, "7"},
      {".25", 2500, "0.25"},
      {"1.00005", 10001, "1.0001"},                     // a fifth decimal rounds half away from zero
      {"-1.00005", -10001, "-1.0001"},
      {"1.000049", 10000, "1"},
      {"922337203685477.5807", INT64_MAX, "922337203685477.5807"},
      {"-922337203685477.5808", INT64_MIN, "-922337203685477.5808"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<Currency> v = Currency::Parse(c.text);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->raw(), c.raw);
    EXPECT_EQ(v->ToString(), c.printed);
  }
  for (const char* bad : {"", " ", "-", ".", "1,000", "12a", "1.2.3", "1e3", "922337203685477.5808"}) {
    EXPECT_FALSE(Currency::Parse(bad).has_value()) << bad;
  }
}

TEST(Currency, MultiplyAndDivideByWholeNumbers) {
  EXPECT_EQ(Currency::FromRaw(12345) * 3, Currency::FromRaw(37035));
  EXPECT_EQ(Currency(9999999999) * -1, Currency(-9999999999));
  struct Case {
    std::int64_t raw;
    std::int64_t by;
    std::int64_t quotient;
  };
  const Case cases[] = {
      {10000, 3, 3333},    // 1 / 3 = 0.3333
      {20000, 3, 6667},    // 2 / 3 = 0.6667
      {5, 2, 2},           // 0.00025 -> 0.0002 (half to even)
      {15, 2, 8},          // 0.00075 -> 0.0008
      {-15, 2, -8},
      {15, -2, -8},
      {99999999990000, 1000, 99999999990},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.raw) + " / " + std::to_string(c.by));
    EXPECT_EQ(Currency::FromRaw(c.raw).DividedBy(c.by).raw(), c.quotient);
  }
  EXPECT_EQ(ErrorOf([] { Currency(922337203685477) * 10; }), kErrOverflow);
  EXPECT_EQ(ErrorOf([] { Currency(1).DividedBy(0); }), kErrDivisionByZero);
}

}  // namespace
}  // namespace qz
