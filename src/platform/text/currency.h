// Currency: a signed 64-bit fixed-point number with four decimal places, the
// type of item numbers, findings types, course numbers and code lists
// (9999999999 does not fit 32 bits). Exact in decimal: 0.1 stays 0.1.
#ifndef QZ_PLATFORM_TEXT_CURRENCY_H_
#define QZ_PLATFORM_TEXT_CURRENCY_H_

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qz {

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  // A whole number.
  constexpr Currency(std::int64_t whole) : raw_(whole * kScale) {}  // NOLINT(google-explicit-constructor)

  // The value raw / 10000.
  static constexpr Currency FromRaw(std::int64_t raw) {
    Currency c;
    c.raw_ = raw;
    return c;
  }
  // Parses decimal text ("-12.5", " 9999999999 "); blanks around it are
  // skipped; more than four decimals round half away from zero. Returns
  // nullopt for text that is not a number or does not fit.
  static std::optional<Currency> Parse(std::string_view text);

  // The double `v` rounded to four decimals, half to even (as the runtime
  // stores a floating value into a currency). Returns nullopt for a value
  // outside the currency range or not finite.
  static std::optional<Currency> FromDouble(double v);

  constexpr std::int64_t raw() const { return raw_; }
  // The whole part, truncated toward zero.
  constexpr std::int64_t whole() const { return raw_ / kScale; }
  double ToDouble() const { return static_cast<double>(raw_) / kScale; }

  // The value as the runtime prints it: no trailing decimal zeros, no point
  // for a whole number, "-" for negatives ("9999999999", "-0.5").
  std::string ToString() const;

  constexpr auto operator<=>(const Currency&) const = default;
  constexpr Currency operator+(Currency o) const { return FromRaw(raw_ + o.raw_); }
  constexpr Currency operator-(Currency o) const { return FromRaw(raw_ - o.raw_); }
  constexpr Currency operator-() const { return FromRaw(-raw_); }

  // The product with a whole number. Throws RunTimeError 6 (overflow) when
  // it leaves the currency range.
  Currency operator*(std::int64_t n) const;
  // The quotient by a whole number, rounded to four decimals half to even.
  // Throws RunTimeError 11 when `n` is 0.
  Currency DividedBy(std::int64_t n) const;

 private:
  std::int64_t raw_ = 0;
};

}  // namespace qz

#endif  // QZ_PLATFORM_TEXT_CURRENCY_H_
