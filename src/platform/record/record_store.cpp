#include "platform/record/record_store.h"

#include <pthread.h>

#include <atomic>
#include <filesystem>
#include <vector>

#include "platform/record/pg_store.h"
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

std::shared_ptr<StoreFile> AcquireFile(const Location& location, const FileDef& file_def, int* status) {
  if (location.engine == Engine::kPostgres) return pg::AcquireFile(location, file_def, status);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(location.path, ec)) {
    *status = kStatusFileNotFound;
    return nullptr;
  }
  return sqlite::AcquireFile(location.path, file_def, status);
}

void ReleaseFile(std::shared_ptr<StoreFile> file) {
  if (!file) return;
  if (file->engine() == Engine::kPostgres) {
    pg::ReleaseFile(std::move(file));
  } else {
    sqlite::ReleaseFile(std::move(file));
  }
}

bool StoreFileExists(const Location& location) {
  if (location.engine == Engine::kPostgres) return pg::FileExists(location);
  std::error_code ec;
  return std::filesystem::is_regular_file(location.path, ec);
}

int CreateStoreFile(const Location& location, const FileDef& file_def, bool replace) {
  if (location.engine == Engine::kPostgres) return pg::CreateFile(location, file_def, replace);
  return sqlite::CreateFile(location.path, file_def, replace);
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
  pg::BeginTransaction();
  sqlite::BeginTransaction();
  return kStatusOk;
}

int CommitTransaction() {
  if (!t_in_tx) return kStatusNoTransaction;
  if (sqlite::TransactionLost() || pg::TransactionLost()) {
    // Committing the rest would store half of it: undo everything instead.
    RollbackTransaction();
    return kStatusIoError;
  }
  int status = pg::CommitTransaction();
  if (status != kStatusOk) return status;
  status = sqlite::CommitTransaction();
  if (status != kStatusOk) return status;
  t_in_tx = false;
  return kStatusOk;
}

int RollbackTransaction() {
  if (!t_in_tx) return kStatusOk;
  t_in_tx = false;
  t_rolled_back[t_tx_number] = true;
  const int pg_status = pg::RollbackTransaction();
  const int sqlite_status = sqlite::RollbackTransaction();
  return pg_status == kStatusOk && sqlite_status == kStatusOk ? kStatusOk : kStatusIoError;
}

void BeginReadBatch() {
  sqlite::BeginReadBatch();
  pg::BeginReadBatch();
}

void EndReadBatch() {
  sqlite::EndReadBatch();
  pg::EndReadBatch();
}

void ReleaseBatchLocks(bool only_held_long) {
  sqlite::ReleaseBatchLocks(only_held_long);
  pg::ReleaseBatchLocks(only_held_long);
}

void SetBusyTimeoutMs(int ms) {
  g_busy_timeout_ms = ms;
  sqlite::SetBusyTimeoutMs(ms);
  pg::SetBusyTimeoutMs(ms);
}

int BusyTimeoutMs() { return g_busy_timeout_ms.load(); }

void InterruptWritesForTesting(bool on) { sqlite::InterruptWritesForTesting(on); }

}  // namespace qz::record::internal
