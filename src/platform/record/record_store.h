// The storage of record-manager files (internal to the record manager;
// callers use BtrAccess and btr_file.h).
//
// A record-manager file is an SQLite database holding the record length,
// the key descriptions and the records:
//
//   record_meta(name TEXT PRIMARY KEY, value)       -- "record_length", "format"
//   record_keys(keyno INTEGER PRIMARY KEY, segments TEXT) -- "1:10:A,11:8:N;UNIQUE"
//   records(id INTEGER PRIMARY KEY AUTOINCREMENT,    -- insertion order
//           version INTEGER NOT NULL,                -- bumped on every write
//           data BLOB NOT NULL,                      -- the fixed-length record
//           k0 BLOB NOT NULL, k1 ...)                -- one column per key
//   records_k<n> index on k<n>, UNIQUE for a unique key
//
// Records read in (key, id) order, so duplicates come back in insertion
// order. Journal mode is rollback (DELETE) so that the file may sit in a
// shared folder.
//
// Each thread has one session: a few SQLite connections ("groups"), each
// with up to ten files ATTACHed, in the order the files were first opened.
// A transaction runs on every group of the session; a commit is atomic over
// the files of one group (SQLite's multi-file commit) and the groups commit
// in turn. Inside a transaction each file's write lock is taken at its first
// statement, so that transactions of several processes on one file wait for
// each other (up to the busy timeout) rather than fail. The session notices
// a fork and starts afresh in the child (a child forked while this process
// holds a lock sees that lock as held for good: SQLite's rule).
#ifndef QZ_PLATFORM_RECORD_RECORD_STORE_H_
#define QZ_PLATFORM_RECORD_RECORD_STORE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/definitions.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qz::record::internal {

struct Row {
  std::int64_t id = 0;
  std::int64_t version = 0;
  std::string data;
  std::string key;  // the key column the read went by
};

enum class Seek { kEqual, kGreater, kGreaterOrEqual, kLess, kLessOrEqual, kNext, kPrevious, kFirst, kLast, kCount };

struct Group;

// One open (attached) file, shared by every object of the thread on it.
class StoreFile {
 public:
  StoreFile(std::shared_ptr<Group> group, std::string schema, FileDef file_def);
  ~StoreFile();
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  const FileDef& def() const { return def_; }

  // Reads by key `key`. kNext/kPrevious go on from (`key_bytes`, `id`);
  // kFirst/kLast ignore both; the others compare with `key_bytes` only. 0, 4 (kEqual), 9, or a
  // failure status.
  int Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out);
  // Adds a record; `out` gets its id and version. 0, 5 or a failure.
  int Insert(std::string_view data, Row* out);
  // Rewrites / deletes record `id` when its version is still `version`.
  // 0, 80 (changed or gone), 5 (Update: duplicate unique key) or a failure.
  int Update(std::int64_t id, std::int64_t version, std::string_view data);
  int Delete(std::int64_t id, std::int64_t version);

 private:
  // The cached statement `slot`, prepared from `sql()` on first use.
  sqlite3_stmt* Statement(int slot, const std::function<std::string()>& sql, int* status);
  int Prepare(sqlite3_stmt** stmt);
  // Inside a transaction: begins it on the group and takes the file's write
  // lock at the file's first statement. 0, 84 or a failure.
  int Before();
  int Fail(int rc);

  std::shared_ptr<Group> group_;
  std::string schema_;
  FileDef def_;
  std::vector<sqlite3_stmt*> statements_;  // reads by key and seek, insert, update, delete, lock
  std::uint64_t locked_tx_ = 0;  // the session's transaction that holds the write lock
};

// The file at `path` (which exists), checked against `file_def`; nullptr with
// `*status` 2 (not a record-manager file, or it disagrees with `file_def`), 84
// or 12.
std::shared_ptr<StoreFile> AcquireFile(const std::string& path, const FileDef& file_def, int* status);
// Keeps `file` attached until the running transaction ends (a file cannot
// leave a connection inside a transaction).
void ReleaseFile(std::shared_ptr<StoreFile> file);

int BeginTransaction();
int CommitTransaction();
int RollbackTransaction();
bool InTransaction();
// The number of the running transaction of this thread (transactions are
// numbered from 1); 0 outside one.
std::uint64_t RunningTransaction();
// Whether transaction `serial` of this thread was rolled back (aborted, or
// undone by a commit that could not store it whole).
bool TransactionRolledBack(std::uint64_t serial);

// Creates an empty file at `path` for `file_def`. 0, 59 (exists and not
// `replace`) or 2.
int CreateStoreFile(const std::string& path, const FileDef& file_def, bool replace);

void SetBusyTimeoutMs(int ms);

// Tests only: while on, every statement of this thread's open connections is
// interrupted (as a failing disk would stop a write), so that the handling of
// a transaction that SQLite rolled back by itself can be shown.
void InterruptWritesForTesting(bool on);
int BusyTimeoutMs();

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_RECORD_STORE_H_
