// The executable paths of the processes running on this machine, the
// version-up's stand-in of the system's process query, with a replacement
// for tests.
//
// A process's name is the file name of its executable; names compare
// without regard to case. Paths are this machine's ("/srv/suite/QZP140.EXE").
// Single-threaded, like the program.
#ifndef QZ_UPDATE_PROCESS_LIST_H_
#define QZ_UPDATE_PROCESS_LIST_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qz::update {

// Fills `list` (element 0 empty, entries from 1) with the executable paths
// of the processes named `name` (every process when `name` is empty) whose
// path can be read, and returns their number. A failing query ends the walk
// with the entries reached and sets `*failed` (when given; false otherwise),
// so that a caller can tell "nothing runs" from "nothing could be asked".
std::int32_t Fnc_GetProcessPaths(std::string_view name, std::vector<std::string>& list,
                                 bool* failed = nullptr);

// The executable path of this program (as the process list reports it), or
// "" when it cannot be told.
std::string OwnExecutablePath();

// Replaces the machine's process list by `source` (nullptr: the machine's
// again). The filter by name still applies to what it gives; an exception
// from it is a failing query.
void SetProcessListForTest(std::function<std::vector<std::string>()> source);

}  // namespace qz::update

#endif  // QZ_UPDATE_PROCESS_LIST_H_
