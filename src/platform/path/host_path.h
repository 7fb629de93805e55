// Paths as the suite writes them, mapped to this machine.
//
// INI values and parameter texts name files the suite's way: backslashes,
// drive letters ("C:\QZP\DATA\"), a closing "\" on folders and network paths
// ("\\server\share\..."). ToHostPath turns such a text into a path of this
// machine; a text that is already a path of this machine passes unchanged
// (apart from backslashes becoming "/").
//
// Drive rule: "X:" is replaced by the root of drive X, which is the value set
// with SetDriveRoot, else the environment variable QZ_DRIVE_ROOT_X (X upper
// case), else empty, so that "C:\a" becomes "/a". Network rule: "\\server\"
// is replaced by the network root (SetNetworkRoot, else QZ_NETWORK_ROOT, else
// empty) followed by "/server/", so that "\\sv\share\a" becomes
// "/sv/share/a". The settings are process-wide; set them before use (tests,
// program start) and not concurrently with calls.
#ifndef QZ_PLATFORM_PATH_HOST_PATH_H_
#define QZ_PLATFORM_PATH_HOST_PATH_H_

#include <optional>
#include <string>
#include <string_view>

namespace qz::path {

// True when `path` begins with two backslashes (or two slashes): a network
// path of the suite's form.
bool IsNetworkPath(std::string_view path);

// True when `path` begins with a drive letter and a colon ("C:", "c:\x").
bool HasDriveLetter(std::string_view path);

// Returns `path` as a path of this machine under the drive and network rules
// above. An empty text stays empty; a closing separator is kept.
std::string ToHostPath(std::string_view path);

// Joins `folder` and `name` (either may be in the suite's form) into a path
// of this machine with exactly one "/" between them. An empty folder gives
// the name alone; an empty name gives the folder.
std::string JoinPath(std::string_view folder, std::string_view name);

// Sets (or with nullopt clears) the root of drive `letter` (A-Z, any case).
// A set root takes precedence over the environment.
void SetDriveRoot(char letter, std::optional<std::string> root);

// Sets (or clears) the folder under which network paths are placed.
void SetNetworkRoot(std::optional<std::string> root);

}  // namespace qz::path

#endif  // QZ_PLATFORM_PATH_HOST_PATH_H_
