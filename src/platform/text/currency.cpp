#include "platform/text/currency.h"

#include <cmath>
#include <cstdlib>

#include "platform/runtime/run_time_error.h"
#include "platform/text/decimal_digits.h"

namespace qz {

std::optional<Currency> Currency::Parse(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  bool neg = false;
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
    neg = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty()) return std::nullopt;
  __int128 whole = 0;
  std::int64_t frac = 0;
  int fdigits = 0;
  bool round_up = false;
  bool any = false, point = false;
  for (char ch : t) {
    if (ch == '.' && !point) {
      point = true;
      continue;
    }
    if (ch < '0' || ch > '9') return std::nullopt;
    any = true;
    if (!point) {
      whole = whole * 10 + (ch - '0');
      if (whole > static_cast<__int128>(INT64_MAX / kScale) + 1) return std::nullopt;
    } else if (fdigits < 4) {
      frac = frac * 10 + (ch - '0');
      ++fdigits;
    } else if (fdigits == 4) {
      round_up = ch >= '5';
      ++fdigits;
    }
  }
  if (!any) return std::nullopt;
  for (int i = fdigits < 4 ? fdigits : 4; i < 4; ++i) frac *= 10;
  __int128 raw = whole * kScale + frac + (round_up ? 1 : 0);
  if (neg) raw = -raw;
  if (raw > INT64_MAX || raw < INT64_MIN) return std::nullopt;
  return FromRaw(static_cast<std::int64_t>(raw));
}

std::string Currency::ToString() const {
  unsigned long long mag = raw_ < 0 ? 0ULL - static_cast<unsigned long long>(raw_)
                                    : static_cast<unsigned long long>(raw_);
  std::string s = std::to_string(mag / kScale);
  unsigned long long f = mag % kScale;
  if (f != 0) {
    std::string fs = std::to_string(f);
    fs.insert(0, 4 - fs.size(), '0');
    while (!fs.empty() && fs.back() == '0') fs.pop_back();
    s += "." + fs;
  }
  if (raw_ < 0) return "-" + s;
  return s;
}

std::optional<Currency> Currency::FromDouble(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 1e15) return std::nullopt;
  // Rounded on the double's 15 significant digits, so 0.00015 is the tie it
  // reads as rather than the binary value just below it.
  text::DecimalDigits d = text::DecimalDigits::FromDouble(v);
  d.RoundTo(4, true);
  std::string digits = d.IntegerPart() + d.FractionPart(4);
  __int128 raw = 0;
  for (char c : digits) raw = raw * 10 + (c - '0');
  if (d.negative) raw = -raw;
  if (raw > INT64_MAX || raw < INT64_MIN) return std::nullopt;
  return FromRaw(static_cast<std::int64_t>(raw));
}

Currency Currency::operator*(std::int64_t n) const {
  std::int64_t r = 0;
  if (__builtin_mul_overflow(raw_, n, &r)) throw RunTimeError(kErrOverflow);
  return FromRaw(r);
}

Currency Currency::DividedBy(std::int64_t n) const {
  if (n == 0) throw RunTimeError(kErrDivisionByZero);
  __int128 num = raw_;
  __int128 den = n;
  if (den < 0) num = -num, den = -den;
  __int128 q = num / den;
  __int128 rem = num % den;
  if (rem < 0) rem = -rem;
  // Half to even on the remainder.
  if (rem * 2 > den || (rem * 2 == den && (q % 2 != 0))) q += num < 0 ? -1 : 1;
  if (q > INT64_MAX || q < INT64_MIN) throw RunTimeError(kErrOverflow);
  return FromRaw(static_cast<std::int64_t>(q));
}

}  // namespace qz
