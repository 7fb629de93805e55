// Putting a release's own copy of the conversion definition QZPCSV.INI in
// the place of the installed one for one section, and putting moved-aside
// files back when the section ends.
#ifndef QZ_UPDATE_ORG_INI_H_
#define QZ_UPDATE_ORG_INI_H_

#include <string>
#include <string_view>

namespace qz::update {

// Reads `key` of `section` of Update.INI (from the release folder, which
// becomes the current folder). Empty: nothing to do, true, `moved` empty.
// Otherwise the named file (relative to the release folder) must exist, as
// must basPublic.CsvIniPath; the installed file is renamed to
// CsvIniPath & ".Original_" & yyyymmddhhnnss (returned in `moved`, which
// the caller must put back with Fnc_ReNameBack) and the named file is copied
// in its place. Each failure shows its critical box, is logged and gives
// false; `moved` is set as soon as the installed file has been moved.
bool Fnc_OrgINI(std::string_view section, std::string_view key, std::string& moved);

// Renames `moved` back to `own` (an existing `own` is replaced). `moved`
// empty: nothing to do, true. False when `moved` is gone or the rename
// fails (logged).
bool Fnc_ReNameBack(std::string_view moved, std::string_view own);

}  // namespace qz::update

#endif  // QZ_UPDATE_ORG_INI_H_
