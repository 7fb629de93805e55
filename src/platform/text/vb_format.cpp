// Format and the date reading of vb.h.
#include <cctype>
#include <vector>

#include "platform/text/decimal_digits.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

namespace qz::vb {
namespace {

using text::DecimalDigits;

// One element of a pattern: a placeholder character or a literal text.
struct Token {
  char kind;  // '0', '#', '.', ',', '@', '&', '!', '<', '>', or 'L' literal
  std::string text;
};

// Splits a pattern into tokens. `placeholders` lists the characters that
// are special in this kind of pattern; "\x" and "..." are literals.
std::vector<Token> Tokenize(std::string_view pattern, std::string_view placeholders) {
  std::vector<Token> out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c == '\\' && i + 1 < pattern.size()) {
      std::size_t pos = i + 1;
      text::NextCodePoint(pattern, pos);
      out.push_back({'L', std::string(pattern.substr(i + 1, pos - i - 1))});
      i = pos - 1;
    } else if (c == '"') {
      std::size_t end = pattern.find('"', i + 1);
      if (end == std::string_view::npos) end = pattern.size();
      out.push_back({'L', std::string(pattern.substr(i + 1, end - i - 1))});
      i = end;
    } else if (placeholders.find(c) != std::string_view::npos) {
      out.push_back({c, std::string(1, c)});
    } else {
      out.push_back({'L', std::string(1, c)});
    }
  }
  return out;
}

// The sections of a pattern, split at ";" outside literals.
std::vector<std::string_view> Sections(std::string_view pattern) {
  std::vector<std::string_view> out;
  std::size_t from = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && !quoted) {
      ++i;
    } else if (c == ';' && !quoted) {
      out.push_back(pattern.substr(from, i - from));
      from = i + 1;
    }
  }
  out.push_back(pattern.substr(from));
  return out;
}

bool IsTextPattern(std::string_view pattern) {
  bool text = false;
  for (const Token& t : Tokenize(pattern, "0#@&")) {
    if (t.kind == '0' || t.kind == '#') return false;
    if (t.kind == '@' || t.kind == '&') text = true;
  }
  return text;
}

bool IsDigitPlaceholder(const Token& t) { return t.kind == '0' || t.kind == '#'; }

std::string GroupThousands(const std::string& digits) {
  std::string out;
  std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// One section of a number pattern applied to the magnitude of `d`.
std::string FormatSection(DecimalDigits d, std::string_view section) {
  std::vector<Token> tokens = Tokenize(section, "0#.,");
  std::size_t point = tokens.size();
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == '.') {
      point = i;
      break;
    }
  }
  // Later points are literals; so are commas that do not stand between two
  // digit placeholders of the integer part.
  for (std::size_t i = point + 1; i < tokens.size(); ++i) {
    if (tokens[i].kind == '.' || tokens[i].kind == ',') tokens[i].kind = 'L';
  }
  std::vector<std::size_t> int_ph;
  for (std::size_t i = 0; i < point; ++i) {
    if (IsDigitPlaceholder(tokens[i])) int_ph.push_back(i);
  }
  bool grouping = false;
  for (std::size_t i = 0; i < point; ++i) {
    if (tokens[i].kind != ',') continue;
    if (!int_ph.empty() && int_ph.front() < i && int_ph.back() > i) {
      grouping = true;
      tokens[i].kind = 'X';  // dropped
    } else {
      tokens[i].kind = 'L';
    }
  }
  int frac_ph = 0;
  int last_zero = -1;
  for (std::size_t i = point + 1; i < tokens.size(); ++i) {
    if (IsDigitPlaceholder(tokens[i])) {
      if (tokens[i].kind == '0') last_zero = frac_ph;
      ++frac_ph;
    }
  }
  d.RoundTo(frac_ph);
  std::string ip = d.IntegerPart();
  std::string fp = d.FractionPart(frac_ph);

  std::vector<std::string> out(tokens.size());
  if (grouping) {
    std::size_t first_zero = int_ph.size();
    for (std::size_t k = 0; k < int_ph.size(); ++k) {
      if (tokens[int_ph[k]].kind == '0') {
        first_zero = k;
        break;
      }
    }
    std::size_t mandatory = int_ph.size() - first_zero;
    std::string digits = ip;
    if (digits.size() < mandatory) digits.insert(0, mandatory - digits.size(), '0');
    for (std::size_t i = 0; i < point; ++i) {
      if (tokens[i].kind == 'L' && (i < int_ph.front() || i > int_ph.back())) out[i] = tokens[i].text;
    }
    out[int_ph.back()] = GroupThousands(digits);
  } else {
    std::size_t used = 0;  // digits of ip placed, from the right
    for (std::size_t i = point; i-- > 0;) {
      const Token& t = tokens[i];
      if (t.kind == 'L') {
        out[i] = t.text;
      } else if (IsDigitPlaceholder(t)) {
        bool leftmost = i == int_ph.front();
        if (used < ip.size()) {
          out[i] = leftmost ? ip.substr(0, ip.size() - used) : std::string(1, ip[ip.size() - 1 - used]);
          used = leftmost ? ip.size() : used + 1;
        } else if (t.kind == '0') {
          out[i] = '0';
        }
      }
    }
    if (int_ph.empty() && !ip.empty()) {
      if (point < tokens.size()) {
        out[point] = ip;  // the point itself is added below
      } else {
        out.push_back(ip);
        tokens.push_back({'X', {}});
      }
    }
  }
  if (point < tokens.size()) out[point] += ".";
  std::size_t keep = fp.size();
  while (keep > 0 && fp[keep - 1] == '0') --keep;
  if (static_cast<int>(keep) < last_zero + 1) keep = static_cast<std::size_t>(last_zero + 1);
  std::size_t j = 0;
  for (std::size_t i = point + 1; i < tokens.size(); ++i) {
    if (IsDigitPlaceholder(tokens[i])) {
      if (j < keep) out[i] = std::string(1, fp[j]);
      ++j;
    } else if (tokens[i].kind == 'L') {
      out[i] = tokens[i].text;
    }
  }
  std::string s;
  for (const std::string& part : out) s += part;
  return s;
}

std::string FormatDigits(DecimalDigits d, std::string_view pattern) {
  std::vector<std::string_view> sections = Sections(pattern);
  if (d.IsZero() && sections.size() >= 3 && !sections[2].empty()) return FormatSection(d, sections[2]);
  if (d.negative && sections.size() >= 2 && !sections[1].empty()) {
    d.negative = false;
    return FormatSection(d, sections[1]);
  }
  bool negative = d.negative;
  d.negative = false;
  int frac_ph = 0;
  bool after_point = false;
  for (const Token& t : Tokenize(sections[0], "0#.")) {
    if (t.kind == '.') after_point = true;
    else if (after_point && IsDigitPlaceholder(t)) ++frac_ph;
  }
  DecimalDigits rounded = d;
  rounded.RoundTo(frac_ph);
  std::string body = FormatSection(d, sections[0]);
  return negative && !rounded.IsZero() ? "-" + body : body;
}

std::string FormatText(std::string_view text, std::string_view pattern) {
  std::vector<Token> tokens = Tokenize(pattern, "@&!<>");
  bool left_to_right = false;
  int letter_case = 0;
  std::vector<std::size_t> ph;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    char k = tokens[i].kind;
    if (k == '!') left_to_right = true;
    if (k == '<') letter_case = -1;
    if (k == '>') letter_case = 1;
    if (k == '@' || k == '&') ph.push_back(i);
  }
  std::string src(text);
  for (char& c : src) {
    if (letter_case < 0) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (letter_case > 0) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  std::vector<std::string> chars;
  for (std::size_t pos = 0; pos < src.size();) {
    std::size_t start = pos;
    text::NextCodePoint(src, pos);
    chars.push_back(src.substr(start, pos - start));
  }
  std::vector<std::string> out(tokens.size());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == 'L') out[i] = tokens[i].text;
  }
  auto fill = [&](std::size_t token, const std::string* ch) {
    if (ch) out[token] += *ch;
    else if (tokens[token].kind == '@') out[token] += " ";
  };
  std::size_t n = chars.size();
  if (left_to_right) {
    for (std::size_t k = 0; k < ph.size(); ++k) fill(ph[k], k < n ? &chars[k] : nullptr);
    if (!ph.empty()) {
      for (std::size_t k = ph.size(); k < n; ++k) out[ph.back()] += chars[k];
    }
  } else {
    for (std::size_t k = 0; k < ph.size(); ++k) {
      std::size_t token = ph[ph.size() - 1 - k];
      if (k + 1 == ph.size() && n > ph.size()) {
        for (std::size_t c = 0; c + k < n; ++c) out[token] += chars[c];
      } else {
        fill(token, k < n ? &chars[n - 1 - k] : nullptr);
      }
    }
  }
  std::string s;
  for (const std::string& part : out) s += part;
  return s;
}

std::string Pad(int v, std::size_t width) {
  std::string s = std::to_string(v);
  if (s.size() < width) s.insert(0, width - s.size(), '0');
  return s;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

int DayOfYear(const DateTime& t) {
  int n = t.day;
  for (int m = 1; m < t.month && m <= 12; ++m) n += DaysInMonth(t.year, m);
  return n;
}

}  // namespace

std::string Format(double v, std::string_view pattern) {
  if (pattern.empty()) return CStr(v);
  if (IsTextPattern(pattern)) return FormatText(CStr(v), pattern);
  return FormatDigits(DecimalDigits::FromDouble(v), pattern);
}

std::string Format(float v, std::string_view pattern) {
  if (pattern.empty()) return CStr(v);
  if (IsTextPattern(pattern)) return FormatText(CStr(v), pattern);
  return FormatDigits(DecimalDigits::FromDouble(v, 7), pattern);
}

std::string Format(Currency v, std::string_view pattern) {
  if (pattern.empty()) return v.ToString();
  if (IsTextPattern(pattern)) return FormatText(v.ToString(), pattern);
  return FormatDigits(DecimalDigits::FromCurrency(v), pattern);
}

std::string FormatInteger(std::int64_t v, std::string_view pattern) {
  if (pattern.empty()) return std::to_string(v);
  if (IsTextPattern(pattern)) return FormatText(std::to_string(v), pattern);
  return FormatDigits(DecimalDigits::FromInteger(v), pattern);
}

std::string Format(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return std::string(text);
  if (IsTextPattern(pattern)) return FormatText(text, pattern);
  if (IsNumeric(text)) return Format(CDbl(text), pattern);
  return std::string(text);
}

std::string Format(const DateTime& t, std::string_view pattern) {
  struct Part {
    char letter;  // y m d h n s, or 0 for a literal
    std::size_t count;
    std::string text;
  };
  std::vector<Part> parts;
  for (const Token& tok : Tokenize(pattern, "yYmMdDhHnNsS")) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(tok.kind)));
    if (tok.kind == 'L') {
      parts.push_back({0, 0, tok.text});
    } else if (!parts.empty() && parts.back().letter == c) {
      ++parts.back().count;
    } else {
      parts.push_back({c, 1, {}});
    }
  }
  std::string out;
  char previous = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Part& p = parts[i];
    if (p.letter == 0) {
      out += p.text;
      continue;
    }
    char next = 0;
    for (std::size_t j = i + 1; j < parts.size() && next == 0; ++j) next = parts[j].letter;
    switch (p.letter) {
      case 'y':
        out += p.count >= 3 ? Pad(t.year, 4) : p.count == 2 ? Pad(t.year % 100, 2) : std::to_string(DayOfYear(t));
        break;
      case 'm':
        if (p.count <= 2 && (previous == 'h' || next == 's')) {
          out += Pad(t.minute, p.count);
        } else {
          out += Pad(t.month, p.count >= 2 ? 2 : 1);
        }
        break;
      case 'd': out += Pad(t.day, p.count >= 2 ? 2 : 1); break;
      case 'h': out += Pad(t.hour, p.count >= 2 ? 2 : 1); break;
      case 'n': out += Pad(t.minute, p.count >= 2 ? 2 : 1); break;
      case 's': out += Pad(t.second, p.count >= 2 ? 2 : 1); break;
    }
    previous = p.letter;
  }
  return out;
}

std::optional<DateTime> ParseDate(std::string_view input) {
  std::string_view s = input;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  // Reads 1 to `max` digits at `pos`.
  auto number = [&](std::size_t& pos, std::size_t max, int& v) {
    std::size_t start = pos;
    v = 0;
    while (pos < s.size() && pos - start < max && s[pos] >= '0' && s[pos] <= '9') v = v * 10 + (s[pos++] - '0');
    return pos > start;
  };
  DateTime t;
  std::size_t pos = 0;
  std::size_t year_start = pos;
  if (!number(pos, 4, t.year)) return std::nullopt;
  if (pos - year_start <= 2) t.year += t.year < 30 ? 2000 : 1900;
  if (pos >= s.size() || (s[pos] != '/' && s[pos] != '-')) return std::nullopt;
  char sep = s[pos++];
  if (!number(pos, 2, t.month) || pos >= s.size() || s[pos++] != sep) return std::nullopt;
  if (!number(pos, 2, t.day)) return std::nullopt;
  t.hour = t.minute = t.second = 0;
  if (pos < s.size()) {
    if (s[pos] != ' ') return std::nullopt;
    while (pos < s.size() && s[pos] == ' ') ++pos;
    if (!number(pos, 2, t.hour) || pos >= s.size() || s[pos++] != ':') return std::nullopt;
    if (!number(pos, 2, t.minute)) return std::nullopt;
    if (pos < s.size()) {
      if (s[pos++] != ':' || !number(pos, 2, t.second)) return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;
  }
  if (t.year < 100 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
      t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

bool IsDate(std::string_view text) { return ParseDate(text).has_value(); }

}  // namespace qz::vb
