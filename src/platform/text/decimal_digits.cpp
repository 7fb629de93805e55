#include "platform/text/decimal_digits.h"

#include <charconv>
#include <cstdlib>

namespace qz::text {
namespace {

void Normalise(DecimalDigits& d) {
  std::size_t lead = d.digits.find_first_not_of('0');
  if (lead == std::string::npos) {
    d.digits.clear();
    d.exponent = 0;
    d.negative = false;
    return;
  }
  d.digits.erase(0, lead);
  std::size_t last = d.digits.find_last_not_of('0');
  d.exponent += static_cast<int>(d.digits.size() - 1 - last);
  d.digits.erase(last + 1);
}

}  // namespace

DecimalDigits DecimalDigits::FromDouble(double v, int significant) {
  DecimalDigits d;
  if (v == 0 || v != v) return d;
  char buf[64];
  // d.ddde±x with `significant` digits.
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
  std::string s(buf, r.ptr);
  if (s[0] == '-') {
    d.negative = true;
    s.erase(0, 1);
  }
  std::size_t e = s.find('e');
  d.digits = s.substr(0, 1) + (e > 1 ? s.substr(2, e - 2) : std::string());
  d.exponent = std::atoi(s.c_str() + e + 1) - (significant - 1);
  Normalise(d);
  return d;
}

DecimalDigits DecimalDigits::FromInteger(std::int64_t v) {
  DecimalDigits d;
  unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                 : static_cast<unsigned long long>(v);
  d.negative = v < 0;
  d.digits = std::to_string(mag);
  Normalise(d);
  return d;
}

DecimalDigits DecimalDigits::FromCurrency(Currency v) {
  DecimalDigits d = FromInteger(v.raw());
  if (!d.IsZero()) d.exponent -= 4;
  return d;
}

void DecimalDigits::RoundTo(int decimals, bool half_to_even) {
  if (IsZero() || exponent >= -decimals) return;
  int drop = -decimals - exponent;
  int keep = static_cast<int>(digits.size()) - drop;
  if (keep < 0) {
    *this = DecimalDigits();
    return;
  }
  char first = digits[static_cast<std::size_t>(keep)];
  std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
  bool up = first >= '5';
  // `digits` has no trailing zeros, so a tie is a lone 5 at the end.
  if (half_to_even && first == '5' && static_cast<std::size_t>(keep) + 1 == digits.size()) {
    up = !kept.empty() && (kept.back() - '0') % 2 == 1;
  }
  if (up) {
    int i = keep - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[static_cast<std::size_t>(i)];
    }
  }
  digits = kept;
  exponent = -decimals;
  Normalise(*this);
}

std::string DecimalDigits::IntegerPart() const {
  if (IsZero()) return {};
  if (exponent >= 0) return digits + std::string(static_cast<std::size_t>(exponent), '0');
  int n = -exponent;
  if (static_cast<int>(digits.size()) <= n) return {};
  return digits.substr(0, digits.size() - static_cast<std::size_t>(n));
}

std::string DecimalDigits::FractionPart(int decimals) const {
  std::string f;
  if (!IsZero() && exponent < 0) {
    std::size_t n = static_cast<std::size_t>(-exponent);
    if (digits.size() >= n) {
      f = digits.substr(digits.size() - n);
    } else {
      f = std::string(n - digits.size(), '0') + digits;
    }
  }
  f.resize(static_cast<std::size_t>(decimals < 0 ? 0 : decimals), '0');
  return f;
}

std::string DecimalDigits::PlainText() const {
  std::string ip = IntegerPart();
  std::string out = negative ? "-" : "";
  out += ip.empty() ? "0" : ip;
  if (exponent < 0) out += "." + FractionPart(-exponent);
  return out;
}

}  // namespace qz::text
