#include "data/common_sub.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>

#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/runtime/failure_note.h"
#include "platform/runtime/run_time_error.h"
#include "platform/system/system_info.h"

namespace qz {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number read exactly: its sign and its digits with the position of
// the decimal point (digits "12345", point 3 is 123.45).
struct Decimal {
  bool negative = false;
  std::string digits;
  long long point = 0;
};

// Reads blanks, a sign, digits with at most one ".", and an exponent
// ("1.5E3"); nullopt for anything else.
std::optional<Decimal> ReadDecimal(std::string_view text) {
  std::string_view s = Trim(text);
  Decimal d;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) d.negative = s[i++] == '-';
  bool seen_point = false, any = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      d.digits += s[i];
      if (!seen_point) ++d.point;
      any = true;
    } else if (s[i] == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i >= s.size()) return std::nullopt;
    long long e = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
      e = e * 10 + (s[i] - '0');
      if (e > 100000) return std::nullopt;
    }
    d.point += neg ? -e : e;
  }
  if (i != s.size()) return std::nullopt;
  return d;
}

// The whole number that `text` reads as, truncated toward zero; throws a
// type mismatch when it is not a number and an overflow beyond +-99999.
long long ReadWhole(std::string_view text) {
  std::optional<Decimal> d = ReadDecimal(text);
  if (!d) throw RunTimeError(kErrTypeMismatch);
  long long v = 0;
  for (long long k = 0; k < d->point; ++k) {
    v = v * 10 + (k < static_cast<long long>(d->digits.size()) ? d->digits[k] - '0' : 0);
    if (v > 99999) throw RunTimeError(kErrOverflow);
  }
  return d->negative ? -v : v;
}

std::string StripLeadingZeros(std::string s) {
  std::size_t i = s.find_first_not_of('0');
  return i == std::string::npos ? std::string() : s.substr(i);
}

}  // namespace

std::string Fnc_GetComputerName() { return system::ComputerName(); }

std::string Fnc_CutToDigits(std::string_view value, std::string_view spec) {
  std::optional<Decimal> v = ReadDecimal(value);
  std::string_view sp = Trim(spec);
  if (!v || sp.empty()) throw RunTimeError(kErrTypeMismatch);
  for (char c : sp) {
    if (!IsDigit(c)) throw RunTimeError(kErrTypeMismatch);
  }
  long long digit_spec = ReadWhole(sp);
  long long ints = digit_spec / 10, decs = digit_spec % 10;

  // The magnitude times 10^decs, truncated: the digits before the shifted
  // point.
  long long keep = v->point + decs;
  std::string scaled;
  if (keep > 0) {
    scaled = v->digits.substr(0, static_cast<std::size_t>(std::min<long long>(keep, v->digits.size())));
    if (keep > static_cast<long long>(scaled.size())) scaled.append(keep - scaled.size(), '0');
  }
  scaled = StripLeadingZeros(scaled);
  // Only the last ints + decs digits stay.
  if (static_cast<long long>(scaled.size()) > ints + decs) {
    scaled = StripLeadingZeros(scaled.substr(scaled.size() - (ints + decs)));
  }
  if (scaled.empty()) return "0";
  if (static_cast<long long>(scaled.size()) <= decs) scaled.insert(0, decs - scaled.size() + 1, '0');
  std::string whole = scaled.substr(0, scaled.size() - decs);
  std::string frac = scaled.substr(scaled.size() - decs);
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  std::string out = v->negative ? "-" : "";
  out += whole;
  if (!frac.empty()) out += "." + frac;
  return out;
}

bool Fnc_SplitDelimited(std::string_view text, std::string_view max_text, std::string_view sep,
                        std::string_view quote, std::vector<std::string>& items, std::int16_t& count,
                        std::string& rest) {
  long long max = ReadWhole(max_text);
  if (max < 0 || max > 32767) throw RunTimeError(kErrSubscript);
  items.assign(static_cast<std::size_t>(max) + 1, std::string());
  count = 0;
  rest.clear();

  // Where the next separator at or after `from` starts (npos: none).
  auto next_sep = [&](std::size_t from) {
    return sep.empty() ? std::string_view::npos : text.find(sep, from);
  };
  std::size_t p = 0;
  long long k = 1;
  bool ended_on_sep = false;
  while (k <= max && p < text.size()) {
    std::size_t s = next_sep(p);
    std::size_t item_end = s == std::string_view::npos ? text.size() : s;
    std::string_view item = text.substr(p, item_end - p);
    if (!quote.empty()) {
      std::size_t lead = 0;
      while (lead < item.size() && IsBlank(item[lead])) ++lead;
      if (item.substr(lead, quote.size()) == quote) {
        std::size_t open = p + lead + quote.size();
        std::size_t close = text.find(quote, open);
        if (close == std::string_view::npos) close = text.size();
        item = text.substr(open, close - open);
        std::size_t after = std::min(text.size(), close + quote.size());
        s = next_sep(after);
        item_end = s == std::string_view::npos ? text.size() : s;
      }
    }
    items[static_cast<std::size_t>(k)] = std::string(item);
    ++k;
    ended_on_sep = s != std::string_view::npos;
    p = ended_on_sep ? s + sep.size() : text.size();
  }
  // A text that ends with a separator ends with an empty item (already
  // empty in `items`), when there is room for it.
  if (ended_on_sep && p >= text.size() && k <= max) ++k;
  count = static_cast<std::int16_t>(k - 1);
  if (k > max && p < text.size()) rest = std::string(text.substr(p));
  return true;
}

bool Fnc_ChangeDir(std::string_view path, bool allow_network) {
  if (path.empty()) return false;
  if (path::IsNetworkPath(path) && !allow_network) return false;
  std::string host = path::ResolveSuitePath(path);
  if (::chdir(host.c_str()) == 0) return true;
  failure_note::NoteSystem(host, errno);
  return false;
}

}  // namespace qz
