#include "update/ini_routines.h"

#include "platform/ini/profile.h"

namespace qz::update {

bool Fnc_PutIni(std::string_view section, std::string_view key, std::string_view value,
                std::string_view file) {
  return ini::WriteProfileString(file, section, key, value);
}

void Sub_GetSectionNames(std::string_view file, std::vector<std::string>& names, std::int16_t& count) {
  names.assign(1, std::string());
  for (std::string& n : ini::GetProfileSectionNames(file)) {
    if (names.size() > 32767) break;
    names.push_back(std::move(n));
  }
  count = static_cast<std::int16_t>(names.size() - 1);
}

}  // namespace qz::update
