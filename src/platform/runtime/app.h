// The running program's own facts, as the runtime's App object gives them:
// its title (the caption of message boxes that name no title of their own),
// its folder and its version (the build's version unless set). Each
// program's main sets them once at start; tests may set them.
#ifndef QZ_PLATFORM_RUNTIME_APP_H_
#define QZ_PLATFORM_RUNTIME_APP_H_

#include <string>

namespace qz {

// A program version: major.minor.revision.
struct VersionNumber {
  int major = 0, minor = 0, revision = 0;
};

// The version of this build: the project's own version, as the build
// configured it.
VersionNumber BuildVersion();

struct AppInfo {
  std::string title = "QZP140";   // "QZP140" or "Update"
  std::string exe_name = "QZP140";  // the executable's file name without ".exe"
  std::string path;               // the program's folder (this machine's form)
  std::string command;            // the program's argument text, as given
  int major = BuildVersion().major, minor = BuildVersion().minor, revision = BuildVersion().revision;
};

// The one instance.
AppInfo& App();

// Sets the title to `name`, the executable name to the running executable's
// own file name (a program copied under another name goes by that name; a
// final ".exe" in any case is dropped; `name` when it cannot be told), the
// folder to the executable's own (the current folder when it cannot be
// told) and the argument text to argv[1..] joined by single blanks. For a
// program's main.
// An installed program runs from a folder of its own that holds no INI
// files: the environment variable QZ_FOLDER_<name> (QZ_FOLDER_QZP140), when
// set and not empty, names the program's folder instead (made absolute
// against the current folder).
void InitApp(const char* name, int argc, char** argv);

// The file name of `executable` without a final ".exe" (any case):
// "/srv/rel/UpdateX" -> "UpdateX", "D:\\REL\\UPDATE.EXE" -> "UPDATE".
std::string ExecutableName(const std::string& executable);

}  // namespace qz

#endif  // QZ_PLATFORM_RUNTIME_APP_H_
