#include "tools/reservation_database.h"

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>

#include "platform/path/host_path.h"

namespace qz {

namespace {

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS T_予約ﾏｽﾀ (予約年月日 INTEGER, 予約時間 TEXT, 医師ｺｰﾄﾞ INTEGER, "
    "患者番号 TEXT, 診療区分 TEXT)";

// The lookup's query. The patient number and the date are bound as values,
// never spliced into the text, so no examinee number can change the query.
constexpr const char* kFindQuery =
    "SELECT 予約年月日,予約時間,医師ｺｰﾄﾞ,患者番号,診療区分 FROM T_予約ﾏｽﾀ WHERE "
    "医師ｺｰﾄﾞ = ?1 AND 患者番号 = ?2 AND 予約年月日 = ?3";

std::string ColumnText(sqlite3_stmt* st, int col) {
  const unsigned char* t = sqlite3_column_text(st, col);
  return t == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(t));
}

// Runs `fn` on the database `path`, created when missing.
template <class Fn>
void WithCreatedDb(const std::string& path, Fn fn) {
  const std::string host = path::ToHostPath(path);
  const std::filesystem::path parent = std::filesystem::path(host).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(host.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, kCreateTable, nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = fn(db);
  const std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  sqlite3_close(db);
  if (rc != SQLITE_OK && rc != SQLITE_DONE) {
    throw std::runtime_error("reservation database " + host + ": " + message);
  }
}

}  // namespace

ReservationDatabase::~ReservationDatabase() { Close(); }

ReservationDbError ReservationDatabase::LastError(int rc) const {
  ReservationDbError e;
  e.number = rc;
  e.description = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  return e;
}

std::optional<ReservationDbError> ReservationDatabase::Open(std::string_view path) {
  Close();
  const std::string host = path::ToHostPath(path);
  if (host.empty() || host[0] == ':') {  // no file named (SQLite would make a private one)
    return ReservationDbError{SQLITE_CANTOPEN, "no database file: \"" + host + "\""};
  }
  int rc = sqlite3_open_v2(host.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  // The file is read only when first used: its schema is read now, so that
  // a file that is no database fails the open, as a missing one does.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    ReservationDbError e = LastError(rc);
    e.description += ": " + host;
    Close();
    return e;
  }
  return std::nullopt;
}

std::optional<ReservationDbError> ReservationDatabase::FindFirst(std::int32_t doctor,
                                                                 std::string_view patient,
                                                                 std::int32_t date,
                                                                 std::optional<ReservationRow>& found) {
  found.reset();
  if (db_ == nullptr) return ReservationDbError{SQLITE_MISUSE, "database not open"};
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db_, kFindQuery, -1, &st, nullptr);
  if (rc != SQLITE_OK) {
    ReservationDbError e = LastError(rc);
    sqlite3_finalize(st);
    return e;
  }
  sqlite3_bind_int(st, 1, doctor);
  sqlite3_bind_text(st, 2, patient.data(), static_cast<int>(patient.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(st, 3, date);
  rc = sqlite3_step(st);
  std::optional<ReservationDbError> error;
  if (rc == SQLITE_ROW) {
    ReservationRow row;
    row.date = sqlite3_column_int(st, 0);
    row.time = ColumnText(st, 1);
    row.doctor = sqlite3_column_int(st, 2);
    row.patient = ColumnText(st, 3);
    row.classes = ColumnText(st, 4);
    found = std::move(row);
  } else if (rc != SQLITE_DONE) {
    error = LastError(rc);
  }
  sqlite3_finalize(st);
  return error;
}

void ReservationDatabase::Close() {
  if (db_ != nullptr) sqlite3_close(db_);
  db_ = nullptr;
}

void CreateReservationDatabase(const std::string& path) {
  WithCreatedDb(path, [](sqlite3*) { return SQLITE_OK; });
}

void AddReservation(const std::string& path, const ReservationRow& row) {
  WithCreatedDb(path, [&row](sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "INSERT INTO T_予約ﾏｽﾀ (予約年月日,予約時間,医師ｺｰﾄﾞ,患者番号,診療区分) VALUES (?,?,?,?,?)",
        -1, &st, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_int(st, 1, row.date);
      sqlite3_bind_text(st, 2, row.time.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(st, 3, row.doctor);
      sqlite3_bind_text(st, 4, row.patient.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 5, row.classes.c_str(), -1, SQLITE_TRANSIENT);
      rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    return rc;
  });
}

}  // namespace qz
