// The programs running on this machine, as far as the version-up needs
// them: the executable path of every process that this user may look at,
// and the processes that hold a file open under a folder.
//
// The machine's answers come from /proc: a process whose executable or open
// files cannot be read (another user's, or one that ended meanwhile) is
// left out. A program started through a "#!" line is listed with its
// script's path when the interpreter was given it as its first argument,
// since that is the program the user started. Tests replace either answer
// with a fake. Single-threaded use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_PROCESS_LIST_H_
#define QZ_PLATFORM_SYSTEM_PROCESS_LIST_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

namespace qz::system {

struct RunningProcess {
  pid_t pid = 0;
  std::string executable_path;  // absolute path of this machine
};

// Every process whose executable path is known, in ascending process id.
// With a non-empty `name`, only those whose file name equals it without
// regard to case, with or without ".EXE" ("VANTORIK.EXE" finds a program
// "vantorik"). Never fails: what cannot be read is left out.
std::vector<RunningProcess> RunningProcesses(std::string_view name = {});

// Replaces the process list (nullptr: /proc again). The fake gets the name
// filter and answers for it.
void SetProcessListForTest(std::function<std::vector<RunningProcess>(std::string_view name)> fake);

// The processes other than this one that hold a file open at or under the
// folder `host_folder` (a path of this machine), with the first such file.
struct OpenFileHolder {
  pid_t pid = 0;
  std::string file;
};
std::vector<OpenFileHolder> ProcessesUsingFolder(std::string_view host_folder);

// Replaces the open-file lookup (nullptr: /proc again).
void SetFolderUsersForTest(std::function<std::vector<OpenFileHolder>(std::string_view folder)> fake);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_PROCESS_LIST_H_
