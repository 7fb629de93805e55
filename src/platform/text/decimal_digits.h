// A number as decimal digits: the exact decimal form of an integer or a
// currency value, or a floating value's significant digits (15 for a
// double, 7 for a single: the precision the runtime prints). Used by the runtime's text-of-number functions (vb.h);
// callers elsewhere use those instead.
#ifndef QZ_PLATFORM_TEXT_DECIMAL_DIGITS_H_
#define QZ_PLATFORM_TEXT_DECIMAL_DIGITS_H_

#include <cstdint>
#include <string>

#include "platform/text/currency.h"

namespace qz::text {

// The value (negative ? -1 : 1) * digits * 10^exponent. `digits` has no
// leading or trailing zeros; zero has empty digits.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;

  static DecimalDigits FromDouble(double v, int significant = 15);
  static DecimalDigits FromInteger(std::int64_t v);
  static DecimalDigits FromCurrency(Currency v);

  bool IsZero() const { return digits.empty(); }
  // Rounds to `decimals` places, half away from zero, or half to even.
  void RoundTo(int decimals, bool half_to_even = false);
  // The digits before the point without leading zeros ("" for none), and
  // the digits after it, exactly `decimals` long (zero-padded). Call RoundTo
  // first so nothing is lost.
  std::string IntegerPart() const;
  std::string FractionPart(int decimals) const;
  // Plain text: "-" when negative, the integer part ("0" when empty), and
  // "." with the significant decimals when there are any.
  std::string PlainText() const;
};

}  // namespace qz::text

#endif  // QZ_PLATFORM_TEXT_DECIMAL_DIGITS_H_
