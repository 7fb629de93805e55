// Names compared without regard to case, and files found that way.
//
// The suite names its files in any case ("QZPPATH.ini", "QZPPATH.INI") and
// its INI sections and keys likewise; this machine's file system is case
// sensitive. ResolveNoCase finds the file a name means. Letters compare
// without regard to case in ASCII; other characters compare exactly.
#ifndef QZ_PLATFORM_PATH_NO_CASE_H_
#define QZ_PLATFORM_PATH_NO_CASE_H_

#include <string>
#include <string_view>

namespace qz::path {

// True when `a` and `b` are equal but for the case of ASCII letters.
bool EqualNoCase(std::string_view a, std::string_view b);

// Returns the path of this machine that `host_path` means when each of its
// parts is matched without regard to case: every part that exists as written
// is kept, every other part is replaced by the entry of its folder that
// equals it but for case (the first in name order when there are several).
// A part that matches nothing, and everything after it, stays as written, so
// a file that is still to be created keeps the name given. Never fails.
std::string ResolveNoCase(std::string_view host_path);

// ResolveNoCase(ToHostPath(path)): the file of this machine that a path in
// the suite's form means (host_path.h).
std::string ResolveSuitePath(std::string_view path);

}  // namespace qz::path

#endif  // QZ_PLATFORM_PATH_NO_CASE_H_
