// TEMPORARY stand-in until the shared INI routines are merged; replaced then.
#ifndef QZ_DATA_INI_ACCESS_H_
#define QZ_DATA_INI_ACCESS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

std::string Fnc_GetIni(std::string_view section, std::string_view key, std::string_view def,
                       std::string_view file);
void Sub_GetSection(std::string_view file, std::string_view section, std::vector<std::string>& keys,
                    std::vector<std::string>& values, std::int16_t& count);

}  // namespace qz

#endif  // QZ_DATA_INI_ACCESS_H_
