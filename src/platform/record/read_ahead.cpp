#include "platform/record/read_ahead.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/record/record_codec.h"

namespace qz::record::internal {

namespace {

// The bytes of `key_bytes` before its last segment ("" for a key of one
// segment).
std::string_view Prefix(const KeyDef& key, std::string_view key_bytes) {
  if (key.segments.size() < 2) return key_bytes;
  const KeySegment& last = key.segments.back();
  const std::size_t width = last.kind == SegmentKind::kNumeric ? 8 : static_cast<std::size_t>(last.length);
  return key_bytes.substr(0, key_bytes.size() >= width ? key_bytes.size() - width : 0);
}

}  // namespace

ReadAhead::ReadAhead(const FileDef& def) : def_(def), caches_(def.keys.size()), blocks_(def.keys.size(), kFirstBlock) {}

void ReadAhead::Drop() {
  if (!held_) return;
  for (KeySpanCache& c : caches_) c.Clear();
  blocks_.assign(caches_.size(), kFirstBlock);
  held_ = false;
}

std::optional<int> ReadAhead::Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out,
                                   std::uint64_t epoch, const Fetch& fetch) {
  if (seek == Seek::kFirst || seek == Seek::kLast || seek == Seek::kCount) return std::nullopt;
  if (key < 0 || static_cast<std::size_t>(key) >= caches_.size()) return std::nullopt;
  if (epoch != epoch_) {
    Drop();
    epoch_ = epoch;
  }
  KeySpanCache& cache = caches_[static_cast<std::size_t>(key)];
  if (std::optional<int> answer = cache.Answer(seek, key_bytes, id, out)) return answer;
  // Scans go on by the engine's blocks of the scan order.
  if (seek == Seek::kNext || seek == Seek::kPrevious) return std::nullopt;
  std::optional<KeySpanCache::Gap> gap = cache.GapAt(Prefix(def_.keys[static_cast<std::size_t>(key)], key_bytes));
  if (!gap) return std::nullopt;
  std::size_t& block = blocks_[static_cast<std::size_t>(key)];
  std::vector<Row> rows;
  if (int status = fetch(key, *gap, block, &rows); status != 0) return status;
  const bool complete = rows.size() < block;
  block = std::min(block * 4, kBlock);
  cache.Add(*gap, std::move(rows), complete);
  held_ = true;
  return cache.Answer(seek, key_bytes, id, out);
}

const Row* ReadAhead::Find(std::int64_t id, std::uint64_t epoch) const {
  if (!held_ || epoch != epoch_) return nullptr;
  for (const KeySpanCache& c : caches_) {
    if (const Row* row = c.Find(id)) return row;
  }
  return nullptr;
}

void ReadAhead::Carry(std::uint64_t before, std::uint64_t after, std::int64_t id, std::int64_t version,
                      std::optional<std::string_view> data) {
  if (!held_ || epoch_ != before) return;
  epoch_ = after;
  for (std::size_t k = 0; k < caches_.size(); ++k) {
    if (!data) {
      caches_[k].Remove(id);
      continue;
    }
    Row row;
    row.id = id;
    row.version = version;
    row.data.assign(*data);
    row.key = BuildKey(*data, def_.keys[k]);
    caches_[k].Put(row);
  }
}

std::vector<ReadAhead::Held> ReadAhead::Contents(std::uint64_t epoch) const {
  std::vector<Held> out;
  if (!held_ || epoch != epoch_) return out;
  for (std::size_t k = 0; k < caches_.size(); ++k) {
    for (KeySpanCache::SpanContents& span : caches_[k].Contents()) {
      out.push_back(Held{static_cast<int>(k), std::move(span)});
    }
  }
  return out;
}

}  // namespace qz::record::internal
