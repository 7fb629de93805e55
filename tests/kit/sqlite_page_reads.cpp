#include "kit/sqlite_page_reads.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>

namespace qz::testkit {

namespace {

std::atomic<std::uint64_t> g_reads{0};
sqlite3_vfs* g_base = nullptr;  // the default VFS under the counting one

// A file of the counting VFS: the base VFS's file follows it in memory.
struct CountedFile {
  sqlite3_file base;
  sqlite3_file* real;
};

sqlite3_file* Real(sqlite3_file* f) { return reinterpret_cast<CountedFile*>(f)->real; }

int Close(sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); }
int Read(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
  g_reads.fetch_add(1, std::memory_order_relaxed);
  return Real(f)->pMethods->xRead(Real(f), buf, n, off);
}
int Write(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
  return Real(f)->pMethods->xWrite(Real(f), buf, n, off);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) { return Real(f)->pMethods->xTruncate(Real(f), size); }
int Sync(sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); }
int FileSize(sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); }
int Lock(sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); }
int Unlock(sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); }
int CheckReservedLock(sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); }
int FileControl(sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); }
int SectorSize(sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); }
int DeviceCharacteristics(sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); }

int ShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** p) {
  return Real(f)->pMethods->xShmMap(Real(f), page, size, extend, p);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) { Real(f)->pMethods->xShmBarrier(Real(f)); }
int ShmUnmap(sqlite3_file* f, int del) { return Real(f)->pMethods->xShmUnmap(Real(f), del); }
// A page taken from a memory mapping is a read as well.
int Fetch(sqlite3_file* f, sqlite3_int64 off, int n, void** p) {
  g_reads.fetch_add(1, std::memory_order_relaxed);
  return Real(f)->pMethods->xFetch(Real(f), off, n, p);
}
int Unfetch(sqlite3_file* f, sqlite3_int64 off, void* p) { return Real(f)->pMethods->xUnfetch(Real(f), off, p); }

const sqlite3_io_methods kMethods = {3,        Close,      Read,       Write,      Truncate,    Sync,
                                     FileSize, Lock,       Unlock,     CheckReservedLock, FileControl,
                                     SectorSize, DeviceCharacteristics, ShmMap, ShmLock, ShmBarrier,
                                     ShmUnmap, Fetch,      Unfetch};

int Open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* out_flags) {
  auto* counted = reinterpret_cast<CountedFile*>(f);
  counted->real = reinterpret_cast<sqlite3_file*>(counted + 1);
  const int rc = g_base->xOpen(g_base, name, counted->real, flags, out_flags);
  // A failed open leaves no methods: SQLite then closes nothing.
  counted->base.pMethods = rc == SQLITE_OK && counted->real->pMethods != nullptr ? &kMethods : nullptr;
  return rc;
}
int Delete(sqlite3_vfs*, const char* name, int sync_dir) { return g_base->xDelete(g_base, name, sync_dir); }
int Access(sqlite3_vfs*, const char* name, int flags, int* out) { return g_base->xAccess(g_base, name, flags, out); }
int FullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
  return g_base->xFullPathname(g_base, name, n, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) { return g_base->xDlOpen(g_base, name); }
void DlError(sqlite3_vfs*, int n, char* msg) { g_base->xDlError(g_base, n, msg); }
void (*DlSym(sqlite3_vfs*, void* h, const char* sym))(void) { return g_base->xDlSym(g_base, h, sym); }
void DlClose(sqlite3_vfs*, void* h) { g_base->xDlClose(g_base, h); }
int Randomness(sqlite3_vfs*, int n, char* out) { return g_base->xRandomness(g_base, n, out); }
int Sleep(sqlite3_vfs*, int us) { return g_base->xSleep(g_base, us); }
int CurrentTime(sqlite3_vfs*, double* t) { return g_base->xCurrentTime(g_base, t); }
int GetLastError(sqlite3_vfs*, int n, char* msg) { return g_base->xGetLastError(g_base, n, msg); }
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* t) { return g_base->xCurrentTimeInt64(g_base, t); }

}  // namespace

void CountSqlitePageReads() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_base = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs vfs{};
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(CountedFile)) + g_base->szOsFile;
    vfs.mxPathname = g_base->mxPathname;
    vfs.zName = "qz-counted-reads";
    vfs.xOpen = Open;
    vfs.xDelete = Delete;
    vfs.xAccess = Access;
    vfs.xFullPathname = FullPathname;
    vfs.xDlOpen = DlOpen;
    vfs.xDlError = DlError;
    vfs.xDlSym = DlSym;
    vfs.xDlClose = DlClose;
    vfs.xRandomness = Randomness;
    vfs.xSleep = Sleep;
    vfs.xCurrentTime = CurrentTime;
    vfs.xGetLastError = GetLastError;
    vfs.xCurrentTimeInt64 = CurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 1);  // the default of every later open
  });
}

std::uint64_t SqlitePageReads() { return g_reads.load(std::memory_order_relaxed); }

}  // namespace qz::testkit
