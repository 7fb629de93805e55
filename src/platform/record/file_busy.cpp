#include "platform/record/file_busy.h"

#include <sqlite3.h>

#include <string>

#include "platform/record/sqlite_journals.h"

namespace qz::record {

bool RecordFileBusy(std::string_view host_path, std::chrono::milliseconds timeout) {
  sqlite3* db = nullptr;
  const std::string path(host_path);
  // Through the engine's VFS: a hot journal a killed commit left is rolled
  // back, not taken for a fault.
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                      internal::sqlite::RecordVfsName()) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, static_cast<int>(timeout.count()));
  int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  const bool busy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
  if (rc == SQLITE_OK) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return busy;
}

}  // namespace qz::record
