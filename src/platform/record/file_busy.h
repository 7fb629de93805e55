// Whether another connection holds a record-manager file busy: the file is
// asked for its exclusive lock for a moment and given it back at once.
//
// A reader holds its lock only while it reads and a writer while its
// transaction lasts, so this finds the files being read or written right
// now, by any process of any user that shares the file system's locks. A
// program that merely keeps a file open is not found here (see
// platform/system/open_files.h). Never changes the file. Any thread.
#ifndef QZ_PLATFORM_RECORD_FILE_BUSY_H_
#define QZ_PLATFORM_RECORD_FILE_BUSY_H_

#include <chrono>
#include <string_view>

namespace qz::record {

// True when the exclusive lock of the record-manager file `host_path` (a
// path of this machine) cannot be had within `timeout`. A file that is
// missing, unreadable or no record-manager file is not busy.
bool RecordFileBusy(std::string_view host_path, std::chrono::milliseconds timeout);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_FILE_BUSY_H_
