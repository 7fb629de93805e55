#include "platform/record/pg_connection.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iostream>

#include "platform/record/status.h"

namespace qz::record::internal::pg {

namespace {

// A statement whose answer has not come this long after the busy wait
// (which bounds its waits for locks) meets a server that stopped
// answering: its connection is given up.
constexpr std::chrono::seconds kAnswerMargin{5};

// A session idle inside a transaction this long after the busy wait is
// ended by the server. A live terminal sends its next statement sooner (its
// waits between two statements, for an answer or for another engine's lock,
// end at the busy wait and kAnswerMargin); one cut off from the server
// (packets dropped, power gone) would otherwise leave the server holding
// its transaction's table locks, stopping every other terminal's save, for
// as long as the server's system waits on a silent peer (hours).
constexpr std::chrono::seconds kIdleInTransactionMargin = 2 * kAnswerMargin;

std::atomic<int> g_busy_timeout_ms{5000};

// When the answer of a statement sent now is given up.
Deadline AnswerDeadline() {
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(g_busy_timeout_ms.load()) + kAnswerMargin;
}

}  // namespace

Result Exec(PGconn* pg, const std::string& sql) { return ExecBefore(pg, sql, AnswerDeadline()); }

Conn::~Conn() {
  if (pg) PQfinish(pg);
}

Session& CurrentSession() {
  Session& s = ThreadSession<Session>();
  if (s.generation != ForkGeneration()) {
    // The parent's connections belong to the parent: never used or closed
    // here (closing would end them for the parent too).
    for (auto& [name, c] : s.conns) c->pg = nullptr;
    s.conns.clear();
    s.files.clear();
    s.held.clear();
    s.generation = ForkGeneration();
    s.in_tx = s.tx_lost = false;
    s.batch_depth = 0;
  }
  return s;
}

namespace {

// Readies a connection just made: the server's notices ("already exists,
// skipping") are no news here, and statements wait for answers only until
// their deadline. 0 or 2.
int Ready(PGconn* pg) {
  PQsetNoticeProcessor(pg, [](void*, const char*) {}, nullptr);
  return PrepareForDeadlines(pg) ? kStatusOk : kStatusIoError;
}

// Connects `c` again after its server session ended, and takes again the
// folder locks that ended with it. 0 or a failure.
int Reconnect(Conn& c) {
  PQreset(c.pg);
  if (PQstatus(c.pg) != CONNECTION_OK) {
    std::cerr << "record manager: cannot connect to the database server: " << PQerrorMessage(c.pg);
    return kStatusIoError;
  }
  if (Ready(c.pg) != kStatusOk) return kStatusIoError;
  c.prepared.clear();
  c.applied_timeout = -1;
  std::set<std::string> folders;
  folders.swap(c.folders_held);
  for (const std::string& schema : folders) {
    if (int status = HoldFolder(c, schema); status != kStatusOk) return status;
  }
  return kStatusOk;
}

}  // namespace

std::shared_ptr<Conn> Connect(const std::string& conninfo, int* status) {
  Session& s = CurrentSession();
  auto it = s.conns.find(conninfo);
  if (it != s.conns.end() && it->second->pg && PQstatus(it->second->pg) == CONNECTION_OK) return it->second;
  if (it != s.conns.end() && it->second->tx_started) {
    *status = kStatusIoError;  // the transaction died with its connection
    return nullptr;
  }
  if (it != s.conns.end() && it->second->pg) {
    // Files still open share this connection: it connects again in place,
    // so that one transaction and one commit keep covering all of them.
    *status = Reconnect(*it->second);
    if (*status != kStatusOk) return nullptr;
    return it->second;
  }
  auto c = std::make_shared<Conn>();
  std::string info = conninfo;
  if (info.find("://") == std::string::npos) {
    if (info.find("connect_timeout") == std::string::npos) info += " connect_timeout=10";
    // A server machine that went away without a word (power, network) is
    // noticed within about half a minute instead of the system's hours:
    // the statement then fails as on a lost connection.
    if (info.find("keepalives_idle") == std::string::npos) info += " keepalives_idle=10";
    if (info.find("keepalives_interval") == std::string::npos) info += " keepalives_interval=5";
    if (info.find("keepalives_count") == std::string::npos) info += " keepalives_count=3";
    // The server's list of sessions names the terminal's process.
    info += " fallback_application_name='qz " + std::to_string(getpid()) + "'";
  }
  c->pg = PQconnectdb(info.c_str());
  if (PQstatus(c->pg) != CONNECTION_OK) {
    std::cerr << "record manager: cannot connect to the database server: " << PQerrorMessage(c->pg);
    *status = kStatusIoError;
    return nullptr;
  }
  *status = Ready(c->pg);
  if (*status != kStatusOk) return nullptr;
  s.conns[conninfo] = c;
  return c;
}

std::int64_t Int8At(const PGresult* r, int row, int col) {
  const auto* p = reinterpret_cast<const unsigned char*>(PQgetvalue(r, row, col));
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u = (u << 8) | p[i];
  return static_cast<std::int64_t>(u);
}

int StatusOfError(const Conn& c, const PGresult* r) {
  if (PQstatus(c.pg) != CONNECTION_OK) return kStatusIoError;
  const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
  const std::string_view code = state ? state : "";
  if (code == "55P03" || code == "40P01" || code == "40001" || code == "57014") return kStatusBusy;
  if (code == "23505") return kStatusDuplicateKey;
  if (code == "42P01" || code == "3F000") return kStatusFileNotFound;
  if (code == "42501") return kStatusWriteRefused;  // the role may not
  return kStatusIoError;
}

int Enter(Conn& c) {
  Session& s = CurrentSession();
  if (!c.pg || (s.in_tx && s.tx_lost)) return kStatusIoError;
  // A server that restarted ended the connection while it was idle: that
  // is seen before a statement is sent, so nothing is sent twice.
  if (PQstatus(c.pg) != CONNECTION_OK || SessionEnded(c.pg)) {

    // The server went away: outside a transaction, connect again (a
    // transaction died with its connection).
    if (c.tx_started) return kStatusIoError;
    if (int status = Reconnect(c); status != kStatusOk) return status;
  }
  // lock_timeout 0 would wait without end: no wait is the shortest one.
  const int timeout = std::max(g_busy_timeout_ms.load(), 1);
  if (c.applied_timeout != timeout) {
    const auto idle = std::chrono::milliseconds(timeout) + kIdleInTransactionMargin;
    Result r = Exec(c.pg, "SET lock_timeout = " + std::to_string(timeout) +
                              "; SET idle_in_transaction_session_timeout = " + std::to_string(idle.count()));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) return kStatusIoError;
    c.applied_timeout = timeout;
  }
  if (s.in_tx && !c.tx_started) {
    Result r = Exec(c.pg, "BEGIN");
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) return kStatusIoError;
    c.tx_started = true;
  }
  // Rewrites held back go first, so that the server sees every write in
  // its order.
  if (!c.pending.empty()) return SendPending(c);
  return kStatusOk;
}

Result Run(Conn& c, const std::string& sql, int n, const Oid* types, const char* const* values, const int* lengths,
           int* status) {
  Result none(nullptr, PQclear);
  Session& s = CurrentSession();
  *status = Enter(c);
  if (*status != kStatusOk) return none;
  auto it = c.prepared.find(sql);
  if (it == c.prepared.end()) {
    const std::string name = "q" + std::to_string(c.prepared.size());
    Result r = PrepareBefore(c.pg, name.c_str(), sql.c_str(), n, types, AnswerDeadline());
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
      if (c.tx_started) s.tx_lost = true;
      *status = StatusOfError(c, r.get());
      return none;
    }
    it = c.prepared.emplace(sql, name).first;
  }
  std::vector<int> formats(static_cast<std::size_t>(n), 1);
  Result r = ExecPreparedBefore(c.pg, it->second.c_str(), n, values, lengths, formats.data(), 1, AnswerDeadline());
  const ExecStatusType st = PQresultStatus(r.get());
  if (st == PGRES_TUPLES_OK || st == PGRES_COMMAND_OK) {
    *status = kStatusOk;
    return r;
  }
  if (c.tx_started) s.tx_lost = true;
  *status = StatusOfError(c, r.get());
  return none;
}

int RunScript(Conn& c, const std::string& sql) {
  if (int status = Enter(c); status != kStatusOk) return status;
  Result r = Exec(c.pg, sql);
  const ExecStatusType st = PQresultStatus(r.get());
  if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) return kStatusOk;
  const int status = StatusOfError(c, r.get());
  return status == kStatusBusy || status == kStatusWriteRefused ? status : kStatusIoError;
}

int SendPending(Conn& c) {
  for (const PendingUpdates::Statement& st : c.pending.Take()) {
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (const std::string& p : st.params) {
      values.push_back(p.c_str());
      lengths.push_back(static_cast<int>(p.size()));
    }
    const std::vector<Oid> types(st.params.size(), kTextOid);
    int status = kStatusOk;
    Result r = Run(c, st.sql, static_cast<int>(st.params.size()), types.data(), values.data(), lengths.data(), &status);
    if (r && std::strcmp(PQcmdTuples(r.get()), std::to_string(st.records).c_str()) != 0) {
      CurrentSession().tx_lost = true;
      status = kStatusIoError;
    }
    if (status != kStatusOk) {
      // The writes' own callers were told 0: whoever asks (SendHeldWrites)
      // learns of the refusal, whichever statement sent them.
      Session& s = CurrentSession();
      if (s.held_refused == kStatusOk) s.held_refused = status;
      return status;
    }
  }
  return kStatusOk;
}

const std::string kFolderKey = "(" + std::to_string(kFolderLockClass) + ", hashtext($1))";

Result RunText(Conn& c, const std::string& sql, const std::string& text, int* status) {
  const char* values[1] = {text.c_str()};
  const int lengths[1] = {static_cast<int>(text.size())};
  const Oid types[1] = {kTextOid};
  return Run(c, sql, 1, types, values, lengths, status);
}

int HoldFolder(Conn& c, const std::string& schema) {
  if (c.folders_held.count(schema) != 0) return kStatusOk;
  int status = kStatusOk;
  Result r = RunText(c, "SELECT pg_advisory_lock_shared" + kFolderKey, schema, &status);
  if (!r) return status;
  c.folders_held.insert(schema);
  return kStatusOk;
}

void SetBusyTimeoutMs(int ms) { g_busy_timeout_ms = ms; }

}  // namespace qz::record::internal::pg
