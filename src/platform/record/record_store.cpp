#include "platform/record/record_store.h"

#include <pthread.h>

#include <atomic>
#include <vector>

#include "platform/record/pg_store.h"
#include "platform/record/sqlite_journals.h"
#include "platform/record/sqlite_store.h"
#include "platform/record/status.h"

namespace qz::record::internal {

namespace {

std::atomic<int> g_busy_timeout_ms{5000};

// The thread's transaction over both engines.
thread_local bool t_in_tx = false;
thread_local std::uint64_t t_tx_number = 0;
thread_local std::vector<bool> t_rolled_back;  // by transaction number

// A forked child starts without a transaction (the engines start afresh
// there too).
[[maybe_unused]] const bool g_fork_handler = [] {
  pthread_atfork(nullptr, nullptr, [] { t_in_tx = false; });
  return true;
}();

}  // namespace

namespace {

StoreEngine& EngineOf(Engine engine) { return engine == Engine::kPostgres ? pg::PgEngine() : sqlite::SqliteEngine(); }

// Both engines, in commit order.
StoreEngine* const* Engines() {
  static StoreEngine* const engines[] = {&pg::PgEngine(), &sqlite::SqliteEngine(), nullptr};
  return engines;
}

}  // namespace

std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) {
  return EngineOf(location.engine).AcquireFile(location, file_def, status);
}

void ReleaseFile(std::shared_ptr<StoreFile> file) {
  if (file) EngineOf(file->engine()).ReleaseFile(std::move(file));
}

bool StoreFileExists(const Location& location) { return EngineOf(location.engine).FileExists(location); }

int CreateStoreFile(const Location& location, const FileDef& file_def, bool replace) {
  return EngineOf(location.engine).CreateFile(location, file_def, replace);
}

bool InTransaction() { return t_in_tx; }

std::uint64_t CurrentTransaction() { return t_in_tx ? t_tx_number : 0; }

bool TransactionRolledBack(std::uint64_t number) {
  return number < t_rolled_back.size() && t_rolled_back[number];
}

int BeginTransaction() {
  if (t_in_tx) return kStatusTransactionActive;
  t_in_tx = true;
  ++t_tx_number;
  t_rolled_back.resize(t_tx_number + 1, false);
  for (auto e = Engines(); *e; ++e) (*e)->BeginTransaction();
  return kStatusOk;
}

int CommitTransaction() {
  if (!t_in_tx) return kStatusNoTransaction;
  for (auto e = Engines(); *e; ++e) {
    if ((*e)->TransactionLost()) {
      // Committing the rest would store half of it: undo everything instead.
      RollbackTransaction();
      return kStatusIoError;
    }
  }
  for (auto e = Engines(); *e; ++e) {
    const int status = (*e)->CommitTransaction();
    if (status != kStatusOk) return status;
  }
  t_in_tx = false;
  return kStatusOk;
}

int SendHeldWrites() {
  if (!t_in_tx) return kStatusOk;
  for (auto e = Engines(); *e; ++e) {
    if (const int status = (*e)->SendHeldWrites(); status != kStatusOk) return status;
  }
  return kStatusOk;
}

int RollbackTransaction() {
  if (!t_in_tx) return kStatusOk;
  t_in_tx = false;
  t_rolled_back[t_tx_number] = true;
  int status = kStatusOk;
  for (auto e = Engines(); *e; ++e) {
    if ((*e)->RollbackTransaction() != kStatusOk) status = kStatusIoError;
  }
  return status;
}

void BeginReadBatch() {
  for (auto e = Engines(); *e; ++e) (*e)->BeginReadBatch();
}

void EndReadBatch() {
  for (auto e = Engines(); *e; ++e) (*e)->EndReadBatch();
}

void ReleaseBatchLocks(bool only_held_long) {
  for (auto e = Engines(); *e; ++e) (*e)->ReleaseBatchLocks(only_held_long);
}

void SetBusyTimeoutMs(int ms) {
  g_busy_timeout_ms = ms;
  for (auto e = Engines(); *e; ++e) (*e)->SetBusyTimeoutMs(ms);
}

int BusyTimeoutMs() { return g_busy_timeout_ms.load(); }

void InterruptWritesForTesting(bool on) { sqlite::InterruptWritesForTesting(on); }
void FailFileWritesForTesting(const std::string& suffix) { sqlite::FailWritesForTesting(suffix); }
void DieAtCommitStepForTesting(int step) { sqlite::DieAtCommitStepForTesting(step); }
void AtCommitStepForTesting(std::function<void(int)> hook) { sqlite::AtCommitStepForTesting(std::move(hook)); }

}  // namespace qz::record::internal
