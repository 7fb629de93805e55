// Conversions and text functions of vb.h; Format lives in vb_format.cpp.
#include "platform/text/vb.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/decimal_digits.h"
#include "platform/text/utf8.h"

namespace qz::vb {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads the digits of a "&H" / "&O" number from the start of `s` (after the
// prefix). The value is typed as the runtime types such a constant: up to
// 0xFFFF a 16-bit number, up to 0xFFFFFFFF a 32-bit one (a trailing "&"
// forces 32 bits). `used` gets the characters consumed. nullopt when the
// value exceeds 32 bits.
std::optional<double> RadixValue(std::string_view s, int radix, std::size_t& used) {
  unsigned long long v = 0;
  std::size_t i = 0;
  for (; i < s.size(); ++i) {
    int d = HexDigit(s[i]);
    if (d < 0 || d >= radix) break;
    v = v * static_cast<unsigned>(radix) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFULL) return std::nullopt;
  }
  bool force_long = i < s.size() && s[i] == '&';
  used = i + (force_long ? 1 : 0);
  if (v <= 0xFFFF && !force_long) return static_cast<double>(static_cast<std::int16_t>(v));
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
}

// Copies the optional sign, the digits and the one decimal point at the start
// of `t` into `clean` (without a "+"); returns the index after them and sets
// `any` when a digit was seen.
std::size_t ScanMantissa(std::string_view t, std::string& clean, bool& any) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
    if (t[i] == '-') clean += '-';
    ++i;
  }
  any = false;
  bool point = false;
  for (; i < t.size(); ++i) {
    char c = t[i];
    if (IsDigit(c)) {
      any = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    clean += c;
  }
  return i;
}

// The number that a complete numeric text states, for the conversions.
// Returns nullopt for text that is not numeric; sets `overflow` when it is
// numeric but does not fit a double.
std::optional<double> ParseNumeric(std::string_view input, bool& overflow) {
  overflow = false;
  std::string s = text::ToNarrow(input);
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  std::string_view t(s.data() + b, e - b);
  if (t.empty()) return std::nullopt;
  if (t[0] == '&') {
    int radix = 8;
    std::size_t skip = 1;
    if (t.size() > 1 && (t[1] == 'H' || t[1] == 'h')) radix = 16, skip = 2;
    else if (t.size() > 1 && (t[1] == 'O' || t[1] == 'o')) skip = 2;
    std::string_view digits = t.substr(skip);
    std::size_t used = 0;
    if (digits.empty() || HexDigit(digits[0]) < 0 || HexDigit(digits[0]) >= radix) return std::nullopt;
    std::optional<double> v = RadixValue(digits, radix, used);
    if (!v) {
      overflow = true;
      return std::nullopt;
    }
    if (used != digits.size()) return std::nullopt;
    return v;
  }
  std::string clean;
  bool any = false;
  std::size_t i = ScanMantissa(t, clean, any);
  if (!any) return std::nullopt;
  if (i < t.size()) {
    char c = t[i];
    if (c != 'E' && c != 'e' && c != 'D' && c != 'd') return std::nullopt;
    clean += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean += t[i++];
    bool exp_digits = false;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
      clean += t[i];
      exp_digits = true;
    }
    if (!exp_digits || i != t.size()) return std::nullopt;
  }
  double v = 0;
  auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small a magnitude reads as 0; too large overflows.
    std::size_t ep = clean.find('e');
    if (ep != std::string::npos && clean.find('-', ep) != std::string::npos) return 0.0;
    overflow = true;
    return std::nullopt;
  }
  return v;
}

double ToNumberOrThrow(std::string_view text) {
  bool overflow = false;
  std::optional<double> v = ParseNumeric(text, overflow);
  if (overflow) throw RunTimeError(kErrOverflow);
  if (!v) throw RunTimeError(kErrTypeMismatch);
  return *v;
}

template <typename Int>
Int RoundToInteger(double v) {
  if (!std::isfinite(v)) throw RunTimeError(kErrOverflow);
  double r = std::nearbyint(v);  // half to even in the default rounding mode
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw RunTimeError(kErrOverflow);
  }
  return static_cast<Int>(r);
}

template <typename Int>
Int RoundCurrency(Currency v) {
  Currency whole = v.DividedBy(Currency::kScale);  // half to even
  std::int64_t w = whole.raw();
  if (w < std::numeric_limits<Int>::min() || w > std::numeric_limits<Int>::max()) {
    throw RunTimeError(kErrOverflow);
  }
  return static_cast<Int>(w);
}

}  // namespace

double Val(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  }
  if (!s.empty() && s[0] == '&') {
    int radix = 0;
    std::size_t skip = 0;
    if (s.size() > 1 && (s[1] == 'H' || s[1] == 'h')) radix = 16, skip = 2;
    else if (s.size() > 1 && (s[1] == 'O' || s[1] == 'o')) radix = 8, skip = 2;
    else if (s.size() > 1 && s[1] >= '0' && s[1] <= '7') radix = 8, skip = 1;
    if (radix == 0) return 0;
    std::size_t used = 0;
    std::optional<double> v = RadixValue(std::string_view(s).substr(skip), radix, used);
    if (!v) throw RunTimeError(kErrOverflow);
    return *v;
  }
  std::string clean;
  bool any = false;
  std::size_t i = ScanMantissa(s, clean, any);
  if (!any) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
    bool exp_digits = false;
    for (; j < s.size() && IsDigit(s[j]); ++j) {
      exp += s[j];
      exp_digits = true;
    }
    if (exp_digits) clean += exp;
  }
  double v = 0;
  auto r = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    std::size_t ep = clean.find('e');
    if (ep != std::string::npos && clean.find('-', ep) != std::string::npos) return 0.0;
    throw RunTimeError(kErrOverflow);
  }
  return v;
}

std::int32_t HexVal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  unsigned long long v = 0;
  for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
    v = v * 16 + static_cast<unsigned>(HexDigit(text[i]));
    if (v > 0xFFFFFFFFULL) throw RunTimeError(kErrOverflow);
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

bool IsNumeric(std::string_view text) {
  bool overflow = false;
  return ParseNumeric(text, overflow).has_value();
}

double CDbl(std::string_view text) { return ToNumberOrThrow(text); }

std::int16_t CInt(double v) { return RoundToInteger<std::int16_t>(v); }
std::int16_t CInt(std::string_view text) { return CInt(ToNumberOrThrow(text)); }
std::int16_t CInt(Currency v) { return RoundCurrency<std::int16_t>(v); }
std::int32_t CLng(double v) { return RoundToInteger<std::int32_t>(v); }
std::int32_t CLng(std::string_view text) { return CLng(ToNumberOrThrow(text)); }
std::int32_t CLng(Currency v) { return RoundCurrency<std::int32_t>(v); }

Currency CCur(double v) {
  std::optional<Currency> c = Currency::FromDouble(v);
  if (!c) throw RunTimeError(kErrOverflow);
  return *c;
}

Currency CCur(std::string_view text) {
  // Plain decimal text is taken exactly; other numeric forms via a double.
  std::string narrow = text::ToNarrow(text);
  std::string_view t = narrow;
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  std::size_t dot = t.find('.');
  if (dot == std::string_view::npos || t.size() - dot - 1 <= 4) {
    if (std::optional<Currency> c = Currency::Parse(t)) return *c;
  }
  return CCur(ToNumberOrThrow(text));
}

namespace {

template <typename Float>
std::string FloatText(Float v, int significant) {
  if (v == 0) return "0";
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, significant);
  std::string s(buf, r.ptr);
  for (char& c : s) {
    if (c == 'e') c = 'E';
  }
  return s;
}

}  // namespace

std::string CStr(double v) { return FloatText(v, 15); }

std::string CStr(float v) { return FloatText(v, 7); }

std::string CStr(Currency v) { return v.ToString(); }

std::string CDecStr(double v) {
  // The decimal type holds 96 bits of digits.
  if (!std::isfinite(v) || std::fabs(v) >= 0x1p96) throw RunTimeError(kErrOverflow);
  return text::DecimalDigits::FromDouble(v).PlainText();
}

std::string LTrim(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(text.substr(b));
}

std::string RTrim(std::string_view text) {
  std::size_t e = text.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(text.substr(0, e + 1));
}

std::string Trim(std::string_view text) { return RTrim(LTrim(text)); }

std::int32_t Len(std::string_view text) {
  std::int32_t n = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    n += text::NextCodePoint(text, pos) > 0xFFFF ? 2 : 1;
  }
  return n;
}

std::string Left(std::string_view text, std::int64_t n) {
  if (n < 0) throw RunTimeError(kErrInvalidCall);
  return std::string(text.substr(0, text::OffsetOfCodePoint(text, static_cast<std::size_t>(n))));
}

std::string Right(std::string_view text, std::int64_t n) {
  if (n < 0) throw RunTimeError(kErrInvalidCall);
  std::size_t count = text::CodePointCount(text);
  std::size_t keep = static_cast<std::size_t>(n) < count ? static_cast<std::size_t>(n) : count;
  return std::string(text.substr(text::OffsetOfCodePoint(text, count - keep)));
}

std::string Mid(std::string_view text, std::int64_t start) {
  if (start < 1) throw RunTimeError(kErrInvalidCall);
  return std::string(text.substr(text::OffsetOfCodePoint(text, static_cast<std::size_t>(start - 1))));
}

std::string Mid(std::string_view text, std::int64_t start, std::int64_t n) {
  if (start < 1 || n < 0) throw RunTimeError(kErrInvalidCall);
  std::string rest = Mid(text, start);
  return Left(rest, n);
}

std::int32_t InStr(std::string_view text, std::string_view find, std::int64_t start) {
  if (start < 1) throw RunTimeError(kErrInvalidCall);
  std::size_t count = text::CodePointCount(text);
  if (static_cast<std::size_t>(start) > count) return 0;
  std::size_t from = text::OffsetOfCodePoint(text, static_cast<std::size_t>(start - 1));
  std::size_t at = text.find(find, from);
  // A match must start on a character boundary; UTF-8 guarantees that a
  // match of valid text does, so the byte offset converts directly.
  if (at == std::string_view::npos) return 0;
  return static_cast<std::int32_t>(text::CodePointCount(text.substr(0, at)) + 1);
}

std::string Space(std::int64_t n) {
  if (n < 0) throw RunTimeError(kErrInvalidCall);
  return std::string(static_cast<std::size_t>(n), ' ');
}

std::string FixedLength(std::string_view text, std::size_t n) {
  std::string s = Left(text, static_cast<std::int64_t>(n));
  std::size_t count = text::CodePointCount(s);
  if (count < n) s.append(n - count, ' ');
  return s;
}

}  // namespace qz::vb
