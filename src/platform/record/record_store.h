// The record manager's engines behind one front (internal to the record
// manager; callers use BtrAccess and btr_file.h).
//
// A file lives where its Location says: an SQLite file (sqlite_store.h) or
// a PostgreSQL table (pg_store.h). Each thread has its own connections to
// each engine and its own transaction, which covers every file the thread
// has open on either engine: BeginTransaction only marks it begun, each
// engine begins at its first statement. The transaction is atomic on each
// engine (on SQLite over all its connections, see sqlite_journals.h); a
// commit that spans both engines commits PostgreSQL first.
//
// A read batch (ReadBatch) lets a run of reads share one read transaction
// instead of taking and dropping each file's lock per read, and lets
// GetNext/GetPrevious keep stepping one statement.
#ifndef QZ_PLATFORM_RECORD_RECORD_STORE_H_
#define QZ_PLATFORM_RECORD_RECORD_STORE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/record/definitions.h"
#include "platform/record/storage_location.h"
#include "platform/record/store_file.h"

namespace qz::record::internal {

// The existing file at `location`, checked against `file_def`; nullptr with
// `*status` 2 (not a record-manager file, or it disagrees with `file_def`),
// 12 (missing), 84 or a connection failure (2).
std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status);
// Gives `file` back; a file closed inside a transaction stays with it until
// the transaction ends.
void ReleaseFile(std::shared_ptr<StoreFile> file);

// Whether the file at `location` exists.
bool StoreFileExists(const Location& location);
// Creates an empty file at `location` for `file_def`. 0, 59 (exists and
// not `replace`) or 2.
int CreateStoreFile(const Location& location, const FileDef& file_def, bool replace);

int BeginTransaction();  // 0 or 37
int CommitTransaction();  // 0, 39 or a failure (the transaction stays for Rollback)
int RollbackTransaction();  // 0 (also without a transaction) or 2
bool InTransaction();
// Sends the writes the engines hold back inside the thread's transaction
// (btr_access.h): 0 (also without a transaction) or the status of the
// server's refusal of held writes, now or earlier in the transaction.
int SendHeldWrites();
// The number of the thread's running transaction (counted from 1); 0
// outside one.
std::uint64_t CurrentTransaction();
// Whether the thread's transaction `number` ended by a rollback.
bool TransactionRolledBack(std::uint64_t number);

// Opens / closes a read batch of this thread (batches nest; the outermost
// ends it).
void BeginReadBatch();
void EndReadBatch();
void ReleaseBatchLocks(bool only_held_long);

// The busy wait of every engine: how long a statement waits for another
// connection's lock before it gives 84.
void SetBusyTimeoutMs(int ms);
int BusyTimeoutMs();

// Tests only: while on, every SQLite statement of this thread's open
// connections is interrupted (as a failing disk would stop a write), so that
// the handling of a transaction that the engine rolled back by itself can be
// shown.
void InterruptWritesForTesting(bool on);
// Tests only, SQLite: while `suffix` is not empty, every write to a record
// file whose path ends in it fails (a failing disk under that file); the
// process ends (_exit(9)) at the `step`-th sync, truncation, removal or
// rename of a commit over several connections (0: never), as a killed
// terminal would. AtCommitStepForTesting: `hook` runs with the step's
// number at each such step (the making of a super-journal counts too),
// before it is taken; empty: off.
void FailFileWritesForTesting(const std::string& suffix);
void DieAtCommitStepForTesting(int step);
void AtCommitStepForTesting(std::function<void(int)> hook);

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_RECORD_STORE_H_
