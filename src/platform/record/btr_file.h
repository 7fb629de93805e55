// Creation of record-manager files and the record manager's settings.
//
// BtrAccess never creates a file; the fixture builder, btrutil and set-up
// code create empty files here from the definitions file. Call from any
// thread.
#ifndef QZ_PLATFORM_RECORD_BTR_FILE_H_
#define QZ_PLATFORM_RECORD_BTR_FILE_H_

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/definitions.h"

namespace qz::record {

// Creates the empty file `file_name` in `data_folder` as the definitions
// file named by `definition_folder` (the file or its folder) describes it.
// Returns kStatusOk; kStatusFileNotFound when the definitions file or the
// file's entry is missing or malformed; kStatusFileExists when the file is
// there and `replace` is false (with `replace` it is emptied); kStatusIoError
// when it cannot be written.
int CreateRecordFile(std::string_view definition_folder, std::string_view file_name,
                     std::string_view data_folder, bool replace = false);
// The same from definitions in memory.
int CreateRecordFile(const Definitions& definitions, std::string_view file_name,
                     std::string_view data_folder, bool replace = false);

// Whether the file `file_name` of `data_folder` exists on the engine the
// definitions give the folder (false when the folder's entry is malformed).
bool RecordFileExists(const Definitions& definitions, std::string_view file_name, std::string_view data_folder);

// The first part of the SQLite folder `data_folder` that this process may
// not write, as the record files `file_names` need: the folder itself
// (each write makes a journal beside the file), then each of those files
// that exists there (files only read are not asked for). The definitions
// are named by `definition_folder` (the file or its folder). Empty when
// everything can be written, and when the definitions, the folder or its
// entry are missing or the folder is on PostgreSQL (the opens then report
// it). `*error_number` gets the system's reason (errno).
std::string UnwritableRecordPath(std::string_view definition_folder, std::string_view data_folder,
                                 const std::vector<std::string>& file_names, int* error_number);

// Copies every record of `file_name` from `from_folder` to `to_folder`
// (each on the engine the definitions give it), in insertion order, so that
// duplicates read back as before. The target is created, or emptied with
// `replace`; the copy is one transaction on the target. `*copied` (when
// given) gets the number of records. Returns kStatusOk; kStatusFileNotFound
// when the source or the file's entry is missing; kStatusFileExists when the
// target is there and `replace` is false; another status of the record
// manager when a read or write fails (nothing of the copy is then stored).
int CopyRecordFile(const Definitions& definitions, std::string_view file_name, std::string_view from_folder,
                   std::string_view to_folder, bool replace, long long* copied = nullptr);

// How long a read or write waits for another process's lock before it gives
// kStatusBusy (5 seconds unless set): SQLite's busy timeout, the server's
// lock_timeout on PostgreSQL. Applies to this thread's open files and to
// every file opened afterwards.
void SetBusyTimeout(std::chrono::milliseconds timeout);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_BTR_FILE_H_
