// KeySpanCache: the records of one key of one file that the PostgreSQL
// engine fetched in blocks, so that a run of keyed reads (a consultation's
// results item by item, the item master's rows of its items, their
// ranges) is answered from a few statements instead of one each.
//
// The cache holds spans of the key: a span [lo, hi) holds every record
// whose key lies in it, as of the one statement that fetched it ("" as lo is
// the start of the file; a span may run to the end of the file). Spans are
// never joined: another terminal may write between two statements, and a
// read answered across two spans could give a record that no state of the
// file gives in that place. A read is
// answered only when the spans decide it: the record it would give lies in
// the span of its key, or the span runs to the end (or from the start) of
// the file and nothing lies in the direction asked. Otherwise the engine
// reads the server. Answers are those of the server's read, position
// included: the record with its key and id, 4 for GetEqual and 9 at the
// ends.
//
// The engine drops the cache when its rows may have gone stale (see
// pg_store.h); inside a transaction that holds the file's lock it applies
// its own writes to the cache instead (Put, Remove). Not thread-safe: it
// belongs to one file of one thread.
#ifndef QZ_PLATFORM_RECORD_KEY_SPAN_CACHE_H_
#define QZ_PLATFORM_RECORD_KEY_SPAN_CACHE_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/record/store_file.h"

namespace qz::record::internal {

class KeySpanCache {
 public:
  KeySpanCache() = default;
  KeySpanCache(const KeySpanCache&) = delete;
  KeySpanCache& operator=(const KeySpanCache&) = delete;
  KeySpanCache(KeySpanCache&&) = default;
  KeySpanCache& operator=(KeySpanCache&&) = default;

  void Clear();
  bool empty() const { return spans_.empty(); }

  // Answers a read (`seek` other than kFirst, kLast and kCount; `key`
  // and `id` as StoreFile::Read takes them) when the spans decide it:
  // then *status is 0 (with *out), 4 or 9. nullopt when they do not.
  std::optional<int> Answer(Seek seek, std::string_view key, std::int64_t id, Row* out) const;

  // Where a fetch for a read at `key` starts and ends: the first key at or
  // after `from` that no span holds, and the start of the next span after
  // it (nullopt: none, the fetch may run to the end of the file). nullopt
  // as a whole when the spans from `from` on run to the end of the file.
  struct Gap {
    std::string start;
    std::optional<std::string> end;
  };
  std::optional<Gap> GapAt(std::string_view from) const;

  // Takes the rows a statement fetched of `gap`, in key order. `complete`:
  // the statement gave every row of the gap (fewer than its limit). Else
  // the rows of the last key may be cut off, and only the keys before it
  // count as held.
  void Add(const Gap& gap, std::vector<Row> rows, bool complete);

  // Applies this thread's own write: record `id` now has `row` (key and
  // all) or is gone. A record whose key no span holds is left out.
  void Put(const Row& row);
  void Remove(std::int64_t id);
  // The record `id` when the cache holds it.
  const Row* Find(std::int64_t id) const;

  // What each span holds, for a check that the server still holds the
  // same: its bounds and its records' "id.version" joined by "," in key
  // order (key, then id).
  struct SpanContents {
    std::string lo;
    std::optional<std::string> hi;  // nullopt: to the end of the file
    std::string records;
  };
  std::vector<SpanContents> Contents() const;

 private:
  using RowKey = std::pair<std::string, std::int64_t>;
  using Spans = std::map<std::string, std::optional<std::string>, std::less<>>;  // lo -> hi (nullopt: the end)
  // The span that holds `key`, or nullptr.
  const Spans::value_type* SpanOf(std::string_view key) const;
  static bool InSpan(const Spans::value_type& span, std::string_view key);

  Spans spans_;  // apart; they may touch
  std::map<RowKey, Row> rows_;
  std::unordered_map<std::int64_t, std::string> key_of_;  // id -> key
};

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_KEY_SPAN_CACHE_H_
