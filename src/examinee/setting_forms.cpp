#include "examinee/setting_forms.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <limits>

#include "data/common_sub.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// True when `t` (already trimmed) has the shape of a decimal number.
bool HasNumberShape(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (IsDigit(t[i])) {
      digits = true;
    } else if (t[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

}  // namespace

std::string TrimBlanks(std::string_view text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  std::size_t e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + n > text.size()) n = 1;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        n = 1;
        break;
      }
    }
    out.emplace_back(text.substr(i, n));
    i += n;
  }
  return out;
}

std::optional<Currency> ReadsAsNumber(std::string_view text) {
  std::string t = TrimBlanks(text);
  if (!HasNumberShape(t)) return std::nullopt;
  return Currency::Parse(t);
}

Currency ToItemNumber(std::string_view text) {
  std::string t = TrimBlanks(text);
  if (!HasNumberShape(t)) throw RunTimeError(kErrTypeMismatch);
  std::optional<Currency> v = Currency::Parse(t);
  if (!v) throw RunTimeError(kErrOverflow);
  return *v;
}

std::int64_t RoundToWhole(Currency value, std::int64_t min, std::int64_t max) {
  std::int64_t raw = value.raw();
  std::int64_t q = raw / Currency::kScale;
  std::int64_t r = raw % Currency::kScale;
  std::int64_t half = Currency::kScale / 2;
  if (r > half || (r == half && (q % 2) != 0)) ++q;
  if (r < -half || (r == -half && (q % 2) != 0)) --q;
  if (q < min || q > max) throw RunTimeError(kErrOverflow);
  return q;
}

std::int16_t ToInt16(std::string_view text) {
  return static_cast<std::int16_t>(RoundToWhole(ToItemNumber(text),
                                                std::numeric_limits<std::int16_t>::min(),
                                                std::numeric_limits<std::int16_t>::max()));
}

std::int32_t ToInt32(std::string_view text) {
  return static_cast<std::int32_t>(RoundToWhole(ToItemNumber(text),
                                                std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ToColour(std::string_view text, std::int32_t fallback) {
  std::uint64_t v = 0;
  int significant = 0;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    int d = HexDigit(c);
    if (d < 0) break;
    v = v * 16 + static_cast<std::uint64_t>(d);
    if (v != 0) ++significant;
    if (significant > 8) return fallback;
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

std::string InnerText(std::string_view text) {
  std::vector<std::string> chars = SplitCharacters(TrimBlanks(text));
  if (chars.size() < 2) throw RunTimeError(kErrInvalidCall);
  std::string out;
  for (std::size_t i = 1; i + 1 < chars.size(); ++i) out += chars[i];
  return out;
}

std::string SecondToLastCharacter(std::string_view text) {
  std::vector<std::string> chars = SplitCharacters(TrimBlanks(text));
  if (chars.size() < 2) throw RunTimeError(kErrInvalidCall);
  return chars[chars.size() - 2];
}

std::vector<std::string> SplitCommaList(std::string_view text, int max) {
  std::vector<std::string> items;
  std::int16_t count = 0;
  std::string rest;
  Fnc_SplitDelimited(text, std::to_string(max), ",", "", items, count, rest);
  // Only the stored items are used, whatever count says beyond them.
  std::size_t n = count < 0 ? 0 : static_cast<std::size_t>(count);
  if (n > static_cast<std::size_t>(max)) n = static_cast<std::size_t>(max);
  if (items.size() < n + 1) n = items.empty() ? 0 : items.size() - 1;
  return std::vector<std::string>(items.begin() + (items.empty() ? 0 : 1),
                                  items.begin() + (items.empty() ? 0 : 1 + static_cast<std::ptrdiff_t>(n)));
}

void ReadCodeList(std::string_view value, CodeList& list) {
  std::vector<std::string> pieces = SplitCommaList(TrimBlanks(value), 100);
  list.Count = static_cast<std::int16_t>(pieces.size());
  if (pieces.empty()) return;
  list.Items.assign(pieces.size() + 1, Currency{});
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    list.Items[i + 1] = ReadsAsNumber(pieces[i]).value_or(Currency{});
  }
}

void Sub_SplitCodeList(std::string_view text, std::vector<Currency>& codes) {
  codes.assign(1, Currency{});
  if (text.empty()) return;
  std::size_t k = 0;
  std::size_t p = 0;
  while (true) {
    std::size_t e = text.find(',', p);
    std::string_view entry = text.substr(p, e == std::string_view::npos ? std::string_view::npos : e - p);
    if (std::optional<Currency> v = ReadsAsNumber(entry)) {
      if (k == 0) {
        codes[0] = *v;
      } else {
        codes.push_back(*v);
      }
      ++k;
    }
    if (e == std::string_view::npos) break;
    p = e + 1;
  }
}

std::string Fnc_GetFepSetting() {
  std::string folder = App().path.empty() ? std::string(".") : App().path;
  if (folder.back() != '/' && folder.back() != '\\') folder += '/';
  std::ifstream in(folder + "KWBDISP.ENV", std::ios::binary);
  if (!in) return {};
  std::string all = text::FromCp932(std::string(std::istreambuf_iterator<char>(in), {}));
  // Fields end at a comma or a line end; leading blanks are skipped and a
  // quoted field loses its quotes.
  std::size_t p = 0;
  while (p < all.size()) {
    while (p < all.size() && (all[p] == ' ' || all[p] == '\t')) ++p;
    std::string field;
    if (p < all.size() && all[p] == '"') {
      std::size_t q = all.find('"', p + 1);
      field = all.substr(p + 1, q == std::string::npos ? std::string::npos : q - p - 1);
      p = q == std::string::npos ? all.size() : q + 1;
      while (p < all.size() && all[p] != ',' && all[p] != '\n') ++p;
    } else {
      std::size_t e = all.find_first_of(",\r\n", p);
      if (e == std::string::npos) e = all.size();
      field = all.substr(p, e - p);
      p = e;
    }
    if (p < all.size() && all[p] == '\r') ++p;
    if (p < all.size() && (all[p] == ',' || all[p] == '\n')) ++p;
    if (field.compare(0, 7, "CTLFEP ") == 0) {
      // Leading blanks go before the first two characters are taken.
      std::string after = field.substr(7);
      std::size_t b = after.find_first_not_of(' ');
      std::vector<std::string> chars =
          SplitCharacters(b == std::string::npos ? std::string() : after.substr(b));
      std::string two;
      for (std::size_t i = 0; i < chars.size() && i < 2; ++i) two += chars[i];
      return TrimBlanks(two);
    }
  }
  return {};
}

}  // namespace qz
