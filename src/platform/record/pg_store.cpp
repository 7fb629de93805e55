#include "platform/record/pg_store.h"

#include <libpq-fe.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "platform/record/pg_await.h"
#include "platform/record/pending_updates.h"
#include "platform/record/read_ahead.h"
#include "platform/record/record_codec.h"
#include "platform/record/status.h"
#include "platform/record/thread_session.h"

namespace qz::record::internal::pg {

void ReleaseBatchLocks(bool only_held_long);

namespace {

constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kTextOid = 25;
constexpr std::size_t kScanBlock = 128;  // records a scan fetches at once
constexpr std::size_t kScanBlockMost = 1024;
constexpr const char* kMetaTable = "qz_record_files";
// A read batch's blocks are dropped at a yield after this long, so that
// another terminal's write shows within about this long.
constexpr std::chrono::milliseconds kFetchedHold{100};

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

// Runs `sql` (no parameters) on `pg` until the answer deadline.
Result Exec(PGconn* pg, const std::string& sql) { return ExecBefore(pg, sql, AnswerDeadline()); }

// `text` between `quote`s, a quote inside doubled.
std::string Quoted(std::string_view text, char quote) {
  std::string out(1, quote);
  for (char c : text) {
    if (c == quote) out += quote;
    out += c;
  }
  return out + quote;
}

std::string Quote(std::string_view name) { return Quoted(name, '"'); }
std::string Literal(std::string_view text) { return Quoted(text, '\''); }

std::string KeysText(const FileDef& def) {
  std::string out;
  for (const KeyDef& k : def.keys) out += (out.empty() ? "" : "|") + FormatKey(k);
  return out;
}

// A binary int8 parameter.
struct Int8 {
  char bytes[8];
  explicit Int8(std::int64_t v) {
    auto u = static_cast<std::uint64_t>(v);
    for (int i = 7; i >= 0; --i) {
      bytes[i] = static_cast<char>(u & 0xFF);
      u >>= 8;
    }
  }
};

std::int64_t Int8At(const PGresult* r, int row, int col) {
  const auto* p = reinterpret_cast<const unsigned char*>(PQgetvalue(r, row, col));
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u = (u << 8) | p[i];
  return static_cast<std::int64_t>(u);
}

// One connection of the thread to one server and database.
struct Conn {
  PGconn* pg = nullptr;
  std::map<std::string, std::string> prepared;  // statement text -> name
  int applied_timeout = -1;
  bool tx_started = false;  // BEGIN of the session's transaction ran here
  std::set<std::string> folders_held;  // schemas whose folder lock this session holds
  std::uint64_t epoch = 0;  // bumped by every write and transaction end
  PendingUpdates pending;   // rewrites held back inside the transaction
  ~Conn() {
    if (pg) PQfinish(pg);
  }
};

struct Session {
  int generation = ForkGeneration();
  std::map<std::string, std::shared_ptr<Conn>> conns;     // by connection string
  std::map<std::string, std::weak_ptr<StoreFile>> files;  // by connection, schema, table
  bool in_tx = false;
  bool tx_lost = false;  // a statement failed inside the transaction
  std::uint64_t tx_serial = 0;  // numbers the transactions of the session
  int batch_depth = 0;
  std::chrono::steady_clock::time_point fetched_since;  // the read batch last dropped its blocks
  std::vector<std::shared_ptr<StoreFile>> held;  // closed inside a transaction
};

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

int HoldFolder(Conn& c, const std::string& schema);

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

// The status of a failed statement's `r` on `c`.
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

int SendPending(Conn& c);

// Readies `c` for a statement: the busy wait set, and inside the thread's
// transaction, the transaction begun. 0 or a failure.
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

// Runs `sql` with binary parameters and results on `c`, inside the
// thread's transaction when one runs. nullptr with `*status` on failure.
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

// Runs a script of statements without parameters (file creation).
int RunScript(Conn& c, const std::string& sql) {
  if (int status = Enter(c); status != kStatusOk) return status;
  Result r = Exec(c.pg, sql);
  const ExecStatusType st = PQresultStatus(r.get());
  if (st == PGRES_COMMAND_OK || st == PGRES_TUPLES_OK) return kStatusOk;
  const int status = StatusOfError(c, r.get());
  return status == kStatusBusy || status == kStatusWriteRefused ? status : kStatusIoError;
}

// Sends the rewrites held back on `c`, one statement per table. 0 or a
// failure; a statement that does not change every record it holds loses
// the transaction.
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
    if (!r) return status;
    if (std::strcmp(PQcmdTuples(r.get()), std::to_string(st.records).c_str()) != 0) {
      CurrentSession().tx_lost = true;
      return kStatusIoError;
    }
  }
  return kStatusOk;
}

// Row `i` of the result `r` of a read (id, version, data, key).
void RowAt(const PGresult* r, int i, Row* row) {
  row->id = Int8At(r, i, 0);
  row->version = Int8At(r, i, 1);
  row->data.assign(PQgetvalue(r, i, 2), static_cast<std::size_t>(PQgetlength(r, i, 2)));
  row->key.assign(PQgetvalue(r, i, 3), static_cast<std::size_t>(PQgetlength(r, i, 3)));
}

class PgFile : public StoreFile {
 public:
  PgFile(std::shared_ptr<Conn> conn, const Location& location, FileDef file_def)
      : conn_(std::move(conn)), table_(Quote(location.schema) + "." + Quote(location.table)),
        def_(std::move(file_def)), cursors_(def_.keys.size() * 2), read_ahead_(def_) {}

  Engine engine() const override { return Engine::kPostgres; }
  const FileDef& def() const override { return def_; }
  int Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out) override;
  int ReadInOrder(std::int64_t after_id, Row* out) override;
  int Insert(std::string_view data, Row* out) override;
  int Update(std::int64_t id, std::int64_t version, std::string_view data) override;
  int Delete(std::int64_t id, std::int64_t version) override;

 private:
  // The records a scan fetched after `anchor`; `next` is the one to give.
  struct Cursor {
    bool valid = false;
    std::uint64_t epoch = 0;
    std::string anchor_key;
    std::int64_t anchor_id = 0;
    std::vector<Row> rows;
    std::size_t next = 0;
    bool complete = false;  // nothing follows the last row
  };

  std::string ReadSql(int key, Seek seek, std::size_t limit) const;
  // Keyed reads answered from records fetched ahead: inside a read batch,
  // and inside a transaction that holds the file's lock.
  bool ReadsAhead() const;
  int FetchSpan(int key, const KeySpanCache::Gap& gap, std::size_t limit, std::vector<Row>* rows);
  // Holds back a rewrite whose outcome is known (pending_updates.h): 0, or
  // -1 when it must run at once.
  int HoldBack(std::int64_t id, std::int64_t version, std::string_view data);
  // After this thread's write inside a transaction that holds the file's
  // lock: the records fetched ahead go on with the write applied.
  void CarryWrite(std::uint64_t before, std::int64_t id, std::int64_t version, std::optional<std::string_view> data);
  // Inside a transaction: takes the file's write lock at the file's first
  // statement, waiting out another terminal's transaction on the file (84
  // after the busy wait), as the SQLite engine does; a file this user may
  // not write is read without it. 0 or a failure.
  int Before();
  // Runs a write; bumps the connection's epoch.
  Result Write(const std::string& sql, const std::vector<std::string_view>& params, const std::vector<Oid>& types,
               int* status);

  std::shared_ptr<Conn> conn_;
  std::string table_;
  FileDef def_;
  std::vector<Cursor> cursors_;  // kNext and kPrevious of each key
  int writable_ = -1;            // the user may write the table: 1, 0, or -1 not yet asked
  std::uint64_t locked_tx_ = 0;  // the session's transaction that holds the lock
  ReadAhead read_ahead_;
};

bool PgFile::ReadsAhead() const {
  const Session& s = CurrentSession();
  return s.in_tx ? writable_ == 1 && locked_tx_ == s.tx_serial && !s.tx_lost : s.batch_depth > 0;
}

int PgFile::FetchSpan(int key, const KeySpanCache::Gap& gap, std::size_t limit, std::vector<Row>* rows) {
  const std::string k = "k" + std::to_string(key);
  const Int8 limit_param(static_cast<std::int64_t>(limit));
  const std::string_view end = gap.end ? std::string_view(*gap.end) : std::string_view();
  const char* values[3] = {limit_param.bytes, gap.start.data(), end.data()};
  const int lengths[3] = {8, static_cast<int>(gap.start.size()), static_cast<int>(end.size())};
  const Oid types[3] = {kInt8Oid, kByteaOid, kByteaOid};
  int status = kStatusOk;
  Result r = Run(*conn_,
                 "SELECT id, version, data, " + k + " FROM " + table_ + " WHERE " + k + " >= $2" +
                     (gap.end ? " AND " + k + " < $3" : "") + " ORDER BY " + k + ", id LIMIT $1",
                 gap.end ? 3 : 2, types, values, lengths, &status);
  if (!r) return status;
  rows->resize(static_cast<std::size_t>(PQntuples(r.get())));
  for (int i = 0; i < PQntuples(r.get()); ++i) RowAt(r.get(), i, &(*rows)[static_cast<std::size_t>(i)]);
  return kStatusOk;
}

int PgFile::HoldBack(std::int64_t id, std::int64_t version, std::string_view data) {
  if (!CurrentSession().in_tx || !ReadsAhead()) return -1;
  const Row* row = read_ahead_.Find(id, conn_->epoch);
  if (row == nullptr || row->version != version) return -1;
  std::vector<std::string> keys;
  for (const KeyDef& key : def_.keys) {
    keys.push_back(BuildKey(data, key));
    if (key.unique && keys.back() != BuildKey(row->data, key)) return -1;
  }
  conn_->pending.Add(table_, id, version, data, keys);
  CarryWrite(conn_->epoch++, id, version + 1, data);
  return kStatusOk;
}

void PgFile::CarryWrite(std::uint64_t before, std::int64_t id, std::int64_t version,
                        std::optional<std::string_view> data) {
  if (CurrentSession().in_tx && ReadsAhead()) read_ahead_.Carry(before, conn_->epoch, id, version, data);
}

int PgFile::Before() {
  Session& s = CurrentSession();
  if (!s.in_tx || locked_tx_ == s.tx_serial) return kStatusOk;
  int status = Enter(*conn_);
  if (status != kStatusOk) return status;
  if (writable_ < 0) {
    const char* values[1] = {table_.c_str()};
    const int lengths[1] = {static_cast<int>(table_.size())};
    const Oid types[1] = {kTextOid};
    Result r = Run(*conn_, "SELECT has_table_privilege($1, 'INSERT, UPDATE, DELETE')", 1, types, values, lengths,
                   &status);
    if (!r) return status;
    writable_ = PQntuples(r.get()) == 1 && *PQgetvalue(r.get(), 0, 0) != 0;
  }
  if (writable_) {
    Result r = Exec(conn_->pg, "LOCK TABLE " + table_ + " IN SHARE ROW EXCLUSIVE MODE");
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
      s.tx_lost = true;
      return StatusOfError(*conn_, r.get());
    }
  }
  locked_tx_ = s.tx_serial;
  return kStatusOk;
}

std::string PgFile::ReadSql(int key, Seek seek, std::size_t limit) const {
  const std::string k = "k" + std::to_string(key);
  const std::string asc = " ORDER BY " + k + ", id", desc = " ORDER BY " + k + " DESC, id DESC";
  std::string where, order = asc;
  switch (seek) {
    case Seek::kEqual: where = k + " = $1"; break;
    case Seek::kGreater: where = k + " > $1"; break;
    case Seek::kGreaterOrEqual: where = k + " >= $1"; break;
    case Seek::kLess: where = k + " < $1"; order = desc; break;
    case Seek::kLessOrEqual: where = k + " <= $1"; order = desc; break;
    case Seek::kNext: where = "(" + k + ", id) > ($1, $2)"; break;
    case Seek::kPrevious: where = "(" + k + ", id) < ($1, $2)"; order = desc; break;
    case Seek::kFirst: where = "TRUE"; break;
    case Seek::kLast: where = "TRUE"; order = desc; break;
    case Seek::kCount: break;
  }
  return "SELECT id, version, data, " + k + " FROM " + table_ + " WHERE " + where + order + " LIMIT " +
         std::to_string(limit);
}

int PgFile::Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out) {
  if (seek == Seek::kCount) return kStatusIoError;
  if (int status = Before(); status != kStatusOk) return status;
  const Session& s = CurrentSession();
  if (ReadsAhead()) {
    if (!s.in_tx && std::chrono::steady_clock::now() - s.fetched_since > kFetchedHold) {
      ReleaseBatchLocks(true);  // records fetched long ago are fetched afresh
    }
    auto fetch = [this](int k, const KeySpanCache::Gap& gap, std::size_t limit, std::vector<Row>* rows) {
      return FetchSpan(k, gap, limit, rows);
    };
    if (std::optional<int> answer = read_ahead_.Read(key, seek, key_bytes, id, out, conn_->epoch, fetch)) {
      return *answer;
    }
  }
  const bool scan = seek == Seek::kNext || seek == Seek::kPrevious;
  Cursor* cursor = scan && (s.in_tx || s.batch_depth > 0)
                       ? &cursors_[static_cast<std::size_t>(key * 2 + (seek == Seek::kPrevious))]
                       : nullptr;
  if (cursor && !s.in_tx && cursor->valid && std::chrono::steady_clock::now() - s.fetched_since > kFetchedHold) {
    ReleaseBatchLocks(true);  // blocks fetched long ago are fetched afresh
  }
  if (cursor && cursor->valid && cursor->epoch == conn_->epoch) {
    const bool at_anchor = cursor->next == 0 && cursor->anchor_id == id && cursor->anchor_key == key_bytes;
    const bool at_row = cursor->next > 0 && cursor->rows[cursor->next - 1].id == id &&
                        cursor->rows[cursor->next - 1].key == key_bytes;
    if (at_anchor || at_row) {
      if (cursor->next < cursor->rows.size()) {
        *out = cursor->rows[cursor->next++];
        return kStatusOk;
      }
      if (cursor->complete) return kStatusEndOfFile;
    }
  }
  // A scan that goes on fetches larger blocks, up to kScanBlockMost.
  const std::size_t limit =
      !cursor ? 1 : cursor->valid && cursor->complete == false && !cursor->rows.empty()
                        ? std::min(cursor->rows.size() * 2, kScanBlockMost)
                        : kScanBlock;
  const Int8 id_param(id);
  const char* values[2] = {key_bytes.data(), id_param.bytes};
  const int lengths[2] = {static_cast<int>(key_bytes.size()), 8};
  const Oid types[2] = {kByteaOid, kInt8Oid};
  const int n = seek == Seek::kFirst || seek == Seek::kLast ? 0 : scan ? 2 : 1;
  int status = kStatusOk;
  Result r = Run(*conn_, ReadSql(key, seek, limit), n, types, values, lengths, &status);
  if (!r) return status;
  const int rows = PQntuples(r.get());
  auto row_at = [&](int i, Row* row) { RowAt(r.get(), i, row); };
  if (cursor) {
    cursor->valid = true;
    cursor->epoch = conn_->epoch;
    cursor->anchor_key.assign(key_bytes);
    cursor->anchor_id = id;
    cursor->rows.resize(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) row_at(i, &cursor->rows[static_cast<std::size_t>(i)]);
    cursor->complete = static_cast<std::size_t>(rows) < limit;
    cursor->next = 0;
    if (rows == 0) return kStatusEndOfFile;
    *out = cursor->rows[cursor->next++];
    return kStatusOk;
  }
  if (rows == 0) return seek == Seek::kEqual ? kStatusNotFound : kStatusEndOfFile;
  row_at(0, out);
  return kStatusOk;
}

int PgFile::ReadInOrder(std::int64_t after_id, Row* out) {
  if (int status = Before(); status != kStatusOk) return status;
  const Int8 id_param(after_id);
  const char* values[1] = {id_param.bytes};
  const int lengths[1] = {8};
  const Oid types[1] = {kInt8Oid};
  int status = kStatusOk;
  Result r = Run(*conn_, "SELECT id, version, data FROM " + table_ + " WHERE id > $1 ORDER BY id LIMIT 1", 1, types,
                 values, lengths, &status);
  if (!r) return status;
  if (PQntuples(r.get()) == 0) return kStatusEndOfFile;
  out->id = Int8At(r.get(), 0, 0);
  out->version = Int8At(r.get(), 0, 1);
  out->data.assign(PQgetvalue(r.get(), 0, 2), static_cast<std::size_t>(PQgetlength(r.get(), 0, 2)));
  out->key.clear();
  return kStatusOk;
}

Result PgFile::Write(const std::string& sql, const std::vector<std::string_view>& params,
                     const std::vector<Oid>& types, int* status) {
  ++conn_->epoch;
  *status = Before();
  if (*status != kStatusOk) return Result(nullptr, PQclear);
  std::vector<const char*> values;
  std::vector<int> lengths;
  for (std::string_view p : params) {
    values.push_back(p.data());
    lengths.push_back(static_cast<int>(p.size()));
  }
  return Run(*conn_, sql, static_cast<int>(params.size()), types.data(), values.data(), lengths.data(), status);
}

int PgFile::Insert(std::string_view data, Row* out) {
  std::string cols, vals;
  std::vector<std::string> keys;
  std::vector<std::string_view> params{data};
  std::vector<Oid> types{kByteaOid};
  for (std::size_t i = 0; i < def_.keys.size(); ++i) {
    cols += ", k" + std::to_string(i);
    vals += ", $" + std::to_string(i + 2);
    keys.push_back(BuildKey(data, def_.keys[i]));
    types.push_back(kByteaOid);
  }
  for (const std::string& k : keys) params.push_back(k);
  const std::string sql = "INSERT INTO " + table_ + "(version, data" + cols + ") VALUES (1, $1" + vals +
                          ") ON CONFLICT DO NOTHING RETURNING id";
  int status = kStatusOk;
  const std::uint64_t before = conn_->epoch;
  Result r = Write(sql, params, types, &status);
  if (!r) return status;
  if (PQntuples(r.get()) == 0) return kStatusDuplicateKey;
  out->id = Int8At(r.get(), 0, 0);
  out->version = 1;
  out->data.assign(data);
  CarryWrite(before, out->id, 1, data);
  return kStatusOk;
}

int PgFile::Update(std::int64_t id, std::int64_t version, std::string_view data) {
  if (HoldBack(id, version, data) == kStatusOk) return kStatusOk;
  std::string sets, unique;
  std::vector<std::string> keys;
  const Int8 id_param(id), version_param(version);
  std::vector<std::string_view> params{data, std::string_view(id_param.bytes, 8),
                                       std::string_view(version_param.bytes, 8)};
  std::vector<Oid> types{kByteaOid, kInt8Oid, kInt8Oid};
  for (std::size_t i = 0; i < def_.keys.size(); ++i) {
    const std::string k = "k" + std::to_string(i), p = "$" + std::to_string(i + 4);
    sets += ", " + k + " = " + p;
    if (def_.keys[i].unique) unique += std::string(unique.empty() ? "" : " OR ") + "o." + k + " = " + p;
    keys.push_back(BuildKey(data, def_.keys[i]));
    types.push_back(kByteaOid);
  }
  for (const std::string& k : keys) params.push_back(k);
  // A duplicate unique key is answered without an error, which would end
  // the transaction.
  std::string sql = "UPDATE " + table_ + " SET version = version + 1, data = $1" + sets +
                    " WHERE id = $2 AND version = $3";
  if (!unique.empty()) sql += " AND NOT EXISTS (SELECT 1 FROM " + table_ + " o WHERE o.id <> $2 AND (" + unique + "))";
  int status = kStatusOk;
  const std::uint64_t before = conn_->epoch;
  Result r = Write(sql, params, types, &status);
  if (!r) return status;
  if (std::strcmp(PQcmdTuples(r.get()), "1") == 0) {
    CarryWrite(before, id, version + 1, data);
    return kStatusOk;
  }
  if (unique.empty()) return kStatusChanged;
  const char* values[2] = {id_param.bytes, version_param.bytes};
  const int lengths[2] = {8, 8};
  const Oid check_types[2] = {kInt8Oid, kInt8Oid};
  Result still = Run(*conn_, "SELECT 1 FROM " + table_ + " WHERE id = $1 AND version = $2", 2, check_types, values,
                     lengths, &status);
  if (!still) return status;
  return PQntuples(still.get()) == 1 ? kStatusDuplicateKey : kStatusChanged;
}

int PgFile::Delete(std::int64_t id, std::int64_t version) {
  const Int8 id_param(id), version_param(version);
  int status = kStatusOk;
  const std::uint64_t before = conn_->epoch;
  Result r = Write("DELETE FROM " + table_ + " WHERE id = $1 AND version = $2",
                   {std::string_view(id_param.bytes, 8), std::string_view(version_param.bytes, 8)},
                   {kInt8Oid, kInt8Oid}, &status);
  if (!r) return status;
  if (std::strcmp(PQcmdTuples(r.get()), "1") != 0) return kStatusChanged;
  CarryWrite(before, id, 0, std::nullopt);
  return kStatusOk;
}

std::string FileKey(const Location& l) { return l.conninfo + '\n' + l.schema + '\n' + l.table; }

// The stored record length and keys of `l`'s file: 0, 12 (no such file) or
// a failure.
int ReadMeta(Conn& c, const Location& l, int* record_length, std::string* keys) {
  const std::string meta = Quote(l.schema) + "." + kMetaTable;
  int status = kStatusOk;
  const std::string regclass = Quote(l.schema) + "." + Quote(l.table);
  const char* values[2] = {meta.c_str(), regclass.c_str()};
  const int lengths[2] = {static_cast<int>(meta.size()), static_cast<int>(regclass.size())};
  const Oid types[2] = {kTextOid, kTextOid};
  Result r = Run(c, "SELECT to_regclass($1) IS NOT NULL AND to_regclass($2) IS NOT NULL", 2, types, values, lengths,
                 &status);
  if (!r) return status;
  if (PQntuples(r.get()) != 1 || *PQgetvalue(r.get(), 0, 0) == 0) return kStatusFileNotFound;
  const char* name[1] = {l.table.c_str()};
  const int name_length[1] = {static_cast<int>(l.table.size())};
  r = Run(c, "SELECT record_length::int8, keys FROM " + meta + " WHERE name = $1", 1, types, name, name_length,
          &status);
  if (!r) return status;
  if (PQntuples(r.get()) != 1) return kStatusFileNotFound;
  *record_length = static_cast<int>(Int8At(r.get(), 0, 0));
  keys->assign(PQgetvalue(r.get(), 0, 1), static_cast<std::size_t>(PQgetlength(r.get(), 0, 1)));
  return kStatusOk;
}

// The folder lock of schema `schema`: an advisory lock of the database,
// the first key kFolderLockClass, the second the schema's hash.
constexpr int kFolderLockClass = 20826;
const std::string kFolderKey = "(" + std::to_string(kFolderLockClass) + ", hashtext($1))";

// Runs `sql` with the one text parameter `text` on `c`; nullptr with
// `*status` on failure.
Result RunText(Conn& c, const std::string& sql, const std::string& text, int* status) {
  const char* values[1] = {text.c_str()};
  const int lengths[1] = {static_cast<int>(text.size())};
  const Oid types[1] = {kTextOid};
  return Run(c, sql, 1, types, values, lengths, status);
}

// Takes the shared folder lock of `schema` on `c` once for the session,
// waiting out the exclusive one of a lock check (84 after the busy wait).
int HoldFolder(Conn& c, const std::string& schema) {
  if (c.folders_held.count(schema) != 0) return kStatusOk;
  int status = kStatusOk;
  Result r = RunText(c, "SELECT pg_advisory_lock_shared" + kFolderKey, schema, &status);
  if (!r) return status;
  c.folders_held.insert(schema);
  return kStatusOk;
}

}  // namespace

int FolderUsers(const Location& location, std::vector<FolderUser>* users) {
  users->clear();
  int status = kStatusOk;
  auto conn = Connect(location.conninfo, &status);
  if (!conn) return status;
  // The exclusive lock, had and given back at once: no other session holds
  // the shared one. This session's own never stands in the way.
  Result r = RunText(*conn, "SELECT pg_try_advisory_lock" + kFolderKey, location.schema, &status);
  if (!r) return status;
  const bool free = PQntuples(r.get()) == 1 && *PQgetvalue(r.get(), 0, 0) != 0;
  if (free) {
    r = RunText(*conn, "SELECT pg_advisory_unlock" + kFolderKey, location.schema, &status);
    if (!r) return status;
  }
  const std::string here = " AND l.pid <> pg_backend_pid()"
                           " AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database())";
  const std::string who = "COALESCE(a.application_name, '') || ' ' || COALESCE(host(a.client_addr), 'local')";
  r = RunText(*conn,
              "SELECT DISTINCT l.pid::int8, " + who + ", ''::text FROM pg_locks l LEFT JOIN pg_stat_activity a ON a.pid = l.pid"
              " WHERE l.locktype = 'advisory' AND l.classid = " + std::to_string(kFolderLockClass) +
                  " AND l.objsubid = 2 AND l.objid = (hashtext($1)::int8 & 4294967295)::oid" + here +
                  " UNION SELECT DISTINCT l.pid::int8, " + who +
                  ", c.relname::text FROM pg_locks l JOIN pg_class c ON c.oid = l.relation"
                  " JOIN pg_namespace n ON n.oid = c.relnamespace LEFT JOIN pg_stat_activity a ON a.pid = l.pid"
                  " WHERE l.locktype = 'relation' AND n.nspname = $1" + here + " ORDER BY 1, 3",
              location.schema, &status);
  if (!r) return status;
  for (int i = 0; i < PQntuples(r.get()); ++i) {
    users->push_back(FolderUser{Int8At(r.get(), i, 0),
                                std::string(PQgetvalue(r.get(), i, 1), static_cast<std::size_t>(PQgetlength(r.get(), i, 1))),
                                std::string(PQgetvalue(r.get(), i, 2), static_cast<std::size_t>(PQgetlength(r.get(), i, 2)))});
  }
  // The lock taken between the two questions still counts.
  if (!free && users->empty()) users->push_back(FolderUser{0, "", ""});
  return kStatusOk;
}

std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) {
  Session& s = CurrentSession();
  const std::string key = FileKey(location);
  auto it = s.files.find(key);
  if (it != s.files.end()) {
    if (auto f = it->second.lock()) {
      *status = f->def() == file_def ? kStatusOk : kStatusIoError;
      return *status == kStatusOk ? f : nullptr;
    }
    s.files.erase(it);
  }
  auto conn = Connect(location.conninfo, status);
  if (!conn) return nullptr;
  int length = 0;
  std::string keys;
  *status = ReadMeta(*conn, location, &length, &keys);
  if (*status != kStatusOk) return nullptr;
  if (length != file_def.record_length || keys != KeysText(file_def)) {
    *status = kStatusIoError;
    return nullptr;
  }
  // A program with a file of the folder open is seen by the lock check.
  *status = HoldFolder(*conn, location.schema);
  if (*status != kStatusOk) return nullptr;
  auto file = std::make_shared<PgFile>(conn, location, file_def);
  s.files[key] = file;
  return file;
}

void ReleaseFile(std::shared_ptr<StoreFile> file) {
  Session& s = CurrentSession();
  if (s.in_tx && file.use_count() == 1) s.held.push_back(std::move(file));
}

bool FileExists(const Location& location) {
  int status = kStatusOk;
  auto conn = Connect(location.conninfo, &status);
  if (!conn) return false;
  int length = 0;
  std::string keys;
  return ReadMeta(*conn, location, &length, &keys) == kStatusOk;
}

int CreateFile(const Location& location, const FileDef& file_def, bool replace) {
  int status = kStatusOk;
  auto conn = Connect(location.conninfo, &status);
  if (!conn) return status;
  if (CurrentSession().in_tx) return kStatusIoError;  // tables are made outside transactions
  const std::string schema = Quote(location.schema);
  const std::string meta = schema + "." + kMetaTable;
  const std::string table = schema + "." + Quote(location.table);
  // Two terminals may make the schema at once: the loser tries again.
  for (int attempt = 0; attempt < 2; ++attempt) {
    status = RunScript(*conn, "CREATE SCHEMA IF NOT EXISTS " + schema + "; CREATE TABLE IF NOT EXISTS " + meta +
                                  "(name TEXT PRIMARY KEY, record_length INT NOT NULL, keys TEXT NOT NULL)");
    if (status == kStatusOk) break;
  }
  if (status != kStatusOk) return status;
  int length = 0;
  std::string keys;
  status = ReadMeta(*conn, location, &length, &keys);
  if (status == kStatusOk && !replace) return kStatusFileExists;
  if (status != kStatusOk && status != kStatusFileNotFound) return status;
  std::string sql = "BEGIN; DROP TABLE IF EXISTS " + table + "; DELETE FROM " + meta + " WHERE name = " +
                    Literal(location.table) + "; CREATE TABLE " + table +
                    "(id BIGSERIAL PRIMARY KEY, version BIGINT NOT NULL, data BYTEA NOT NULL";
  for (std::size_t i = 0; i < file_def.keys.size(); ++i) sql += ", k" + std::to_string(i) + " BYTEA NOT NULL";
  sql += ");";
  for (std::size_t i = 0; i < file_def.keys.size(); ++i) {
    const std::string k = "k" + std::to_string(i);
    const std::string index = Quote(location.table + "_" + k);
    sql += "CREATE INDEX " + index + " ON " + table + "(" + k + ", id);";
    if (file_def.keys[i].unique) {
      sql += "CREATE UNIQUE INDEX " + Quote(location.table + "_" + k + "_u") + " ON " + table + "(" + k + ");";
    }
  }
  sql += "INSERT INTO " + meta + " VALUES (" + Literal(location.table) + ", " +
         std::to_string(file_def.record_length) + ", " + Literal(KeysText(file_def)) + "); COMMIT;";
  status = RunScript(*conn, sql);
  if (status != kStatusOk) RunScript(*conn, "ROLLBACK");
  ++conn->epoch;
  return status;
}

void BeginTransaction() {
  Session& s = CurrentSession();
  // Records a read batch fetched ahead were read without the locks the
  // transaction takes: its scans fetch afresh.
  for (auto& [name, c] : s.conns) ++c->epoch;
  s.in_tx = true;  // each connection begins at its first statement
  s.tx_lost = false;
  ++s.tx_serial;
}

namespace {

void EndTransaction(Session& s) {
  s.in_tx = false;
  s.tx_lost = false;
  for (auto& [name, c] : s.conns) {
    c->tx_started = false;
    c->pending.Clear();
    ++c->epoch;
  }
  s.held.clear();
}

}  // namespace

int CommitTransaction() {
  Session& s = CurrentSession();
  // Every connection's held-back rewrites reach the server before any
  // connection commits: a failure then commits nothing anywhere.
  for (auto& [name, c] : s.conns) {
    if (!c->tx_started || !c->pg) continue;
    if (PQtransactionStatus(c->pg) != PQTRANS_INTRANS) return kStatusIoError;
    if (!c->pending.empty()) {
      if (int status = SendPending(*c); status != kStatusOk) return status;
    }
  }
  for (auto& [name, c] : s.conns) {
    if (!c->tx_started || !c->pg) continue;
    if (PQtransactionStatus(c->pg) != PQTRANS_INTRANS) return kStatusIoError;
    Result r = Exec(c->pg, "COMMIT");
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) {
      const char* state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
      return state && std::strcmp(state, "40001") == 0 ? kStatusBusy : kStatusIoError;
    }
    c->tx_started = false;
  }
  EndTransaction(s);
  return kStatusOk;
}

int RollbackTransaction() {
  Session& s = CurrentSession();
  int status = kStatusOk;
  for (auto& [name, c] : s.conns) {
    if (!c->tx_started || !c->pg) continue;
    Result r = Exec(c->pg, "ROLLBACK");
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK) status = kStatusIoError;
  }
  EndTransaction(s);
  return status;
}

void EndReadBatch() {
  Session& s = CurrentSession();
  if (s.batch_depth == 0 || --s.batch_depth > 0) return;
  for (auto& [name, c] : s.conns) ++c->epoch;
}

void ReleaseBatchLocks(bool only_held_long) {
  // The server holds no lock for a read; records fetched ahead are read
  // afresh after the operator's turn, and after a while at a yield.
  Session& s = CurrentSession();
  if (s.batch_depth == 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (only_held_long && now - s.fetched_since < kFetchedHold) return;
  s.fetched_since = now;
  for (auto& [name, c] : s.conns) ++c->epoch;
}


namespace {

class PgStoreEngine final : public StoreEngine {
 public:
  std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) override {
    return pg::AcquireFile(location, file_def, status);
  }
  void ReleaseFile(std::shared_ptr<StoreFile> file) override { pg::ReleaseFile(std::move(file)); }
  bool FileExists(const Location& location) override { return pg::FileExists(location); }
  int CreateFile(const Location& location, const FileDef& file_def, bool replace) override {
    return pg::CreateFile(location, file_def, replace);
  }
  void BeginTransaction() override { pg::BeginTransaction(); }
  int CommitTransaction() override { return pg::CommitTransaction(); }
  int RollbackTransaction() override { return pg::RollbackTransaction(); }
  bool TransactionLost() override { return CurrentSession().tx_lost; }
  void BeginReadBatch() override {
    Session& s = CurrentSession();
    if (s.batch_depth++ == 0) s.fetched_since = std::chrono::steady_clock::now();
  }
  void EndReadBatch() override { pg::EndReadBatch(); }
  void ReleaseBatchLocks(bool only_held_long) override { pg::ReleaseBatchLocks(only_held_long); }
  void SetBusyTimeoutMs(int ms) override { g_busy_timeout_ms = ms; }
};

}  // namespace

StoreEngine& PgEngine() {
  // Never destroyed: objects in static storage close their files through
  // it at exit, after function-local statics are gone.
  static PgStoreEngine* const engine = new PgStoreEngine;
  return *engine;
}

}  // namespace qz::record::internal::pg
