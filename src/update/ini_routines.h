// basINIAccess of the version-up program: writing one INI value and listing
// the sections of an INI file (reading values and sections is
// data/ini_access.h). Files in the suite's form or this machine's, found
// without regard to case. Never raise.
#ifndef QZ_UPDATE_INI_ROUTINES_H_
#define QZ_UPDATE_INI_ROUTINES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qz::update {

// Writes `key` = `value` in `section` of `file` (created when missing).
// True when the write succeeded.
bool Fnc_PutIni(std::string_view section, std::string_view key, std::string_view value,
                std::string_view file);

// The names of every section of `file` in file order: names[1 .. count],
// names[0] empty. A missing file or one without sections gives count 0.
void Sub_GetSectionNames(std::string_view file, std::vector<std::string>& names, std::int16_t& count);

}  // namespace qz::update

#endif  // QZ_UPDATE_INI_ROUTINES_H_
