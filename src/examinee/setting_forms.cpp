#include "examinee/setting_forms.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "data/common_sub.h"
#include "platform/path/no_case.h"
#include "platform/runtime/app.h"
#include "platform/runtime/run_time_error.h"
#include "platform/text/cp932.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

namespace qz {

std::string TrimBlanks(std::string_view text) { return vb::Trim(text); }

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t from = pos;
    text::NextCodePoint(text, pos);
    out.emplace_back(text.substr(from, pos - from));
  }
  return out;
}

std::optional<Currency> ReadsAsNumber(std::string_view text) {
  if (!vb::IsNumeric(text)) return std::nullopt;
  try {
    return vb::CCur(text);
  } catch (const RunTimeError&) {
    return std::nullopt;  // numeric but too large for an item number
  }
}

Currency ToItemNumber(std::string_view text) { return vb::CCur(text); }

std::int16_t ToInt16(std::string_view text) { return vb::CInt(text); }

std::int32_t ToInt32(std::string_view text) { return vb::CLng(text); }

std::int32_t ToColour(std::string_view text, std::int32_t fallback) {
  try {
    return vb::HexVal(text);
  } catch (const RunTimeError&) {
    return fallback;  // more than 32 bits is no colour
  }
}

std::string InnerText(std::string_view text) {
  std::string t = vb::Trim(text);
  return vb::Mid(t, 2, vb::Len(t) - 2);
}

std::string SecondToLastCharacter(std::string_view text) {
  std::string t = vb::Trim(text);
  return vb::Mid(t, vb::Len(t) - 1, 1);
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
  // The suite names the file in any letter case.
  std::ifstream in(path::ResolveSuitePath(folder + "KWBDISP.ENV"), std::ios::binary);
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
