#include "platform/record/sqlite_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>

#include "platform/record/network_folder.h"
#include "platform/record/record_codec.h"
#include "platform/record/sqlite_journals.h"
#include "platform/record/status.h"
#include "platform/record/thread_session.h"

namespace qz::record::internal::sqlite {

namespace fs = std::filesystem;

namespace {

constexpr int kAttachLimit = 10;
constexpr const char* kTxFileName = ".qzrecord-tx";
// A read batch gives its read lock back after this long, so that another
// process's commit waits at most about this long for it.
constexpr std::chrono::milliseconds kReadHold{100};
// The page cache of each file, in KiB.
constexpr int kCacheKib = 32 * 1024;
std::atomic<int> g_busy_timeout_ms{5000};

int StatusOf(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW: return kStatusOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return kStatusBusy;
    case SQLITE_CONSTRAINT: return kStatusDuplicateKey;
    case SQLITE_CANTOPEN: return kStatusFileNotFound;
    case SQLITE_READONLY:
    case SQLITE_PERM: return kStatusWriteRefused;
    default: return kStatusIoError;
  }
}

std::string UriOf(const std::string& path, const char* mode) {
  std::string abs = fs::absolute(path).string();
  std::string out = "file:";
  for (unsigned char c : abs) {
    if (c == '%' || c == '?' || c == '#') {
      static const char* hex = "0123456789ABCDEF";
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "?mode=" + mode;
}

int Exec(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

}  // namespace

// One SQLite connection with up to ten files attached.
struct Group {
  sqlite3* db = nullptr;
  std::vector<bool> slots = std::vector<bool>(kAttachLimit, false);
  int files = 0;
  bool atomic = true;       // the main database is the folder's helper file
  int unhelped = kStatusIoError;  // what a write gives without the helper file
  bool tx_started = false;  // BEGIN of the session's transaction ran here
  bool read_tx = false;     // BEGIN of a read batch ran here
  std::chrono::steady_clock::time_point read_since;
  // Statements left stepping (scans), reset when the read transaction ends
  // or the connection writes; `epoch` counts those moments.
  std::vector<sqlite3_stmt*> cursors;
  std::uint64_t epoch = 0;
  ~Group() {
    if (db) sqlite3_close_v2(db);
  }
  void ResetCursors() {
    for (sqlite3_stmt* st : cursors) sqlite3_reset(st);
    cursors.clear();
    ++epoch;
  }
  // Ends the read batch's transaction on this connection.
  void EndRead() {
    ResetCursors();
    if (read_tx) {
      if (!sqlite3_get_autocommit(db)) Exec(db, "COMMIT");
      read_tx = false;
    }
  }
};

namespace {

struct Session {
  int generation = ForkGeneration();
  std::vector<std::shared_ptr<Group>> groups;
  std::map<std::string, std::weak_ptr<StoreFile>> files;
  bool in_tx = false;
  std::uint64_t tx_serial = 0;  // numbers the transactions of the session
  // SQLite rolled back part of the running transaction on its own (an
  // interrupted or failed write): nothing more may be written in it, and it
  // can only be aborted.
  bool tx_lost = false;
  int batch_depth = 0;
  std::vector<std::shared_ptr<StoreFile>> held;  // closed inside a transaction
};

Session& CurrentSession() {
  Session& session = ThreadSession<Session>();
  if (session.generation != ForkGeneration()) {
    // A forked child must not touch the parent's connections: they are
    // abandoned, not closed.
    new (&session.groups) std::vector<std::shared_ptr<Group>>();
    new (&session.files) std::map<std::string, std::weak_ptr<StoreFile>>();
    new (&session.held) std::vector<std::shared_ptr<StoreFile>>();
    session.generation = ForkGeneration();
    session.in_tx = false;
    session.tx_lost = false;
    session.batch_depth = 0;
  }
  return session;
}

// Closes the connections that no longer hold a file.
void PruneGroups(Session& s) {
  std::erase_if(s.groups, [](const std::shared_ptr<Group>& g) { return g->files == 0; });
}

std::shared_ptr<Group> OpenGroup(const std::string& folder, int* status) {
  auto g = std::make_shared<Group>();
  // The connection's main database sits beside the data so that the
  // journal of a commit over several files lives with them.
  std::string main = (fs::path(folder) / kTxFileName).string();
  int rc = sqlite3_open_v2(main.c_str(), &g->db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                           RecordVfsName());
  if (rc != SQLITE_OK) {
    // Reads need no helper; a transaction that writes here is refused
    // (see Before), never committed file by file.
    sqlite3_close_v2(g->db);
    g->db = nullptr;
    g->atomic = false;
    if (::access(folder.c_str(), W_OK) != 0 && errno == EACCES) g->unhelped = kStatusWriteRefused;
    rc = sqlite3_open_v2("", &g->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, RecordVfsName());
    if (rc != SQLITE_OK) {
      *status = kStatusIoError;
      return nullptr;
    }
  }
  sqlite3_busy_timeout(g->db, g_busy_timeout_ms.load());
  return g;
}

// The row a read statement stands on: id, version, data and, when the
// statement has it, the key.
void TakeColumns(sqlite3_stmt* st, Row* out) {
  out->id = sqlite3_column_int64(st, 0);
  out->version = sqlite3_column_int64(st, 1);
  out->data.assign(static_cast<const char*>(sqlite3_column_blob(st, 2)),
                   static_cast<std::size_t>(sqlite3_column_bytes(st, 2)));
  if (sqlite3_column_count(st) > 3) {
    out->key.assign(static_cast<const char*>(sqlite3_column_blob(st, 3)),
                    static_cast<std::size_t>(sqlite3_column_bytes(st, 3)));
  } else {
    out->key.clear();
  }
}

enum Slot { kInOrderSlot = 5, kInsertSlot = 4, kUpdateSlot = 3, kDeleteSlot = 2, kLockSlot = 1 };  // from the end

// One open (attached) file, shared by every object of the thread on it.
class SqliteFile : public StoreFile {
 public:
  SqliteFile(std::shared_ptr<Group> group, std::string schema, FileDef file_def)
      : group_(std::move(group)), schema_(std::move(schema)), def_(std::move(file_def)),
        statements_(static_cast<std::size_t>(static_cast<int>(Seek::kCount) * static_cast<int>(def_.keys.size()) + 5),
                    nullptr),
        cursors_(def_.keys.size() * 2) {}
  ~SqliteFile() override {
    group_->ResetCursors();
    for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
    if (group_->db) Exec(group_->db, "DETACH DATABASE " + schema_);
    group_->slots[static_cast<std::size_t>(std::stoi(schema_.substr(1)))] = false;
    --group_->files;
  }

  // Before the first statement: the file has only the first `count` keys
  // of its definition (OpenedFileDef).
  void KeepKeys(std::size_t count) {
    def_.keys.resize(count);
    statements_.assign(static_cast<std::size_t>(static_cast<int>(Seek::kCount) * static_cast<int>(count) + 5), nullptr);
    cursors_.resize(count * 2);
  }

  Engine engine() const override { return Engine::kSqlite; }
  const FileDef& def() const override { return def_; }
  int Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out) override;
  int ReadInOrder(std::int64_t after_id, Row* out) override;
  int Insert(std::string_view data, Row* out) override;
  int Update(std::int64_t id, std::int64_t version, std::string_view data) override;
  int Delete(std::int64_t id, std::int64_t version) override;

 private:
  // Where a scan statement stands: after the row (key, id), valid while the
  // connection's epoch is still `epoch`.
  struct Cursor {
    bool live = false;
    std::uint64_t epoch = 0;
    std::string key;
    std::int64_t id = 0;
  };

  sqlite3_stmt*& Slot(int from_end) { return statements_[statements_.size() - static_cast<std::size_t>(from_end)]; }
  // The cached statement `slot`, prepared from `sql()` on first use.
  template <class MakeSql>
  sqlite3_stmt* Statement(sqlite3_stmt*& slot, const MakeSql& sql, int* status);
  std::string ReadSql(int key, Seek seek) const;
  // Before a read: inside a read batch (outside a transaction), the
  // connection's read transaction, renewed when it has been held long.
  int BeforeRead();
  // Before a write: ends the read batch's transaction (the write must
  // commit at once) or, inside a transaction, resets the scans.
  int BeforeWrite();
  // Steps the read statement `st` (bound by `bind`); inside a read batch,
  // first without waiting for the file. Returns SQLite's result; `status`
  // is a failure to begin the read again after giving the batch's reads
  // back.
  int StepRead(sqlite3_stmt* st, const std::function<void()>& bind, int* status);
  // The status of a read whose step gave `rc`: the row taken into `out`,
  // `when_done` when there was none, or the failure.
  int StepResult(sqlite3_stmt* st, int rc, int when_done, Row* out);
  // Inside a transaction: begins it on the group and takes the file's write
  // lock at the file's first statement. 0, 84 or a failure.
  int Before();
  int Fail(int rc);
  // Fail for a statement that writes: a journal that cannot be made in the
  // folder is a write the folder refuses.
  int FailWrite(int rc);
  int Finish(sqlite3_stmt* st, int status);

  std::shared_ptr<Group> group_;
  std::string schema_;
  FileDef def_;
  std::vector<sqlite3_stmt*> statements_;  // reads by key and seek, insert, update, delete, lock
  std::vector<Cursor> cursors_;            // kNext and kPrevious of each key
  std::uint64_t locked_tx_ = 0;  // the session's transaction that holds the write lock
};

int SqliteFile::Fail(int rc) {
  int status = StatusOf(rc);
  if (sqlite3_get_autocommit(group_->db)) {
    group_->read_tx = false;
    if (group_->tx_started) {
      // SQLite rolled the transaction back on its own: the writes made so
      // far on this connection are gone, so the transaction as a whole is
      // lost.
      group_->tx_started = false;
      CurrentSession().tx_lost = true;
    }
  }
  return status == kStatusOk ? kStatusIoError : status;
}

int SqliteFile::FailWrite(int rc) {
  const int status = Fail(rc);
  return (rc & 0xFF) == SQLITE_CANTOPEN ? kStatusWriteRefused : status;
}

int SqliteFile::Finish(sqlite3_stmt* st, int status) {
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  return status;
}

int SqliteFile::Before() {
  Session& s = CurrentSession();
  if (!s.in_tx) return kStatusOk;
  if (s.tx_lost) return kStatusIoError;
  if (!group_->tx_started) {
    group_->EndRead();
    int rc = Exec(group_->db, "BEGIN");
    if (rc != SQLITE_OK) return StatusOf(rc);
    group_->tx_started = true;
  }
  if (locked_tx_ == s.tx_serial) return kStatusOk;
  // The file's write lock is taken at its first statement of the
  // transaction, waiting out another process's transaction on it. Were a
  // read lock taken first, it could not become a write lock while another
  // process holds the write lock: one of the two transactions would fail at
  // once instead of waiting its turn. A file that cannot be written (a
  // read-only master) is read without the lock.
  sqlite3_stmt*& lock = Slot(kLockSlot);
  int rc = SQLITE_OK;
  if (!lock) {
    const std::string sql = "UPDATE " + schema_ + ".record_meta SET value = value WHERE 0";
    rc = sqlite3_prepare_v3(group_->db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &lock, nullptr);
  }
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(lock);
    sqlite3_reset(lock);
  }
  const bool read_only = (rc & 0xFF) == SQLITE_READONLY && !sqlite3_get_autocommit(group_->db);
  if (rc != SQLITE_DONE && !read_only) return Fail(rc);
  locked_tx_ = s.tx_serial;
  return kStatusOk;
}

int SqliteFile::BeforeRead() {
  Session& s = CurrentSession();
  if (s.in_tx) return Before();
  if (s.batch_depth == 0) return kStatusOk;
  const auto now = std::chrono::steady_clock::now();
  if (group_->read_tx && now - group_->read_since > kReadHold) group_->EndRead();
  if (!group_->read_tx) {
    group_->ResetCursors();
    int rc = Exec(group_->db, "BEGIN");
    if (rc != SQLITE_OK) return StatusOf(rc);
    group_->read_tx = true;
    group_->read_since = now;
  }
  return kStatusOk;
}

int SqliteFile::BeforeWrite() {
  Session& s = CurrentSession();
  if (!s.in_tx) {
    // Every connection's: the write may wait for a file that another
    // process commits, whose commit would wait for the batch's reads.
    for (auto& g : s.groups) g->EndRead();
    return kStatusOk;
  }
  int status = Before();
  if (status != kStatusOk) return status;
  // The scans of this connection could not tell what the write changes.
  group_->ResetCursors();
  // Without the helper file the commit would not be atomic over the files.
  return group_->atomic ? kStatusOk : group_->unhelped;
}

template <class MakeSql>
sqlite3_stmt* SqliteFile::Statement(sqlite3_stmt*& s, const MakeSql& sql, int* status) {
  if (!s) {
    const std::string text = sql();
    int rc = sqlite3_prepare_v3(group_->db, text.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr);
    if (rc != SQLITE_OK) {
      *status = Fail(rc);
      s = nullptr;
      return nullptr;
    }
  }
  *status = kStatusOk;
  return s;
}

std::string SqliteFile::ReadSql(int key, Seek seek) const {
  const std::string k = "k" + std::to_string(key);
  // Scans (next, previous) step one statement as long as they may.
  std::string where, order = " ORDER BY " + k + ", id LIMIT 1";
  const std::string desc = " ORDER BY " + k + " DESC, id DESC LIMIT 1";
  switch (seek) {
    case Seek::kEqual: where = k + " = ?1"; break;
    case Seek::kGreater: where = k + " > ?1"; break;
    case Seek::kGreaterOrEqual: where = k + " >= ?1"; break;
    case Seek::kLess: where = k + " < ?1"; order = desc; break;
    case Seek::kLessOrEqual: where = k + " <= ?1"; order = desc; break;
    case Seek::kNext: where = "(" + k + ", id) > (?1, ?2)"; order = " ORDER BY " + k + ", id"; break;
    case Seek::kPrevious: where = "(" + k + ", id) < (?1, ?2)"; order = " ORDER BY " + k + " DESC, id DESC"; break;
    case Seek::kFirst: where = "1"; break;
    case Seek::kLast: where = "1"; order = desc; break;
    case Seek::kCount: break;
  }
  return "SELECT id, version, data, " + k + " FROM " + schema_ + ".records WHERE " + where + order;
}

int SqliteFile::Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out) {
  if (seek == Seek::kCount) return kStatusIoError;
  int status = BeforeRead();
  if (status != kStatusOk) return status;
  sqlite3_stmt*& slot = statements_[static_cast<std::size_t>(key * static_cast<int>(Seek::kCount) + static_cast<int>(seek))];
  sqlite3_stmt* st = Statement(slot, [&] { return ReadSql(key, seek); }, &status);
  if (!st) return status;
  const bool scan = seek == Seek::kNext || seek == Seek::kPrevious;
  Cursor* cursor = scan ? &cursors_[static_cast<std::size_t>(key * 2 + (seek == Seek::kPrevious))] : nullptr;
  const bool stepping = cursor && cursor->live && cursor->epoch == group_->epoch && cursor->id == id &&
                        cursor->key == key_bytes;
  auto bind = [&] {
    if (seek != Seek::kFirst && seek != Seek::kLast) {
      sqlite3_bind_blob(st, 1, key_bytes.data(), static_cast<int>(key_bytes.size()), SQLITE_TRANSIENT);
    }
    if (scan) sqlite3_bind_int64(st, 2, id);
  };
  if (!stepping) {
    if (cursor && cursor->live) sqlite3_reset(st);
    bind();
  }
  int rc = StepRead(st, bind, &status);
  if (status != kStatusOk) return status;
  status = StepResult(st, rc, seek == Seek::kEqual ? kStatusNotFound : kStatusEndOfFile, out);
  // A scan stays on its row while a transaction or read batch holds the
  // read lock; otherwise the statement lets go of the lock at once.
  const Session& s = CurrentSession();
  if (cursor && status == kStatusOk && (s.in_tx || group_->read_tx)) {
    if (!cursor->live || cursor->epoch != group_->epoch) group_->cursors.push_back(st);
    cursor->live = true;
    cursor->epoch = group_->epoch;
    cursor->key = out->key;
    cursor->id = out->id;
    return status;
  }
  if (cursor) cursor->live = false;
  return Finish(st, status);
}

int SqliteFile::ReadInOrder(std::int64_t after_id, Row* out) {
  int status = BeforeRead();
  if (status != kStatusOk) return status;
  sqlite3_stmt* st = Statement(Slot(kInOrderSlot), [&] {
    return "SELECT id, version, data FROM " + schema_ + ".records WHERE id > ?1 ORDER BY id LIMIT 1";
  }, &status);
  if (!st) return status;
  auto bind = [&] { sqlite3_bind_int64(st, 1, after_id); };
  bind();
  int rc = StepRead(st, bind, &status);
  if (status != kStatusOk) return status;
  status = StepResult(st, rc, kStatusEndOfFile, out);
  return Finish(st, status);
}

int SqliteFile::StepResult(sqlite3_stmt* st, int rc, int when_done, Row* out) {
  if (rc == SQLITE_ROW) {
    TakeColumns(st, out);
    return kStatusOk;
  }
  return rc == SQLITE_DONE ? when_done : Fail(rc);
}

int SqliteFile::StepRead(sqlite3_stmt* st, const std::function<void()>& bind, int* status) {
  *status = kStatusOk;
  if (!group_->read_tx) return sqlite3_step(st);
  // Inside a read batch this thread may hold reads of other files (on this
  // connection or another). Waiting for a file that another process is
  // committing while holding them could keep that commit waiting for this
  // thread's reads: both would wait out their timeouts. So the read does
  // not wait: when the file is taken, the batch gives all its reads back,
  // and only then waits for the file as any read does.
  sqlite3_busy_timeout(group_->db, 0);
  int rc = sqlite3_step(st);
  sqlite3_busy_timeout(group_->db, g_busy_timeout_ms.load());
  if ((rc & 0xFF) != SQLITE_BUSY) return rc;
  sqlite3_reset(st);
  for (auto& g : CurrentSession().groups) g->EndRead();
  *status = BeforeRead();
  if (*status != kStatusOk) return rc;
  bind();
  return sqlite3_step(st);
}

namespace {

void BindKeys(sqlite3_stmt* st, int first, std::string_view data, const FileDef& file_def,
              std::vector<std::string>* keys) {
  keys->clear();
  for (const KeyDef& k : file_def.keys) keys->push_back(BuildKey(data, k));
  for (std::size_t i = 0; i < keys->size(); ++i) {
    const std::string& b = (*keys)[i];
    sqlite3_bind_blob(st, first + static_cast<int>(i), b.data(), static_cast<int>(b.size()), SQLITE_STATIC);
  }
}

}  // namespace

int SqliteFile::Insert(std::string_view data, Row* out) {
  int status = BeforeWrite();
  if (status != kStatusOk) return status;
  sqlite3_stmt* st = Statement(Slot(kInsertSlot), [&] {
    std::string cols, vals;
    for (std::size_t i = 0; i < def_.keys.size(); ++i) {
      cols += ", k" + std::to_string(i);
      vals += ", ?" + std::to_string(i + 2);
    }
    return "INSERT INTO " + schema_ + ".records(version, data" + cols + ") VALUES(1, ?1" + vals + ")";
  }, &status);
  if (!st) return status;
  std::vector<std::string> keys;
  sqlite3_bind_blob(st, 1, data.data(), static_cast<int>(data.size()), SQLITE_STATIC);
  BindKeys(st, 2, data, def_, &keys);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) {
    out->id = sqlite3_last_insert_rowid(group_->db);
    out->version = 1;
    out->data.assign(data);
    status = kStatusOk;
  } else {
    status = FailWrite(rc);
  }
  return Finish(st, status);
}

int SqliteFile::Update(std::int64_t id, std::int64_t version, std::string_view data) {
  int status = BeforeWrite();
  if (status != kStatusOk) return status;
  sqlite3_stmt* st = Statement(Slot(kUpdateSlot), [&] {
    std::string sets;
    for (std::size_t i = 0; i < def_.keys.size(); ++i) {
      sets += ", k" + std::to_string(i) + " = ?" + std::to_string(i + 4);
    }
    return "UPDATE " + schema_ + ".records SET version = version + 1, data = ?1" + sets +
           " WHERE id = ?2 AND version = ?3";
  }, &status);
  if (!st) return status;
  std::vector<std::string> keys;
  sqlite3_bind_blob(st, 1, data.data(), static_cast<int>(data.size()), SQLITE_STATIC);
  sqlite3_bind_int64(st, 2, id);
  sqlite3_bind_int64(st, 3, version);
  BindKeys(st, 4, data, def_, &keys);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) {
    status = sqlite3_changes(group_->db) == 1 ? kStatusOk : kStatusChanged;
  } else {
    status = FailWrite(rc);
  }
  return Finish(st, status);
}

int SqliteFile::Delete(std::int64_t id, std::int64_t version) {
  int status = BeforeWrite();
  if (status != kStatusOk) return status;
  sqlite3_stmt* st = Statement(Slot(kDeleteSlot), [&] {
    return "DELETE FROM " + schema_ + ".records WHERE id = ?1 AND version = ?2";
  }, &status);
  if (!st) return status;
  sqlite3_bind_int64(st, 1, id);
  sqlite3_bind_int64(st, 2, version);
  int rc = sqlite3_step(st);
  if (rc == SQLITE_DONE) {
    status = sqlite3_changes(group_->db) == 1 ? kStatusOk : kStatusChanged;
  } else {
    status = FailWrite(rc);
  }
  return Finish(st, status);
}

// Reads the record length and keys stored in the attached `schema` and
// what the file is opened as under `file_def` into `opened`: 0, or 2 when
// they disagree (OpenedFileDef), 84 or a failure.
int CheckSchema(sqlite3* db, const std::string& schema, const FileDef& file_def, FileDef* opened) {
  sqlite3_stmt* st = nullptr;
  std::string sql = "SELECT value FROM " + schema + ".record_meta WHERE name = 'record_length'";
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc != SQLITE_OK) return StatusOf(rc) == kStatusBusy ? kStatusBusy : kStatusIoError;
  rc = sqlite3_step(st);
  int length = rc == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
  sqlite3_finalize(st);
  if (rc != SQLITE_ROW) return StatusOf(rc) == kStatusBusy ? kStatusBusy : kStatusIoError;
  sql = "SELECT keyno, segments FROM " + schema + ".record_keys ORDER BY keyno";
  rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (rc != SQLITE_OK) return StatusOf(rc) == kStatusBusy ? kStatusBusy : kStatusIoError;
  std::vector<KeyDef> keys;
  bool readable = true;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(st, 1);
    auto key = ParseKey(text ? reinterpret_cast<const char*>(text) : "");
    if (sqlite3_column_int(st, 0) != static_cast<int>(keys.size()) || !key) readable = false;
    keys.push_back(key ? *key : KeyDef{});
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) return StatusOf(rc) == kStatusBusy ? kStatusBusy : kStatusIoError;
  auto def = readable ? OpenedFileDef(file_def, length, keys) : std::nullopt;
  if (!def) return kStatusIoError;
  *opened = std::move(*def);
  return kStatusOk;
}

void EndSession(Session& s) {
  JournalsEnd();
  s.in_tx = false;
  s.tx_lost = false;
  for (auto& g : s.groups) g->tx_started = false;
  s.held.clear();
  PruneGroups(s);
}

}  // namespace

std::shared_ptr<StoreFile> AcquireFile(const std::string& path, const FileDef& file_def, int* status) {
  Session& s = CurrentSession();
  std::error_code ec;
  std::string canonical = fs::weakly_canonical(path, ec).string();
  if (ec) canonical = fs::absolute(path).string();
  auto it = s.files.find(canonical);
  if (it != s.files.end()) {
    if (auto f = it->second.lock()) {
      if (OpenedFileDef(file_def, f->def().record_length, f->def().keys) != f->def()) {
        *status = kStatusIoError;
        return nullptr;
      }
      *status = kStatusOk;
      return f;
    }
    s.files.erase(it);
  }
  WarnIfNetworkFolder(fs::path(canonical).parent_path().string());
  // What a process killed in a commit left there goes first.
  CleanFolderOnce(fs::path(canonical).parent_path().string());
  // A group with a free slot whose connection may still attach.
  std::shared_ptr<Group> group;
  for (auto& g : s.groups) {
    if (g->files < kAttachLimit && !g->tx_started) {
      group = g;
      break;
    }
  }
  if (!group) {
    group = OpenGroup(fs::path(canonical).parent_path().string(), status);
    if (!group) return nullptr;
    s.groups.push_back(group);
  }
  group->EndRead();  // a connection cannot attach inside a transaction
  int slot = 0;
  while (group->slots[static_cast<std::size_t>(slot)]) ++slot;
  const std::string schema = "f" + std::to_string(slot);
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(group->db, ("ATTACH DATABASE ?1 AS " + schema).c_str(), -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    std::string uri = UriOf(canonical, "rw");
    sqlite3_bind_text(st, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(st);
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) {
    *status = StatusOf(rc) == kStatusOk ? kStatusIoError : StatusOf(rc);
    if (!s.in_tx) PruneGroups(s);
    return nullptr;
  }
  group->slots[static_cast<std::size_t>(slot)] = true;
  ++group->files;
  auto file = std::make_shared<SqliteFile>(group, schema, file_def);
  FileDef opened;
  *status = CheckSchema(group->db, schema, file_def, &opened);
  if (*status == kStatusOk) file->KeepKeys(opened.keys.size());
  if (*status != kStatusOk) {
    file.reset();  // detaches
    if (!s.in_tx) PruneGroups(s);
    return nullptr;
  }
  Exec(group->db, "PRAGMA " + schema + ".journal_mode = DELETE");
  // A results file of a centre is larger than SQLite's default page cache
  // (2 MB): the cache grows with the pages read, up to this much.
  Exec(group->db, "PRAGMA " + schema + ".cache_size = -" + std::to_string(kCacheKib));
  s.files[canonical] = file;
  return file;
}

void ReleaseFile(std::shared_ptr<StoreFile> file) {
  Session& s = CurrentSession();
  if (s.in_tx && file.use_count() == 1) {
    s.held.push_back(std::move(file));
    return;
  }
  if (file.use_count() == 1) {
    // Detaching needs the connection out of its read transaction.
    for (auto& g : s.groups) g->EndRead();
  }
  file.reset();
  if (!s.in_tx) PruneGroups(s);
}

void BeginTransaction() {
  Session& s = CurrentSession();
  // A read batch's reads go first: the transaction may wait for a file
  // that another process commits, whose commit would wait for them.
  for (auto& g : s.groups) g->EndRead();
  s.in_tx = true;  // each group begins at its first statement
  ++s.tx_serial;
  JournalsBegin();
}

namespace {

// A commit over several connections failed after some of them had
// committed (their files still locked, their journals hot): every
// connection's part is undone, and the transaction can only be aborted.
void UndoHeldCommits(Session& s) {
  ReleaseHeldForRollback();
  for (auto& g : s.groups) {
    if (g->tx_started && !sqlite3_get_autocommit(g->db)) Exec(g->db, "ROLLBACK");
    g->tx_started = false;
  }
  // A read of each file rolls a hot journal back now, not at another
  // terminal's next read (also the failed connection's, whose journal
  // SQLite replayed but could not remove while the commit held removals).
  for (auto& g : s.groups) {
    for (std::size_t slot = 0; slot < g->slots.size(); ++slot) {
      if (g->slots[slot]) Exec(g->db, "SELECT count(*) FROM f" + std::to_string(slot) + ".record_meta");
    }
  }
  s.tx_lost = true;
}

}  // namespace

int CommitTransaction() {
  Session& s = CurrentSession();
  if (s.tx_lost) return kStatusIoError;  // committing the rest would store half of it
  const auto started = std::count_if(s.groups.begin(), s.groups.end(), [](const auto& g) { return g->tx_started; });
  // One connection commits its files atomically itself; over several, each
  // commit is held (files locked, journals hot) until all have committed,
  // and made durable at once (sqlite_journals.h).
  const bool held = started > 1;
  if (held) HoldCommits();
  for (auto& g : s.groups) {
    if (!g->tx_started) continue;
    g->ResetCursors();
    int rc = Exec(g->db, "COMMIT");
    if (rc != SQLITE_OK) {
      const int status = StatusOf(rc) == kStatusOk ? kStatusIoError : StatusOf(rc);
      if (held) {
        UndoHeldCommits(s);
        return status;
      }
      if (sqlite3_get_autocommit(g->db)) g->tx_started = false;
      return status;
    }
    g->tx_started = false;
  }
  if (held && !CommitHeld()) {
    UndoHeldCommits(s);
    return kStatusIoError;
  }
  EndSession(s);
  return kStatusOk;
}

int RollbackTransaction() {
  Session& s = CurrentSession();
  int status = kStatusOk;
  for (auto& g : s.groups) {
    if (!g->tx_started) continue;
    g->ResetCursors();
    int rc = Exec(g->db, "ROLLBACK");
    if (rc != SQLITE_OK && !sqlite3_get_autocommit(g->db)) status = StatusOf(rc);
  }
  EndSession(s);
  return status == kStatusOk ? kStatusOk : kStatusIoError;
}

void EndReadBatch() {
  Session& s = CurrentSession();
  if (s.batch_depth == 0 || --s.batch_depth > 0) return;
  for (auto& g : s.groups) g->EndRead();
}

void ReleaseBatchLocks(bool only_held_long) {
  Session& s = CurrentSession();
  if (s.batch_depth == 0) return;
  const auto now = std::chrono::steady_clock::now();
  for (auto& g : s.groups) {
    if (g->read_tx && (!only_held_long || now - g->read_since > kReadHold)) g->EndRead();
  }
}

int CreateFile(const std::string& path, const FileDef& file_def, bool replace) {
  std::error_code ec;
  if (fs::exists(path, ec)) {
    if (!replace) return kStatusFileExists;
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
    if (ec) return kStatusIoError;
  }
  // An empty file is an empty database: made first, it follows the umask.
  const bool made = MakeFileForUmask(path);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);
    if (made) fs::remove(path, ec);
    return kStatusIoError;
  }
  sqlite3_busy_timeout(db, g_busy_timeout_ms.load());
  std::string sql = "PRAGMA journal_mode = DELETE; BEGIN;"
                    "CREATE TABLE record_meta(name TEXT PRIMARY KEY, value);"
                    "CREATE TABLE record_keys(keyno INTEGER PRIMARY KEY, segments TEXT NOT NULL);"
                    "INSERT INTO record_meta VALUES('format', 1);"
                    "INSERT INTO record_meta VALUES('record_length', " + std::to_string(file_def.record_length) + ");"
                    "CREATE TABLE records(id INTEGER PRIMARY KEY AUTOINCREMENT, version INTEGER NOT NULL, data BLOB NOT NULL";
  for (std::size_t i = 0; i < file_def.keys.size(); ++i) sql += ", k" + std::to_string(i) + " BLOB NOT NULL";
  sql += ");";
  for (std::size_t i = 0; i < file_def.keys.size(); ++i) {
    const std::string n = std::to_string(i);
    sql += std::string(file_def.keys[i].unique ? "CREATE UNIQUE INDEX" : "CREATE INDEX") + " records_k" + n +
           " ON records(k" + n + ");";
    sql += "INSERT INTO record_keys VALUES(" + n + ", '" + FormatKey(file_def.keys[i]) + "');";
  }
  sql += "COMMIT;";
  rc = Exec(db, sql);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) {
    fs::remove(path, ec);
    return StatusOf(rc) == kStatusBusy ? kStatusBusy : kStatusIoError;
  }
  return kStatusOk;
}

namespace {
int InterruptEveryStep(void*) { return 1; }
}  // namespace

void InterruptWritesForTesting(bool on) {
  for (auto& g : CurrentSession().groups) {
    sqlite3_progress_handler(g->db, on ? 1 : 0, on ? InterruptEveryStep : nullptr, nullptr);
  }
}

void SetBusyTimeoutMs(int ms) {
  g_busy_timeout_ms = ms;
  for (auto& g : CurrentSession().groups) sqlite3_busy_timeout(g->db, ms);
}

namespace {

class SqliteStoreEngine final : public StoreEngine {
 public:
  std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) override {
    if (!FileExists(location)) {
      *status = kStatusFileNotFound;
      return nullptr;
    }
    return sqlite::AcquireFile(location.path, file_def, status);
  }
  void ReleaseFile(std::shared_ptr<StoreFile> file) override { sqlite::ReleaseFile(std::move(file)); }
  bool FileExists(const Location& location) override {
    std::error_code ec;
    return fs::is_regular_file(location.path, ec);
  }
  int CreateFile(const Location& location, const FileDef& file_def, bool replace) override {
    return sqlite::CreateFile(location.path, file_def, replace);
  }
  void BeginTransaction() override { sqlite::BeginTransaction(); }
  int CommitTransaction() override { return sqlite::CommitTransaction(); }
  int RollbackTransaction() override { return sqlite::RollbackTransaction(); }
  bool TransactionLost() override { return CurrentSession().tx_lost; }
  int SendHeldWrites() override { return kStatusOk; }  // every write goes at once
  void BeginReadBatch() override { ++CurrentSession().batch_depth; }
  void EndReadBatch() override { sqlite::EndReadBatch(); }
  void ReleaseBatchLocks(bool only_held_long) override { sqlite::ReleaseBatchLocks(only_held_long); }
  void SetBusyTimeoutMs(int ms) override { sqlite::SetBusyTimeoutMs(ms); }
};

}  // namespace

StoreEngine& SqliteEngine() {
  // Never destroyed: objects in static storage close their files through
  // it at exit, after function-local statics are gone.
  static SqliteStoreEngine* const engine = new SqliteStoreEngine;
  return *engine;
}

}  // namespace qz::record::internal::sqlite
