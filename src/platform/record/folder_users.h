// Who else uses a data folder whose record files are on the database
// server (storage_location.h).
//
// Every program that opens a record file of a server folder holds the
// folder's shared session lock for as long as its connection to the server
// lasts (while it has the folder open); ServerFolderUsers asks for that
// lock exclusively, and also looks for the sessions that hold or wait for a
// lock on one of the folder's tables (a transaction over its files). The
// asking program's own session never counts. An SQLite folder has no users
// here: its files are checked as files (file_busy.h,
// platform/system/open_files.h). Call from any thread.
#ifndef QZ_PLATFORM_RECORD_FOLDER_USERS_H_
#define QZ_PLATFORM_RECORD_FOLDER_USERS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/definitions.h"

namespace qz::record {

// One other session using the folder.
struct FolderUser {
  std::int64_t pid = 0;  // the server's process of the session (0: not told)
  std::string who;       // the session's program name and client address
  std::string table;     // the table it holds or waits for; "" for the folder
};

// Fills `users` with the other sessions using `data_folder` (none for an
// SQLite folder). Returns kStatusOk; kStatusFileNotFound when the folder's
// [STORAGE] entry is malformed; another status when the server cannot be
// asked (then nothing may be concluded).
int ServerFolderUsers(const Definitions& definitions, std::string_view data_folder,
                      std::vector<FolderUser>* users);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_FOLDER_USERS_H_
