// TEMPORARY stand-in until the shared INI routines are merged; removed then.
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "data/common_sub.h"
#include "data/ini_access.h"
#include "platform/text/cp932.h"

namespace qz {
namespace {

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}
std::string Trim(std::string_view s) {
  std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return {};
  std::size_t e = s.find_last_not_of(" \t\r");
  return std::string(s.substr(b, e - b + 1));
}
// Lines of `section`, raw.
std::vector<std::string> SectionLines(std::string_view file, std::string_view section) {
  std::vector<std::string> out;
  std::ifstream in{std::string(file), std::ios::binary};
  if (!in) return out;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string all = ss.str();
  if (all.rfind("\xEF\xBB\xBF", 0) == 0) all = all.substr(3); else all = text::FromCp932(all);
  std::istringstream lines(all);
  std::string line;
  bool inside = false, seen = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string t = Trim(line);
    if (!t.empty() && t[0] == '[') {
      std::size_t e = t.find(']');
      std::string name = Lower(Trim(t.substr(1, e == std::string::npos ? std::string::npos : e - 1)));
      if (inside) { inside = false; seen = true; }
      if (!seen && name == Lower(section)) inside = true;
      continue;
    }
    if (inside && !t.empty() && t[0] != ';') out.push_back(line);
  }
  return out;
}

}  // namespace

std::string Fnc_GetIni(std::string_view section, std::string_view key, std::string_view def,
                       std::string_view file) {
  for (const std::string& line : SectionLines(file, section)) {
    std::size_t eq = line.find('=');
    std::string k = eq == std::string::npos ? line : line.substr(0, eq);
    std::size_t b = k.find_first_not_of(" \t");
    k = b == std::string::npos ? std::string() : k.substr(b);
    std::string kt = k;
    while (!kt.empty() && kt.back() == ' ') kt.pop_back();
    if (Lower(k) != Lower(key) && Lower(kt) != Lower(key)) continue;
    std::string v = eq == std::string::npos ? std::string() : Trim(line.substr(eq + 1));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v.substr(0, 255);
  }
  return std::string(def);
}

void Sub_GetSection(std::string_view file, std::string_view section, std::vector<std::string>& keys,
                    std::vector<std::string>& values, std::int16_t& count) {
  keys.assign(1, {});
  values.assign(1, {});
  count = 0;
  for (const std::string& line : SectionLines(file, section)) {
    std::size_t eq = line.find('=');
    ++count;
    keys.push_back(eq == std::string::npos ? line : line.substr(0, eq));
    values.push_back(eq == std::string::npos ? std::string() : line.substr(eq + 1));
  }
}

bool Fnc_SplitDelimited(std::string_view text, std::string_view max_text, std::string_view sep,
                        std::string_view, std::vector<std::string>& items, std::int16_t& count,
                        std::string& rest) {
  int max = std::stoi(std::string(max_text));
  items.assign(max + 1, {});
  rest.clear();
  std::size_t p = 0;
  int k = 1;
  while (k <= max && p < text.size()) {
    std::size_t e = text.find(sep, p);
    if (e == std::string_view::npos) e = text.size();
    items[k] = std::string(text.substr(p, e - p));
    p = e + 1;
    ++k;
  }
  if (p > 0 && p <= text.size() && text.substr(p - 1, 1) == sep && k <= max) ++k;
  count = static_cast<std::int16_t>(k - 1);
  return true;
}

}  // namespace qz
