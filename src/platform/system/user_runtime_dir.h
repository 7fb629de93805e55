// The per-user runtime folder of this machine: where the suite's running
// programs keep their instance locks and register their top-level windows,
// so that other programs of the same user can see them.
//
// The folder is $QZ_RUNTIME_DIR when set, else $XDG_RUNTIME_DIR/qz, else
// /tmp/qz-<uid>; it is created (mode 0700) on first use. In /tmp anyone may
// have made that name first, so there it is used only as a PrivateFolder
// (a refusal is said once on the standard error). Tests point it at a
// folder of their own. Single-threaded use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_USER_RUNTIME_DIR_H_
#define QZ_PLATFORM_SYSTEM_USER_RUNTIME_DIR_H_

#include <optional>
#include <string>

namespace qz::system {

// The folder (no closing "/"), created when missing. Empty when it cannot be
// made or is refused.
std::string UserRuntimeDir();

// `dir` (no closing "/"), made with mode 0700 when missing, when it is a
// folder itself (not a link to one) that this user owns with mode 0700;
// empty otherwise.
std::string PrivateFolder(std::string dir);

// Overrides the folder (nullopt: the machine's again).
void SetUserRuntimeDirForTest(std::optional<std::string> dir);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_USER_RUNTIME_DIR_H_
