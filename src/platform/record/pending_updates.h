// PendingUpdates: inserts and rewrites of records that the PostgreSQL engine
// holds back inside a transaction and sends as one statement per table and
// kind (the inserts first), at the connection's next statement or at the
// commit.
//
// The engine holds back only a write whose outcome it knows: the table's
// lock is held by the transaction; for a rewrite, the record is as read (its
// version) and no unique key changes; for an insert, the records fetched
// ahead show that no record holds any of its unique keys, and its id is one
// the transaction took from the table's sequence. Such a write cannot fail
// but with the connection. Its status is the one the write gives at once;
// the statement that sends it must insert or change exactly as many records
// as were held back, else the transaction is lost. Two writes of one record
// are sent as one: a rewrite of a record inserted here goes with its insert.
// Not thread-safe: one connection.
#ifndef QZ_PLATFORM_RECORD_PENDING_UPDATES_H_
#define QZ_PLATFORM_RECORD_PENDING_UPDATES_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qz::record::internal {

class PendingUpdates {
 public:
  PendingUpdates() = default;
  PendingUpdates(const PendingUpdates&) = delete;
  PendingUpdates& operator=(const PendingUpdates&) = delete;

  // Holds back the rewrite of record `id` of `table` (quoted, with its
  // schema) from version `version` to `version` + 1 with `data` and its key
  // columns `keys` (k0, k1, ... in order).
  void Add(const std::string& table, std::int64_t id, std::int64_t version, std::string_view data,
           const std::vector<std::string>& keys);

  // Holds back the insert of record `id` (version 1) into `table` with
  // `data` and its key columns `keys`.
  void AddInsert(const std::string& table, std::int64_t id, std::string_view data,
                 const std::vector<std::string>& keys);

  bool empty() const { return tables_.empty(); }
  void Clear() { tables_.clear(); }

  // One statement of a table: its text, its parameters (text, each to be
  // sent as the bytes of a text value) and the records it must change.
  struct Statement {
    std::string sql;
    std::vector<std::string> params;
    std::size_t records = 0;
  };
  // The statements of everything held back, which is then cleared.
  std::vector<Statement> Take();

 private:
  struct Record {
    bool insert = false;            // not yet on the server
    std::int64_t from_version = 0;  // as stored on the server
    std::int64_t to_version = 0;
    std::string data;
    std::vector<std::string> keys;
  };
  struct Table {
    std::vector<std::int64_t> order;  // ids, first held back first
    std::map<std::int64_t, Record> records;
  };
  std::map<std::string, Table> tables_;
};

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_PENDING_UPDATES_H_
