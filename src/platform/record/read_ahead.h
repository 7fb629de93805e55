// ReadAhead: the keyed reads of one file of the PostgreSQL engine answered
// from records fetched in blocks (key_span_cache.h), one cache per key.
//
// A positioning read that the cache cannot answer fetches, in one
// statement, the records from the start of its key's prefix (the key
// without its last segment; a key of one segment starts at itself) up to
// the next span already held, at most kBlock of them; the read is then
// answered from them when they decide it. GetNext and GetPrevious are
// answered when the span holds the record they give. What the cache cannot
// decide is left to the engine's own read.
//
// The cache lives for one epoch of the connection (pg_store.cpp): a new
// epoch, whatever bumped it, drops it, unless the engine carries it over
// with its own write applied (Carry). Not thread-safe: one file, one thread.
#ifndef QZ_PLATFORM_RECORD_READ_AHEAD_H_
#define QZ_PLATFORM_RECORD_READ_AHEAD_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/record/definitions.h"
#include "platform/record/key_span_cache.h"

namespace qz::record::internal {

class ReadAhead {
 public:
  static constexpr std::size_t kFirstBlock = 64;
  static constexpr std::size_t kBlock = 2048;  // records one fetch gives at most (a consultation of 1,600 items)

  // `def` must outlive the object.
  explicit ReadAhead(const FileDef& def);
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Fetches into `rows`, in (key, id) order, the records of key `key` from
  // gap.start on and before gap.end (if any), at most `limit`. 0 or a
  // failure status.
  using Fetch = std::function<int(int key, const KeySpanCache::Gap& gap, std::size_t limit, std::vector<Row>* rows)>;

  // Answers a read of StoreFile::Read at connection epoch `epoch`,
  // fetching with `fetch` when needed: 0 (with *out), 4, 9 or the fetch's
  // failure. nullopt when the engine is to read the server itself.
  std::optional<int> Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out,
                          std::uint64_t epoch, const Fetch& fetch);

  // The record `id` as held at epoch `epoch` (nullptr when not held).
  const Row* Find(std::int64_t id, std::uint64_t epoch) const;

  // This thread's write of record `id` moved the connection from epoch
  // `before` to `after`: the cache, if it was of `before`, goes on at
  // `after` with the write applied (`data` the new record, nullopt when
  // deleted, `version` its new version). Call only where no other terminal
  // can write the file meanwhile (its lock is held).
  void Carry(std::uint64_t before, std::uint64_t after, std::int64_t id, std::int64_t version,
             std::optional<std::string_view> data);

  void Drop();

  // What the cache holds at epoch `epoch`, span by span, with the number
  // of the key each span is of (empty when it holds nothing then).
  struct Held {
    int key = 0;
    KeySpanCache::SpanContents span;
  };
  std::vector<Held> Contents(std::uint64_t epoch) const;

 private:
  const FileDef& def_;
  std::vector<KeySpanCache> caches_;  // by key
  std::vector<std::size_t> blocks_;   // by key, the size of its next fetch
  std::uint64_t epoch_ = 0;
  bool held_ = false;
};

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_READ_AHEAD_H_
