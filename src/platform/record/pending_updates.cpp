#include "platform/record/pending_updates.h"

#include <utility>

namespace qz::record::internal {

namespace {

void AppendHex(std::string_view bytes, std::string* out) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (unsigned char c : bytes) {
    out->push_back(kDigits[c >> 4]);
    out->push_back(kDigits[c & 0xF]);
  }
}

// Array literals of the columns, filled record by record.
struct Columns {
  std::vector<std::string> arrays;
  explicit Columns(std::size_t n) : arrays(n, "{") {}
  void Put(std::size_t col, std::string_view text) {
    if (arrays[col].size() > 1) arrays[col] += ',';
    arrays[col] += text;
  }
  void PutHex(std::size_t col, std::string_view bytes) {
    if (arrays[col].size() > 1) arrays[col] += ',';
    AppendHex(bytes, &arrays[col]);
  }
  std::vector<std::string> Close() {
    for (std::string& a : arrays) a += '}';
    return std::move(arrays);
  }
};

}  // namespace

void PendingUpdates::Add(const std::string& table, std::int64_t id, std::int64_t version, std::string_view data,
                         const std::vector<std::string>& keys) {
  Table& t = tables_[table];
  auto [it, added] = t.records.try_emplace(id);
  if (added) {
    t.order.push_back(id);
    it->second.from_version = version;
  }
  it->second.to_version = version + 1;
  it->second.data.assign(data);
  it->second.keys = keys;
}

void PendingUpdates::AddInsert(const std::string& table, std::int64_t id, std::string_view data,
                               const std::vector<std::string>& keys) {
  Table& t = tables_[table];
  Record& r = t.records[id];
  t.order.push_back(id);
  r.insert = true;
  r.to_version = 1;
  r.data.assign(data);
  r.keys = keys;
}

std::vector<PendingUpdates::Statement> PendingUpdates::Take() {
  std::vector<Statement> out;
  for (auto& [table, t] : tables_) {
    if (t.order.empty()) continue;
    const std::size_t nkeys = t.records.begin()->second.keys.size();
    // The inserts, then the rewrites of records already on the server.
    for (const bool inserts : {true, false}) {
      // id, from, to, data, keys...
      Columns cols(4 + nkeys);
      std::size_t records = 0;
      for (std::int64_t id : t.order) {
        const Record& r = t.records.at(id);
        if (r.insert != inserts) continue;
        ++records;
        cols.Put(0, std::to_string(id));
        cols.Put(1, std::to_string(r.from_version));
        cols.Put(2, std::to_string(r.to_version));
        cols.PutHex(3, r.data);
        for (std::size_t k = 0; k < nkeys; ++k) cols.PutHex(4 + k, r.keys[k]);
      }
      if (records == 0) continue;
      std::string sets, keys, unnest = "$1::int8[], $2::int8[], $3::int8[], $4::text[]",
                              names = "id, from_version, to_version, data";
      for (std::size_t k = 0; k < nkeys; ++k) {
        const std::string col = "k" + std::to_string(k);
        sets += ", " + col + " = decode(u." + col + ", 'hex')";
        keys += ", " + col;
        unnest += ", $" + std::to_string(5 + k) + "::text[]";
        names += ", " + col;
      }
      Statement s;
      if (inserts) {
        std::string values;
        for (std::size_t k = 0; k < nkeys; ++k) values += ", decode(u.k" + std::to_string(k) + ", 'hex')";
        s.sql = "INSERT INTO " + table + "(id, version, data" + keys + ") SELECT u.id, u.to_version, " +
                "decode(u.data, 'hex')" + values + " FROM unnest(" + unnest + ") AS u(" + names + ")";
      } else {
        s.sql = "UPDATE " + table + " AS t SET version = u.to_version, data = decode(u.data, 'hex')" + sets +
                " FROM unnest(" + unnest + ") AS u(" + names + ") WHERE t.id = u.id AND t.version = u.from_version";
      }
      s.params = cols.Close();
      s.records = records;
      out.push_back(std::move(s));
    }
  }
  tables_.clear();
  return out;
}

}  // namespace qz::record::internal
