// The SQLite engine of the record manager (internal; see record_store.h).
//
// A record file is an SQLite database holding the record length, the key
// descriptions and the records:
//
//   record_meta(name TEXT PRIMARY KEY, value)       -- "record_length", "format"
//   record_keys(keyno INTEGER PRIMARY KEY, segments TEXT) -- "1:10:A,11:8:N;UNIQUE"
//   records(id INTEGER PRIMARY KEY AUTOINCREMENT,    -- insertion order
//           version INTEGER NOT NULL,                -- bumped on every write
//           data BLOB NOT NULL,                      -- the fixed-length record
//           k0 BLOB NOT NULL, k1 ...)                -- one column per key
//   records_k<n> index on k<n>, UNIQUE for a unique key
//
// Journal mode is rollback (DELETE) so that the file may sit in a shared
// folder of one machine. A folder on a network file system is used, but
// warned about once (locks there may be local only).
//
// Each thread has one session: a few SQLite connections ("groups"), each
// with up to ten files ATTACHed, in the order the files were first opened.
// A connection's main database is the folder's transaction helper file
// (.qzrecord-tx), so that the journal of a commit over several files lives
// with them; when it cannot be opened, a write inside a transaction on that
// connection fails with 2 rather than commit without that journal. A
// transaction runs on every group of the session; a commit is atomic over
// the files of one group (SQLite's multi-file commit), and over several
// groups through the engine's VFS, which holds each group's commit until
// all have committed (sqlite_journals.h). The first open of a folder in a
// process cleans what a process killed in a commit left there. Inside a
// transaction each file's write lock is taken at its first
// statement, so that transactions of several processes on one file wait for
// each other (up to the busy timeout) rather than fail. The session notices
// a fork and starts afresh in the child (a child forked while this process
// holds a lock sees that lock as held for good: SQLite's rule).
//
// Inside a read batch, the reads of a connection share one read transaction
// (held at most a fraction of a second at a time, so that other processes'
// writes wait only briefly) and GetNext/GetPrevious step one statement.
#ifndef QZ_PLATFORM_RECORD_SQLITE_STORE_H_
#define QZ_PLATFORM_RECORD_SQLITE_STORE_H_

#include "platform/record/store_engine.h"

namespace qz::record::internal::sqlite {

// The engine (one for the process; its state is per thread).
StoreEngine& SqliteEngine();

// Tests only: while on, every statement of this thread's open connections
// is interrupted (as a failing disk would stop a write), so that the
// handling of a transaction that SQLite rolled back by itself can be shown.
void InterruptWritesForTesting(bool on);

}  // namespace qz::record::internal::sqlite

#endif  // QZ_PLATFORM_RECORD_SQLITE_STORE_H_
