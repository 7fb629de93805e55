// A run of reads that the record manager may serve as one.
//
// While a ReadBatch lives on a thread, that thread's reads outside a
// transaction share one read transaction per connection instead of taking
// and dropping each file's lock per read, and GetNext/GetPrevious go on
// stepping (SQLite) or answer from records fetched in blocks (PostgreSQL).
// Reads still see every write of this thread at once; another process's
// write may show only after about a tenth of a second (the batch renews its
// read that often when it reads or yields, so that other processes' writes
// wait about that long at most while it reads). The batch never waits for
// a file with its reads held: a read that would wait, a write and a
// transaction give every read of the batch back first, so that no other
// process's commit waits for a thread that waits for it. A write outside a
// transaction is committed at once, as always.
//
// For steps that read much and write little, such as loading a
// consultation. Batches nest; the outermost one's end ends the batch.
// Construct and destroy on one thread.
#ifndef QZ_PLATFORM_RECORD_READ_BATCH_H_
#define QZ_PLATFORM_RECORD_READ_BATCH_H_

namespace qz::record {

class ReadBatch {
 public:
  ReadBatch();
  ~ReadBatch();
  ReadBatch(const ReadBatch&) = delete;
  ReadBatch& operator=(const ReadBatch&) = delete;
};

// Gives the running batch's read locks back (the batch goes on: its next
// read takes them again). With `only_held_long`, only those held longer
// than the batch may keep them. The user-interface shell calls it before it
// waits for the operator (all) and at each yield (the long-held ones), so
// that no batch keeps another terminal waiting while this one waits. Does
// nothing outside a batch.
void ReleaseBatchLocks(bool only_held_long = false);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_READ_BATCH_H_
