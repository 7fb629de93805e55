// One open record file of an engine, as the record manager sees it
// (internal to the record manager; callers use BtrAccess and btr_file.h).
//
// An engine keeps each record file as a table of fixed-length records with
// one indexed column per key. Records read in (key, id) order: `id` grows
// with every insert, so duplicates come back in insertion order. `version`
// grows with every write of a record, so that a write can tell that
// another object or process changed the record since it was read.
//
// A StoreFile is shared by every object of one thread on the same file;
// it belongs to that thread. Statuses are those of status.h.
#ifndef QZ_PLATFORM_RECORD_STORE_FILE_H_
#define QZ_PLATFORM_RECORD_STORE_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/record/definitions.h"
#include "platform/record/storage_location.h"

namespace qz::record::internal {

struct Row {
  std::int64_t id = 0;
  std::int64_t version = 0;
  std::string data;
  std::string key;  // the key column the read went by
};

enum class Seek { kEqual, kGreater, kGreaterOrEqual, kLess, kLessOrEqual, kNext, kPrevious, kFirst, kLast, kCount };

class StoreFile {
 public:
  StoreFile() = default;
  virtual ~StoreFile() = default;
  StoreFile(const StoreFile&) = delete;
  StoreFile& operator=(const StoreFile&) = delete;

  virtual Engine engine() const = 0;
  virtual const FileDef& def() const = 0;

  // Reads by key `key`. kNext/kPrevious go on from (`key_bytes`, `id`);
  // kFirst/kLast ignore both; the others compare with `key_bytes` only.
  // 0, 4 (kEqual), 9, or a failure status.
  virtual int Read(int key, Seek seek, std::string_view key_bytes, std::int64_t id, Row* out) = 0;
  // The record after record `after_id` in insertion order (0 for the
  // first); `out->key` is left empty. 0, 9 or a failure.
  virtual int ReadInOrder(std::int64_t after_id, Row* out) = 0;
  // Adds a record; `out` gets its id and version. 0, 5 or a failure.
  virtual int Insert(std::string_view data, Row* out) = 0;
  // Rewrites / deletes record `id` when its version is still `version`.
  // 0, 80 (changed or gone), 5 (Update: duplicate unique key), 84 (locked
  // by another terminal past the busy wait) or a failure.
  virtual int Update(std::int64_t id, std::int64_t version, std::string_view data) = 0;
  virtual int Delete(std::int64_t id, std::int64_t version) = 0;
};

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_STORE_FILE_H_
