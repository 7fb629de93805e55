#include "platform/record/pg_await.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <iostream>

#include "platform/record/server_statements.h"

namespace qz::record::internal::pg {

namespace {

using Clock = std::chrono::steady_clock;

// Waits until the socket of `pg` is ready for `events` (or has failed) or
// `deadline` has passed. The events that came, or 0 at the deadline.
short WaitFor(PGconn* pg, short events, Deadline deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    pollfd p{PQsocket(pg), events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
    if (n > 0) return p.revents;
    // A failing socket is for libpq to report.
    if (n < 0 && errno != EINTR) return events;
  }
}

// Gives up the connection of a server that did not answer in time.
void Cut(PGconn* pg) {
  std::cerr << "record manager: the database server did not answer in time; its connection is given up\n";
  ::shutdown(PQsocket(pg), SHUT_RDWR);
  PQconsumeInput(pg);  // libpq meets the closed connection: CONNECTION_BAD
}

bool Failed(const PGresult* r) {
  const ExecStatusType st = PQresultStatus(r);
  return st == PGRES_FATAL_ERROR || st == PGRES_BAD_RESPONSE;
}

// Sends what the statement left unsent and collects its results.
Result Collect(PGconn* pg, Deadline deadline) {
  Result last(nullptr, PQclear);
  bool cut = false;
  for (int left = PQflush(pg); left > 0; left = PQflush(pg)) {
    const short ready = WaitFor(pg, POLLIN | POLLOUT, deadline);
    if (ready == 0) {
      Cut(pg);
      cut = true;
      break;
    }
    if ((ready & POLLIN) != 0 && !PQconsumeInput(pg)) break;
  }
  for (;;) {
    while (!cut && PQstatus(pg) == CONNECTION_OK && PQisBusy(pg)) {
      if (WaitFor(pg, POLLIN, deadline) == 0) {
        Cut(pg);
        cut = true;
      } else if (!PQconsumeInput(pg)) {
        break;
      }
    }
    // Does not block now: the answer is there or the connection is lost.
    PGresult* r = PQgetResult(pg);
    if (!r) break;
    // The first failure stands; otherwise the last result.
    if (!last || !Failed(last.get())) {
      last.reset(r);
    } else {
      PQclear(r);
    }
  }
  return last;
}

Result None() { return Result(nullptr, PQclear); }

}  // namespace

bool PrepareForDeadlines(PGconn* pg) { return PQsetnonblocking(pg, 1) == 0; }

bool SessionEnded(PGconn* pg) {
  if (PQstatus(pg) != CONNECTION_OK || PQtransactionStatus(pg) == PQTRANS_ACTIVE) return false;
  // The server's last word (given to the notice processor) and its
  // closing may come in two reads.
  for (int read = 0; read < 4 && PQstatus(pg) == CONNECTION_OK; ++read) {
    pollfd p{PQsocket(pg), POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) break;
    PQconsumeInput(pg);
    while (PGnotify* n = PQnotifies(pg)) PQfreemem(n);
  }
  return PQstatus(pg) != CONNECTION_OK;
}

Result ExecBefore(PGconn* pg, const std::string& sql, Deadline deadline) {
  if (!PQsendQuery(pg, sql.c_str())) return None();
  CountServerStatement();
  return Collect(pg, deadline);
}

Result PrepareBefore(PGconn* pg, const char* name, const char* sql, int n, const Oid* types, Deadline deadline) {
  if (!PQsendPrepare(pg, name, sql, n, types)) return None();
  CountServerStatement();
  return Collect(pg, deadline);
}

Result ExecPreparedBefore(PGconn* pg, const char* name, int n, const char* const* values, const int* lengths,
                          const int* formats, int result_format, Deadline deadline) {
  if (!PQsendQueryPrepared(pg, name, n, values, lengths, formats, result_format)) return None();
  CountServerStatement();
  return Collect(pg, deadline);
}

}  // namespace qz::record::internal::pg
