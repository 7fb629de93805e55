// basIniAccess: one INI value or one whole INI section, for both programs.
//
// File names are passed as the callers write them ("./QZP140.INI",
// "C:\VLMP\QZPPATH.INI") and found without regard to case. A missing file or
// section is never an error. Profile rules: platform/ini/profile.h.
#ifndef QZ_DATA_INI_ACCESS_H_
#define QZ_DATA_INI_ACCESS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// The value of `key` in `section` of `file` exactly as the profile read
// gives it (trimmed, unquoted, at most 255 bytes), "" for a key present with
// an empty value, `default_value` unchanged when the file, section or key is
// missing.
std::string Fnc_GetIni(std::string_view section, std::string_view key, std::string_view default_value,
                       std::string_view file);

// Every entry of `section` of `file` in file order: keys[i] the text before
// the first "=", values[i] the rest (further "=" included; an entry without
// "=" is a key with an empty value), for i = 1 .. count; element 0 is unused.
// An absent or empty section gives count 0 and both vectors empty.
void Sub_GetSection(std::string_view file, std::string_view section, std::vector<std::string>& keys,
                    std::vector<std::string>& values, std::int16_t& count);

}  // namespace qz

#endif  // QZ_DATA_INI_ACCESS_H_
