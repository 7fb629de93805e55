// A text dump of the settings record, one "Name=value" line per setting (and
// one per element of its arrays), in the record's order. Used to compare a
// whole configuration at once (tests, the debug window). Colours are shown
// as 8 hexadecimal digits, item numbers in the runtime's number form, texts
// in double quotes.
#ifndef QZ_EXAMINEE_SETTINGS_DUMP_H_
#define QZ_EXAMINEE_SETTINGS_DUMP_H_

#include <string>

#include "examinee/bas_public.h"

namespace qz {

// Returns the dump of every setting, the grid layout, the paths and the
// work area of `settings`; the cycle values are not part of it.
std::string DumpSettings(const BasPublic& settings);

}  // namespace qz

#endif  // QZ_EXAMINEE_SETTINGS_DUMP_H_
