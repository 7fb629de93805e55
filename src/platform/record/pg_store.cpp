#include "platform/record/pg_store.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>

#include "platform/record/pg_connection.h"
#include "platform/record/read_ahead.h"
#include "platform/record/record_codec.h"
#include "platform/record/status.h"
#include "platform/text/hex.h"

namespace qz::record::internal::pg {

void ReleaseBatchLocks(bool only_held_long);

namespace {

constexpr std::size_t kScanBlock = 128;  // records a scan fetches at once
constexpr std::size_t kScanBlockMost = 2048;
constexpr const char* kMetaTable = "qz_record_files";
// A read batch's blocks are checked against the server at a yield after
// this long (and dropped where another terminal wrote), so that another
// terminal's write shows within about this long.
constexpr std::chrono::milliseconds kFetchedHold{100};

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

// The keys of a KeysText; empty when one of them cannot be read.
std::vector<KeyDef> ParseKeysText(std::string_view text) {
  std::vector<KeyDef> keys;
  while (!text.empty()) {
    const std::size_t bar = text.find('|');
    const auto key = ParseKey(text.substr(0, bar));
    if (!key) return {};
    keys.push_back(*key);
    text = bar == std::string_view::npos ? std::string_view() : text.substr(bar + 1);
  }
  return keys;
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

  // The connection the file's statements go to.
  const std::shared_ptr<Conn>& conn() const { return conn_; }
  // Appends to `columns` one expression per span of records fetched ahead
  // and per scan's block (at the connection's epoch) that gives, on the
  // server, what it holds there in the form of KeySpanCache::Contents, and
  // to `held` what it holds here.
  void CheckFetched(std::vector<std::string>* columns, std::vector<std::string>* held);
  // Gives up every record fetched ahead.
  void DropFetched();

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
  // Holds back an insert whose outcome is known (pending_updates.h): 0 with
  // *out, -1 when it must run at once, or the failure of the statement that
  // took the next ids.
  int HoldBackInsert(std::string_view data, Row* out);
  // The next id of the ids this transaction took from the table's sequence
  // (ascending), taking more when none is left. 0 or a failure.
  int NextId(std::int64_t* id);
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
  std::vector<std::int64_t> ids_;  // taken from the sequence, not yet used
  std::size_t next_id_ = 0;        // the next unused one of ids_
  std::uint64_t ids_tx_ = 0;       // the transaction that took them
  std::size_t id_block_ = 0;       // how many the next take takes
  std::uint64_t inserts_tx_ = 0;   // the last transaction that inserted into the file
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

int PgFile::NextId(std::int64_t* id) {
  const Session& s = CurrentSession();
  if (ids_tx_ != s.tx_serial) {
    ids_.clear();
    next_id_ = 0;
    ids_tx_ = s.tx_serial;
    id_block_ = ReadAhead::kFirstBlock;
  }
  if (next_id_ == ids_.size()) {
    const Int8 count(static_cast<std::int64_t>(id_block_));
    const char* values[2] = {table_.c_str(), count.bytes};
    const int lengths[2] = {static_cast<int>(table_.size()), 8};
    const Oid types[2] = {kTextOid, kInt8Oid};
    int status = kStatusOk;
    Result r = Run(*conn_, "SELECT nextval(pg_get_serial_sequence($1, 'id')) FROM generate_series(1, $2)", 2, types,
                   values, lengths, &status);
    if (!r) return status;
    ids_.clear();
    next_id_ = 0;
    for (int i = 0; i < PQntuples(r.get()); ++i) ids_.push_back(Int8At(r.get(), i, 0));
    std::sort(ids_.begin(), ids_.end());
    if (ids_.empty()) return kStatusIoError;
    id_block_ = std::min(id_block_ * 4, ReadAhead::kBlock);
  }
  *id = ids_[next_id_++];
  return kStatusOk;
}

int PgFile::HoldBackInsert(std::string_view data, Row* out) {
  const Session& s = CurrentSession();
  if (!s.in_tx || !ReadsAhead()) return -1;
  // The transaction's first insert into the file goes at once: held back,
  // it would cost the statement that takes its id besides its own.
  if (inserts_tx_ != s.tx_serial) {
    inserts_tx_ = s.tx_serial;
    return -1;
  }
  auto fetch = [this](int k, const KeySpanCache::Gap& gap, std::size_t limit, std::vector<Row>* rows) {
    return FetchSpan(k, gap, limit, rows);
  };
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < def_.keys.size(); ++i) {
    keys.push_back(BuildKey(data, def_.keys[i]));
    if (!def_.keys[i].unique) continue;
    // Whether a record holds the key, from the records fetched ahead.
    Row holder;
    const std::optional<int> found =
        read_ahead_.Read(static_cast<int>(i), Seek::kEqual, keys.back(), 0, &holder, conn_->epoch, fetch);
    if (!found || *found != kStatusNotFound) {
      // Found or undecided: the server answers at once. The ids still
      // taken go, so that every later insert comes after this one.
      next_id_ = ids_.size();
      return -1;
    }
  }
  std::int64_t id = 0;
  if (int status = NextId(&id); status != kStatusOk) return status;
  conn_->pending.AddInsert(table_, id, data, keys);
  CarryWrite(conn_->epoch++, id, 1, data);
  out->id = id;
  out->version = 1;
  out->data.assign(data);
  return kStatusOk;
}

void PgFile::CarryWrite(std::uint64_t before, std::int64_t id, std::int64_t version,
                        std::optional<std::string_view> data) {
  if (CurrentSession().in_tx && ReadsAhead()) read_ahead_.Carry(before, conn_->epoch, id, version, data);
}

void PgFile::CheckFetched(std::vector<std::string>* columns, std::vector<std::string>* held) {
  auto bytea = [](std::string_view bytes) { return "'\\x" + text::ToHex(bytes) + "'::bytea"; };
  // The records of `where` on the server as "id.version" joined by ",".
  auto records = [this](const std::string& where, const std::string& order) {
    return "COALESCE((SELECT string_agg(id::text || '.' || version::text, ',' ORDER BY " + order + ") FROM " +
           table_ + " WHERE " + where + "), '')";
  };
  for (ReadAhead::Held& h : read_ahead_.Contents(conn_->epoch)) {
    const std::string k = "k" + std::to_string(h.key);
    std::string where = k + " >= " + bytea(h.span.lo);
    if (h.span.hi) where += " AND " + k + " < " + bytea(*h.span.hi);
    columns->push_back(records(where, k + ", id"));
    held->push_back(std::move(h.span.records));
  }
  // A scan's block: the records after its anchor up to its last (or to the
  // end when it reached it), in the scan's order.
  for (std::size_t i = 0; i < cursors_.size(); ++i) {
    Cursor& c = cursors_[i];
    if (!c.valid || c.epoch != conn_->epoch) continue;
    if (c.rows.empty() && !c.complete) {
      c.valid = false;
      continue;
    }
    const bool back = i % 2 == 1;
    const std::string k = "k" + std::to_string(i / 2), after = back ? " < " : " > ", upto = back ? " >= " : " <= ";
    std::string where = "(" + k + ", id)" + after + "(" + bytea(c.anchor_key) + ", " + std::to_string(c.anchor_id) + ")";
    if (!c.complete) {
      where += " AND (" + k + ", id)" + upto + "(" + bytea(c.rows.back().key) + ", " +
               std::to_string(c.rows.back().id) + ")";
    }
    columns->push_back(records(where, back ? k + " DESC, id DESC" : k + ", id"));
    std::string text;
    for (const Row& row : c.rows) {
      text += (text.empty() ? "" : ",") + std::to_string(row.id) + '.' + std::to_string(row.version);
    }
    held->push_back(std::move(text));
  }
}

void PgFile::DropFetched() {
  for (Cursor& c : cursors_) c.valid = false;
  read_ahead_.Drop();
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
  // A scan's blocks grow: their size is a parameter, so that one prepared
  // statement serves them all.
  return "SELECT id, version, data, " + k + " FROM " + table_ + " WHERE " + where + order + " LIMIT " +
         (limit > 1 ? std::string("$3") : std::to_string(limit));
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
  const Int8 id_param(id), limit_param(static_cast<std::int64_t>(limit));
  const char* values[3] = {key_bytes.data(), id_param.bytes, limit_param.bytes};
  const int lengths[3] = {static_cast<int>(key_bytes.size()), 8, 8};
  const Oid types[3] = {kByteaOid, kInt8Oid, kInt8Oid};
  const int n = seek == Seek::kFirst || seek == Seek::kLast ? 0 : !scan ? 1 : limit > 1 ? 3 : 2;
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
  if (int held = HoldBackInsert(data, out); held != -1) return held;
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
// a failure. `listed`: the folder's list of files is known to be there (the
// connection read it and holds the folder lock, so that it stays), and the
// file's line of it and the file are asked in one statement.
int ReadMeta(Conn& c, const Location& l, bool listed, int* record_length, std::string* keys) {
  const std::string meta = Quote(l.schema) + "." + kMetaTable;
  int status = kStatusOk;
  const std::string regclass = Quote(l.schema) + "." + Quote(l.table);
  const char* values[2] = {meta.c_str(), regclass.c_str()};
  const int lengths[2] = {static_cast<int>(meta.size()), static_cast<int>(regclass.size())};
  const Oid types[2] = {kTextOid, kTextOid};
  if (!listed) {
    Result r = Run(c, "SELECT to_regclass($1) IS NOT NULL AND to_regclass($2) IS NOT NULL", 2, types, values,
                   lengths, &status);
    if (!r) return status;
    if (PQntuples(r.get()) != 1 || *PQgetvalue(r.get(), 0, 0) == 0) return kStatusFileNotFound;
  }
  const char* line[2] = {l.table.c_str(), regclass.c_str()};
  const int line_lengths[2] = {static_cast<int>(l.table.size()), static_cast<int>(regclass.size())};
  Result r = Run(c, "SELECT record_length::int8, keys FROM " + meta + " WHERE name = $1 AND to_regclass($2) IS NOT NULL",
                 2, types, line, line_lengths, &status);
  if (!r) return status;
  if (PQntuples(r.get()) != 1) return kStatusFileNotFound;
  *record_length = static_cast<int>(Int8At(r.get(), 0, 0));
  keys->assign(PQgetvalue(r.get(), 0, 1), static_cast<std::size_t>(PQgetlength(r.get(), 0, 1)));
  return kStatusOk;
}

}  // namespace

std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) {
  Session& s = CurrentSession();
  const std::string key = FileKey(location);
  auto it = s.files.find(key);
  if (it != s.files.end()) {
    if (auto f = it->second.lock()) {
      *status = OpenedFileDef(file_def, f->def().record_length, f->def().keys) == f->def() ? kStatusOk
                                                                                          : kStatusIoError;
      return *status == kStatusOk ? f : nullptr;
    }
    s.files.erase(it);
  }
  auto conn = Connect(location.conninfo, status);
  if (!conn) return nullptr;
  // Asked at every open: another terminal's program (btrutil) may have made
  // the file again since this connection last opened it, and the folder lock
  // keeps no such program out. The lock is taken once the folder's list of
  // files was read, and keeps the list there.
  const bool listed = conn->folders_held.count(location.schema) != 0;
  int length = 0;
  std::string keys;
  *status = ReadMeta(*conn, location, listed, &length, &keys);
  if (*status != kStatusOk) return nullptr;
  const auto opened = OpenedFileDef(file_def, length, ParseKeysText(keys));
  if (!opened) {
    *status = kStatusIoError;
    return nullptr;
  }
  // A program with a file of the folder open is seen by the lock check.
  *status = HoldFolder(*conn, location.schema);
  if (*status != kStatusOk) return nullptr;
  auto file = std::make_shared<PgFile>(conn, location, *opened);
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
  return ReadMeta(*conn, location, /*listed=*/false, &length, &keys) == kStatusOk;
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
  status = ReadMeta(*conn, location, /*listed=*/false, &length, &keys);
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
  s.held_refused = kStatusOk;
  ++s.tx_serial;
}

namespace {

void EndTransaction(Session& s) {
  s.in_tx = false;
  s.tx_lost = false;
  s.held_refused = kStatusOk;
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

int SendHeldWrites() {
  Session& s = CurrentSession();
  if (!s.in_tx) return kStatusOk;
  // Refused at an earlier statement, or never to be sent: the transaction
  // was lost by a failure its caller was told of.
  if (s.held_refused != kStatusOk || s.tx_lost) return s.held_refused;
  for (auto& [name, c] : s.conns) {
    if (c->pending.empty()) continue;
    if (int status = SendPending(*c); status != kStatusOk) return status;
  }
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

// Checks the records that the read batch's files fetched ahead against the
// server, in one statement per connection: a file keeps them where the
// server still holds exactly those records in each span (same ids, same
// versions), and gives them all up where it does not. What is kept then
// shows one state of the server, that of the check.
void CheckFetched(Session& s) {
  std::map<Conn*, std::vector<std::shared_ptr<PgFile>>> by_conn;
  for (auto& [key, weak] : s.files) {
    if (auto f = std::static_pointer_cast<PgFile>(weak.lock())) by_conn[f->conn().get()].push_back(std::move(f));
  }
  for (auto& [conn, files] : by_conn) {
    std::vector<std::string> columns, held;
    std::vector<std::size_t> ends;  // the end of each file's columns
    for (const auto& f : files) {
      f->CheckFetched(&columns, &held);
      ends.push_back(columns.size());
    }
    if (columns.empty()) continue;
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + columns[i];
    Result r(nullptr, PQclear);
    if (Enter(*conn) == kStatusOk) r = Exec(conn->pg, sql);
    const bool answered = r && PQresultStatus(r.get()) == PGRES_TUPLES_OK && PQntuples(r.get()) == 1 &&
                          PQnfields(r.get()) == static_cast<int>(columns.size());
    std::size_t begin = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
      bool same = answered;
      for (std::size_t c = begin; same && c < ends[i]; ++c) {
        same = held[c] == std::string_view(PQgetvalue(r.get(), 0, static_cast<int>(c)),
                                           static_cast<std::size_t>(PQgetlength(r.get(), 0, static_cast<int>(c))));
      }
      if (!same) files[i]->DropFetched();
      begin = ends[i];
    }
  }
}

void ReleaseBatchLocks(bool only_held_long) {
  // The server holds no lock for a read; records fetched ahead are read
  // afresh after the operator's turn, and checked after a while at a yield.
  Session& s = CurrentSession();
  if (s.batch_depth == 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (only_held_long && now - s.fetched_since < kFetchedHold) return;
  if (only_held_long && !s.in_tx) {
    CheckFetched(s);
    s.fetched_since = std::chrono::steady_clock::now();
    return;
  }
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
  int SendHeldWrites() override { return pg::SendHeldWrites(); }
  void BeginReadBatch() override {
    Session& s = CurrentSession();
    if (s.batch_depth++ == 0) s.fetched_since = std::chrono::steady_clock::now();
  }
  void EndReadBatch() override { pg::EndReadBatch(); }
  void ReleaseBatchLocks(bool only_held_long) override { pg::ReleaseBatchLocks(only_held_long); }
  void SetBusyTimeoutMs(int ms) override { pg::SetBusyTimeoutMs(ms); }
};

}  // namespace

StoreEngine& PgEngine() {
  // Never destroyed: objects in static storage close their files through
  // it at exit, after function-local statics are gone.
  static PgStoreEngine* const engine = new PgStoreEngine;
  return *engine;
}

}  // namespace qz::record::internal::pg
