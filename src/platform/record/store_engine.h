// The engine interface of the record manager (internal; callers use
// BtrAccess and btr_file.h): where record files live and how a thread's
// transaction and read batch run on them. Two engines implement it:
// SqliteEngine() (sqlite_store.h) and PgEngine() (pg_store.h);
// record_store.h puts them behind one front.
//
// Every method works on the calling thread's connections and state; an
// engine keeps them per thread and starts afresh in a forked child.
#ifndef QZ_PLATFORM_RECORD_STORE_ENGINE_H_
#define QZ_PLATFORM_RECORD_STORE_ENGINE_H_

#include <memory>

#include "platform/record/definitions.h"
#include "platform/record/storage_location.h"
#include "platform/record/store_file.h"

namespace qz::record::internal {

class StoreEngine {
 public:
  StoreEngine() = default;
  virtual ~StoreEngine() = default;
  StoreEngine(const StoreEngine&) = delete;
  StoreEngine& operator=(const StoreEngine&) = delete;

  // The existing file at `location` (of this engine), checked against
  // `file_def`; nullptr with `*status` 12 (missing), 2 (not a record file,
  // it disagrees with `file_def`, or the engine cannot be reached) or 84.
  virtual std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def,
                                                 int* status) = 0;
  // Gives back a file of this engine; a file closed inside a transaction
  // stays with the transaction until it ends.
  virtual void ReleaseFile(std::shared_ptr<StoreFile> file) = 0;
  virtual bool FileExists(const Location& location) = 0;
  // Creates an empty file. 0, 59 (exists and not `replace`) or a failure.
  virtual int CreateFile(const Location& location, const FileDef& file_def, bool replace) = 0;

  // The thread's transaction: Begin only marks it begun (the engine begins
  // at its first statement); Commit gives 0 or a failure (the transaction
  // then stays for Rollback); Rollback gives 0 or 2. Lost: the engine undid
  // the transaction on its own, so it may only be rolled back.
  virtual void BeginTransaction() = 0;
  virtual int CommitTransaction() = 0;
  virtual int RollbackTransaction() = 0;
  virtual bool TransactionLost() = 0;
  // Sends the writes the engine holds back inside the transaction: 0, or
  // the status of the server's refusal of held writes, now or at an earlier
  // statement of the transaction (which is then lost).
  virtual int SendHeldWrites() = 0;

  // The thread's read batch (see read_batch.h).
  virtual void BeginReadBatch() = 0;
  virtual void EndReadBatch() = 0;
  virtual void ReleaseBatchLocks(bool only_held_long) = 0;

  // How long a statement waits for another connection's lock (84 after).
  virtual void SetBusyTimeoutMs(int ms) = 0;
};

}  // namespace qz::record::internal

#endif  // QZ_PLATFORM_RECORD_STORE_ENGINE_H_
