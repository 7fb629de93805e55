// The processes of this machine that hold files open under a folder: the
// version-up's test that nothing in the data folder is in use.
//
// The machine's answer comes from /proc: every open file of every process
// this user may look at (other users' processes cannot be read and are left
// out; so are processes that end meanwhile). This process is never counted.
// Tests replace the answer with a fake. Single-threaded use, like the
// program.
#ifndef QZ_PLATFORM_SYSTEM_OPEN_FILES_H_
#define QZ_PLATFORM_SYSTEM_OPEN_FILES_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qz::system {

// A process holding a file open, with the first such file found.
struct OpenFileHolder {
  pid_t pid = 0;
  std::string file;
};

// The processes other than this one that hold a file (or the folder itself)
// open at or under `host_folder`, a path of this machine, in ascending
// process id. Never fails: what cannot be read is left out.
std::vector<OpenFileHolder> ProcessesUsingFolder(std::string_view host_folder);

// Replaces the lookup (nullptr: /proc again).
void SetFolderUsersForTest(std::function<std::vector<OpenFileHolder>(std::string_view folder)> fake);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_OPEN_FILES_H_
