// The connections of the PostgreSQL engine and the thread's session that
// holds them (internal to the record manager; see pg_store.h).
//
// Each thread has one session: one connection per connection string, which
// serves every schema, the files the thread opened, and the state of its
// transaction and read batch. Inside the thread's transaction a connection
// begins its server transaction at its first statement (Enter), and sends
// the rewrites held back on it (pending_updates.h) before anything else.
//
// A connection's server session waits for another session's lock only as
// long as the busy wait (lock_timeout), and the server ends it when it stays
// idle inside a transaction 10 seconds longer than that
// (idle_in_transaction_session_timeout). Every statement waits for its
// answer until 5 seconds after the busy wait (pg_await.h).
//
// A connection the server ended while it was idle (a restart) is seen
// before the next statement and connected again in place, taking again the
// folder locks it held, when it had begun nothing of the thread's
// transaction; otherwise that transaction died with it and every statement
// fails (2) until the transaction ends. The session notices a fork and
// starts afresh in the child, leaving the parent's connections alone.
//
// Statuses are the record manager's (status.h). Not thread-safe: each
// thread works on its own session only.
#ifndef QZ_PLATFORM_RECORD_PG_CONNECTION_H_
#define QZ_PLATFORM_RECORD_PG_CONNECTION_H_

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/record/pending_updates.h"
#include "platform/record/pg_await.h"
#include "platform/record/store_file.h"
#include "platform/record/thread_session.h"

namespace qz::record::internal::pg {

// The server's type numbers of the parameters the engine sends.
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kTextOid = 25;

// One connection of the thread to one server and database.
struct Conn {
  Conn() = default;
  Conn(const Conn&) = delete;
  Conn& operator=(const Conn&) = delete;
  ~Conn();  // closes `pg`, when set

  PGconn* pg = nullptr;
  std::map<std::string, std::string> prepared;  // statement text -> name
  int applied_timeout = -1;
  bool tx_started = false;  // BEGIN of the session's transaction ran here
  std::set<std::string> folders_held;  // schemas whose folder lock this session holds
  std::uint64_t epoch = 0;  // bumped by every write and transaction end
  PendingUpdates pending;   // rewrites held back inside the transaction
};

// The state of one thread of the engine (CurrentSession).
struct Session {
  int generation = ForkGeneration();
  std::map<std::string, std::shared_ptr<Conn>> conns;     // by connection string
  std::map<std::string, std::weak_ptr<StoreFile>> files;  // by connection, schema, table
  bool in_tx = false;
  bool tx_lost = false;  // a statement failed inside the transaction
  int held_refused = 0;  // the status of the server's refusal of held-back writes in the transaction
  std::uint64_t tx_serial = 0;  // numbers the transactions of the session
  int batch_depth = 0;
  std::chrono::steady_clock::time_point fetched_since;  // the read batch last dropped its blocks
  std::vector<std::shared_ptr<StoreFile>> held;  // closed inside a transaction
};

// The calling thread's session. In a forked child, the parent's session is
// dropped first (its connections are never used or closed there) and a
// fresh one, outside any transaction or read batch, is returned.
Session& CurrentSession();

// Sets the busy wait (milliseconds) of every thread's statements; each
// connection applies it at its next Enter.
void SetBusyTimeoutMs(int ms);

// The thread's connection to `conninfo` (a connection string or URI),
// connected on first use with a connect timeout and keepalives unless
// `conninfo` sets them. A connection the server ended is connected again in
// place (with its folder locks) so that the files open on it stay on it.
// nullptr with `*status` 2 when the server cannot be reached, the
// connection cannot be readied, or it was lost after it had begun the
// thread's transaction; another failure of HoldFolder as it gives.
std::shared_ptr<Conn> Connect(const std::string& conninfo, int* status);

// The value of a binary int8 column of result `r`.
std::int64_t Int8At(const PGresult* r, int row, int col);

// The status of a failed statement's `r` on `c`: 2 when `c`'s connection is
// lost; 84 for a lock not had in time, a deadlock, a serialization failure
// or a cancelled statement; 5 for a duplicate key; 12 for a missing table or
// schema; 46 for what the role may not do; 2 otherwise.
int StatusOfError(const Conn& c, const PGresult* r);

// Readies `c` for a statement: the busy wait set, and inside the thread's
// transaction, the transaction begun. 0 or a failure.
int Enter(Conn& c);

// Runs `sql` (no parameters) on `pg` until the answer deadline (see
// ExecBefore, pg_await.h). The caller has readied the connection (Enter)
// where that is needed.
Result Exec(PGconn* pg, const std::string& sql);

// Runs `sql` with binary parameters and results on `c`, inside the
// thread's transaction when one runs. `sql` is prepared once per
// connection; `n` values of `types` with `lengths`. nullptr with `*status`
// on failure; a failure inside the transaction loses it.
Result Run(Conn& c, const std::string& sql, int n, const Oid* types, const char* const* values, const int* lengths,
           int* status);

// Runs `sql` with the one text parameter `text` on `c`; nullptr with
// `*status` on failure.
Result RunText(Conn& c, const std::string& sql, const std::string& text, int* status);

// Runs a script of statements without parameters (file creation) on `c`.
// 0 or a failure: a failed statement gives 84, 46 or 2.
int RunScript(Conn& c, const std::string& sql);

// Sends the writes held back on `c`, one statement per table. 0 or a
// failure, which the session keeps as `held_refused`; a statement that
// does not change every record it holds loses the transaction.
int SendPending(Conn& c);

// The folder lock of schema `schema`: an advisory lock of the database,
// the first key kFolderLockClass, the second the schema's hash.
// kFolderKey is the lock's key in a statement whose $1 is the schema.
constexpr int kFolderLockClass = 20826;
extern const std::string kFolderKey;

// Takes the shared folder lock of `schema` on `c` once for the session,
// waiting out the exclusive one of a lock check (84 after the busy wait).
// 0 or a failure.
int HoldFolder(Conn& c, const std::string& schema);

}  // namespace qz::record::internal::pg

#endif  // QZ_PLATFORM_RECORD_PG_CONNECTION_H_
