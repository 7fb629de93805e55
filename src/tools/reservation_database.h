// ReservationDatabase: the clinic's reservation database, which lies
// outside the suite. On this platform it is an SQLite database file (the
// file RESERVE of QZPPATH.ini names) with the table the reservation lookup
// reads:
//
//   T_予約ﾏｽﾀ (予約年月日 INTEGER yyyymmdd, 予約時間 TEXT, 医師ｺｰﾄﾞ INTEGER,
//              患者番号 TEXT, 診療区分 TEXT)
//
// Other tables and columns may exist; the lookup reads only these. The
// database is opened read/write and never created by the lookup (a missing
// file is an open error, as the clinic's database provider reports it);
// CreateReservationDatabase and AddReservation make one for tests and the
// demo data.
//
// Errors are values: a number (the database's result code) and the
// database's description. One object per lookup; not thread-safe.
#ifndef QZ_TOOLS_RESERVATION_DATABASE_H_
#define QZ_TOOLS_RESERVATION_DATABASE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

namespace qz {

struct ReservationDbError {
  int number = 0;
  std::string description;
};

// One row of T_予約ﾏｽﾀ.
struct ReservationRow {
  std::int32_t date = 0;     // 予約年月日, yyyymmdd
  std::string time;          // 予約時間
  std::int32_t doctor = 0;   // 医師ｺｰﾄﾞ
  std::string patient;       // 患者番号
  std::string classes;       // 診療区分
};

class ReservationDatabase {
 public:
  ReservationDatabase() = default;
  ~ReservationDatabase();
  ReservationDatabase(const ReservationDatabase&) = delete;
  ReservationDatabase& operator=(const ReservationDatabase&) = delete;

  // Opens the database file `path` (the suite's path form is mapped to this
  // machine) for reading and writing. nullopt on success; an error for a
  // missing file and for a file that is no database.
  std::optional<ReservationDbError> Open(std::string_view path);

  // The first reservation of doctor `doctor` for patient `patient` on
  // `date`, in the order the database returns them, into `found` (nullopt
  // when there is none). The patient number is compared exactly as given.
  // Precondition: Open succeeded. nullopt on success, else the error of the
  // query (a missing table or column).
  std::optional<ReservationDbError> FindFirst(std::int32_t doctor, std::string_view patient,
                                              std::int32_t date,
                                              std::optional<ReservationRow>& found);

  // Closes the database; nothing when it is not open.
  void Close();

 private:
  ReservationDbError LastError(int rc) const;
  sqlite3* db_ = nullptr;
};

// Creates (or opens) the database file `path` with the table T_予約ﾏｽﾀ,
// making its folder. Throws std::runtime_error on failure.
void CreateReservationDatabase(const std::string& path);

// Adds `row` to the table of the database `path` (created when missing).
// Throws std::runtime_error on failure.
void AddReservation(const std::string& path, const ReservationRow& row);

}  // namespace qz

#endif  // QZ_TOOLS_RESERVATION_DATABASE_H_
