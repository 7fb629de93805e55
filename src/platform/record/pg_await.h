// Statements of the PostgreSQL engine that wait for the server's answer
// only until a deadline (internal to the record manager; see pg_store.h).
//
// A server that stops answering without closing the connection (a network
// that drops its packets, a machine that lost power) would leave a blocking
// statement waiting for the system's retransmission limits, a quarter of an
// hour by default. These functions send a statement without blocking and
// wait for its answer with poll(); at the deadline they cut the connection
// (its socket is shut down, so libpq reports it lost from then on) and the
// statement fails as on any lost connection. The server notices the cut
// when its peer's closing reaches it, and rolls back what the connection
// had begun.
//
// They also tell whether the server ended an idle connection (a restart,
// an administrator's termination): what the server sent meanwhile is read
// without waiting.
//
// Every function works on one connection of the calling thread; each
// statement sent is counted (ServerStatements, server_statements.h).
#ifndef QZ_PLATFORM_RECORD_PG_AWAIT_H_
#define QZ_PLATFORM_RECORD_PG_AWAIT_H_

#include <libpq-fe.h>

#include <chrono>
#include <memory>
#include <string>

namespace qz::record::internal::pg {

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;
using Deadline = std::chrono::steady_clock::time_point;

// Readies a connection made by PQconnectdb or PQreset for these functions
// (non-blocking sends). False when libpq refuses.
bool PrepareForDeadlines(PGconn* pg);

// Whether the server has ended the idle connection `pg`: reads, without
// waiting, what arrived on it since its last statement. A connection that
// is not idle or not open is left as it is (false).
bool SessionEnded(PGconn* pg);

// Runs `sql` (one or more statements without parameters) on `pg`, waiting
// for the answer until `deadline`. The result of the last statement, or of
// the first that failed; a failed result or nullptr when the connection is
// lost or cut (PQstatus then tells CONNECTION_BAD).
Result ExecBefore(PGconn* pg, const std::string& sql, Deadline deadline);

// PQprepare with a deadline; see ExecBefore.
Result PrepareBefore(PGconn* pg, const char* name, const char* sql, int n, const Oid* types, Deadline deadline);

// PQexecPrepared with a deadline; see ExecBefore.
Result ExecPreparedBefore(PGconn* pg, const char* name, int n, const char* const* values, const int* lengths,
                          const int* formats, int result_format, Deadline deadline);

}  // namespace qz::record::internal::pg

#endif  // QZ_PLATFORM_RECORD_PG_AWAIT_H_
