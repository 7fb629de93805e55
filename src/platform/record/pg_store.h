// The PostgreSQL engine of the record manager (internal; see
// record_store.h and storage_location.h).
//
// A folder is a schema; in it, each record file is a table named as the
// file in upper case, and the table qz_record_files holds each file's
// record length and keys:
//
//   qz_record_files(name TEXT PRIMARY KEY, record_length INT, keys TEXT)
//   "<FILE>"(id BIGSERIAL PRIMARY KEY,       -- insertion order
//            version BIGINT NOT NULL,        -- bumped on every write
//            data BYTEA NOT NULL,            -- the fixed-length record
//            k0 BYTEA NOT NULL, k1 ...)      -- one column per key
//   index on (k<n>, id) for the key order, and UNIQUE (k<n>) for a unique key
//
// Each thread has one connection per connection string, which serves every
// schema; the thread's transaction is one server transaction over all its
// files. As on SQLite, a file's first statement inside a transaction takes
// the file's write lock (a table lock that reads outside transactions never
// wait for), so that transactions of several terminals on one file take
// turns and a check followed by a write in one transaction is one step. A
// statement that waits for another terminal's lock longer than the busy
// wait (the server's lock_timeout; a wait of 0 is the shortest one, never
// one without end) gives 84; an error inside a transaction leaves it able
// only to roll back (EndTrans then rolls back and gives 2); one that the
// role may not make gives 46. A connection the server ended while it was
// idle (a restart) is seen before the next statement and connected again
// in place when it had begun nothing of the thread's transaction, so that
// statement goes through; one lost during a statement fails that statement
// (2), and the next one outside a transaction connects it again. Either
// way every file opened before and after stays on the one connection, and
// the session takes its folder locks again. A statement whose answer has
// not come 5 seconds after the busy wait gives up its connection
// (pg_await.h) and fails with 2, as on a lost connection. A session idle
// inside a transaction 10 seconds longer than the busy wait is ended by the
// server (idle_in_transaction_session_timeout), so that a terminal cut off
// from the network gives back the table locks of its transaction.
// The session notices a fork and connects afresh in the child, leaving the
// parent's connection alone.
//
// A session that opens a file of a schema holds the schema's folder lock
// (a shared advisory lock) for as long as it lasts; FolderUsers asks for it
// exclusively, to see whether another session uses the folder.
//
// Inside a read batch or a transaction, GetNext/GetPrevious fetch the
// following records in blocks and answer from them while nothing was
// written on the connection. A read batch that has held its blocks for a
// tenth of a second checks them at its next read or yield, in one statement
// per connection: a file whose blocks the server no longer holds exactly
// (ids and versions) fetches afresh, the others keep theirs, so that
// another terminal's write shows as soon as before without fetching again
// what nobody changed. A file's stored layout is asked at each open, in
// one statement once the connection holds the folder lock (that lock keeps
// no other program from making the file again: btrutil, a conversion); the
// role's right to write it at the open file's first transaction.
//
// Inside a transaction that holds a file's lock, rewrites and inserts whose
// status is known before the server answers are held back and sent as one
// statement per table (pending_updates.h); an insert so held takes its id
// from ids the transaction took from the table's sequence in blocks, so
// that records keep the order of their inserts.
#ifndef QZ_PLATFORM_RECORD_PG_STORE_H_
#define QZ_PLATFORM_RECORD_PG_STORE_H_

#include <vector>

#include "platform/record/folder_users.h"
#include "platform/record/store_engine.h"

namespace qz::record::internal::pg {

// The engine (one for the process; its state is per thread).
StoreEngine& PgEngine();

// The other sessions that use the folder (schema) of `location`, on the
// thread's connection (outside a transaction): holders of its folder lock
// and holders of, or waiters for, a lock on one of its tables. 0 or a
// failure.
int FolderUsers(const Location& location, std::vector<FolderUser>* users);

}  // namespace qz::record::internal::pg

#endif  // QZ_PLATFORM_RECORD_PG_STORE_H_
