#include "platform/record/key_span_cache.h"

#include <limits>

#include "platform/record/status.h"

namespace qz::record::internal {

namespace {

constexpr std::int64_t kMinId = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMaxId = std::numeric_limits<std::int64_t>::max();

}  // namespace

void KeySpanCache::Clear() {
  spans_.clear();
  rows_.clear();
  key_of_.clear();
}

bool KeySpanCache::InSpan(const Spans::value_type& span, std::string_view key) {
  return span.first <= key && (!span.second || key < *span.second);
}

const KeySpanCache::Spans::value_type* KeySpanCache::SpanOf(std::string_view key) const {
  auto it = spans_.upper_bound(key);
  if (it == spans_.begin()) return nullptr;
  --it;
  return InSpan(*it, key) ? &*it : nullptr;
}

std::optional<int> KeySpanCache::Answer(Seek seek, std::string_view key, std::int64_t id, Row* out) const {
  const Spans::value_type* span = SpanOf(key);
  if (span == nullptr) return std::nullopt;
  const std::string k(key);
  // The first record at or after `it` in the direction asked, if the span
  // holds it; else the end of the file when the span reaches it.
  auto forward = [&](std::map<RowKey, Row>::const_iterator it) -> std::optional<int> {
    if (it != rows_.end() && InSpan(*span, it->first.first)) {
      *out = it->second;
      return kStatusOk;
    }
    if (!span->second) return kStatusEndOfFile;
    return std::nullopt;
  };
  auto backward = [&](std::map<RowKey, Row>::const_iterator it) -> std::optional<int> {
    if (it != rows_.begin() && InSpan(*span, std::prev(it)->first.first)) {
      *out = std::prev(it)->second;
      return kStatusOk;
    }
    if (span->first.empty()) return kStatusEndOfFile;
    return std::nullopt;
  };
  switch (seek) {
    case Seek::kEqual: {
      auto it = rows_.lower_bound(RowKey(k, kMinId));
      if (it == rows_.end() || it->first.first != k) return kStatusNotFound;
      *out = it->second;
      return kStatusOk;
    }
    case Seek::kGreaterOrEqual: return forward(rows_.lower_bound(RowKey(k, kMinId)));
    case Seek::kGreater: return forward(rows_.upper_bound(RowKey(k, kMaxId)));
    case Seek::kNext: return forward(rows_.upper_bound(RowKey(k, id)));
    case Seek::kLessOrEqual: return backward(rows_.upper_bound(RowKey(k, kMaxId)));
    case Seek::kLess: return backward(rows_.lower_bound(RowKey(k, kMinId)));
    case Seek::kPrevious: return backward(rows_.lower_bound(RowKey(k, id)));
    case Seek::kFirst:
    case Seek::kLast:
    case Seek::kCount: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<KeySpanCache::Gap> KeySpanCache::GapAt(std::string_view from) const {
  Gap gap;
  gap.start.assign(from);
  // Spans may touch: the gap starts past every span that holds its start.
  while (const Spans::value_type* span = SpanOf(gap.start)) {
    if (!span->second) return std::nullopt;
    gap.start = *span->second;
  }
  auto next = spans_.upper_bound(gap.start);
  if (next != spans_.end()) gap.end = next->first;
  return gap;
}

void KeySpanCache::Add(const Gap& gap, std::vector<Row> rows, bool complete) {
  std::optional<std::string> hi = gap.end;
  if (!complete) {
    if (rows.empty()) return;
    hi = rows.back().key;  // its records may go on past the block
    while (!rows.empty() && rows.back().key == *hi) rows.pop_back();
    if (*hi <= gap.start) return;
  }
  // A span is never joined to its neighbours: each holds the records of
  // one statement, so that an answer never joins two states of the file.
  spans_[gap.start] = hi;
  for (Row& row : rows) {
    key_of_[row.id] = row.key;
    RowKey at(row.key, row.id);
    rows_[std::move(at)] = std::move(row);
  }
}

void KeySpanCache::Remove(std::int64_t id) {
  auto it = key_of_.find(id);
  if (it == key_of_.end()) return;
  rows_.erase(RowKey(it->second, id));
  key_of_.erase(it);
}

void KeySpanCache::Put(const Row& row) {
  Remove(row.id);
  if (SpanOf(row.key) == nullptr) return;
  key_of_[row.id] = row.key;
  rows_[RowKey(row.key, row.id)] = row;
}

const Row* KeySpanCache::Find(std::int64_t id) const {
  auto it = key_of_.find(id);
  if (it == key_of_.end()) return nullptr;
  auto row = rows_.find(RowKey(it->second, id));
  return row == rows_.end() ? nullptr : &row->second;
}

std::vector<KeySpanCache::SpanContents> KeySpanCache::Contents() const {
  std::vector<SpanContents> out;
  for (const auto& span : spans_) {
    SpanContents c{span.first, span.second, {}};
    for (auto it = rows_.lower_bound(RowKey(span.first, kMinId)); it != rows_.end() && InSpan(span, it->first.first);
         ++it) {
      if (!c.records.empty()) c.records += ',';
      c.records += std::to_string(it->second.id) + '.' + std::to_string(it->second.version);
    }
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace qz::record::internal
