#include "data/ini_access.h"

#include "platform/ini/profile.h"

namespace qz {

std::string Fnc_GetIni(std::string_view section, std::string_view key, std::string_view default_value,
                       std::string_view file) {
  return ini::GetProfileString(file, section, key, default_value, 255);
}

void Sub_GetSection(std::string_view file, std::string_view section, std::vector<std::string>& keys,
                    std::vector<std::string>& values, std::int16_t& count) {
  keys.clear();
  values.clear();
  count = 0;
  std::vector<ini::Entry> entries = ini::GetProfileSection(file, section);
  if (entries.empty()) return;
  if (entries.size() > 32767) entries.resize(32767);
  keys.reserve(entries.size() + 1);
  values.reserve(entries.size() + 1);
  keys.emplace_back();
  values.emplace_back();
  for (ini::Entry& e : entries) {
    keys.push_back(std::move(e.first));
    values.push_back(std::move(e.second));
  }
  count = static_cast<std::int16_t>(entries.size());
}

}  // namespace qz
