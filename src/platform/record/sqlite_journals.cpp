#include "platform/record/sqlite_journals.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/record/thread_session.h"

namespace qz::record::internal::sqlite {

namespace {

constexpr const char* kVfsName = "qzrecord";
constexpr const char* kTxPrefix = ".qzrecord-tx-";  // transaction folders and SQLite's super-journals
constexpr const char* kJournalSuffix = "-journal";
constexpr const char* kDone = ".done";

sqlite3_vfs* g_real = nullptr;  // SQLite's own VFS under ours

struct ShimFile {
  sqlite3_file base;  // first: SQLite sees this
  sqlite3_file* real;
  int flags;
  std::string* path;     // the name SQLite opened
  std::string* open_as;  // the journal opened in its stead (null: `path`); SQLite's VFS keeps the name to the close
  int held_level;        // an unlock held back (-1: none)
};

// The thread's journals.
struct Journals {
  int generation = ForkGeneration();
  bool in_tx = false;
  std::string dir;  // the transaction's folder; empty before its first journal
  int dir_fd = -1;
  int next = 0;
  bool holding = false;
  std::vector<std::string> held_deletes;
  std::vector<ShimFile*> held_unlocks;
  std::vector<int> super_locks;  // the super-journals this thread made, flock'ed shared
  int steps = 0;
  int die_at = 0;
  std::function<void(int)> at_step;
  std::string fail_suffix;
};

Journals& J() {
  Journals& j = ThreadSession<Journals>();
  if (j.generation != ForkGeneration()) j = Journals{};  // a forked child starts afresh
  return j;
}

bool EndsWith(const std::string& s, std::string_view end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// One step of a commit that orders what is on disk (a sync, a removal, a
// truncation, the rename, the making of a super-journal): counted, and the
// point where a test holds the process or lets it die. Writes between two
// such steps reach the file system in any order.
void Step() {
  Journals& j = J();
  if (!j.holding) return;
  ++j.steps;
  if (j.at_step) j.at_step(j.steps);
  if (j.die_at > 0 && j.steps >= j.die_at) _exit(9);
}

// True when `path` is a symbolic link.
bool IsAnyLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// True when `path` is a journal's link made by this engine: one to a
// journal of a transaction folder beside it (its target in `target`). Any
// other link (the data folder is every operator's) is never followed to
// remove or open what it points to.
bool IsLink(const std::string& path, std::string* target) {
  if (!IsAnyLink(path)) return false;
  char buf[4096];
  const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
  if (n < 0) return false;
  const std::string to(buf, static_cast<std::size_t>(n));
  const std::string dir = FolderOf(to);
  const std::string tx = FolderOf(dir);
  const std::string tx_name = dir.substr(tx.size() + (dir.size() > tx.size() ? 1 : 0));
  if (tx != FolderOf(path) || tx_name.rfind(kTxPrefix, 0) != 0 || tx_name.find("..") != std::string::npos ||
      !EndsWith(to, ".jrnl")) {
    return false;
  }
  *target = to;
  return true;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A transaction folder for this thread's transaction, in `folder`,
// flock'ed; false when it cannot be made.
bool MakeTxFolder(Journals& j, const std::string& folder) {
  static std::atomic<int> counter{0};
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::string dir = folder + "/" + kTxPrefix + std::to_string(::getpid()) + "-" +
                            std::to_string(++counter) + ".d";
    if (::mkdir(dir.c_str(), 0777) != 0) continue;
    // Another user's cleaning removes it; the set-group-id bit that it took
    // from its folder stays, so that its journals are the folder's group's
    // as every other file there is.
    struct stat made {};
    const mode_t group_bit = ::stat(dir.c_str(), &made) == 0 ? (made.st_mode & S_ISGID) : 0;
    ::chmod(dir.c_str(), 0777 | group_bit);
    // A cleaning process may take the empty folder between the mkdir and
    // the lock (before the open, or before the lock): then make another.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {}, now {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && ::stat(dir.c_str(), &now) == 0 &&
        opened.st_ino == now.st_ino) {
      j.dir = dir;
      j.dir_fd = fd;
      j.next = 0;
      return true;
    }
    ::close(fd);
  }
  return false;
}

// Removes the transaction folder `dir` with what is in it.
void RemoveFolder(const std::string& dir) {
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") ::unlink((dir + "/" + name).c_str());
    }
    ::closedir(d);
  }
  ::rmdir(dir.c_str());
}

// Makes SQLite's super-journal `path` (empty) and keeps it flock'ed shared
// until the thread's transaction ends: a cleaning process removes only a
// super-journal that no process holds. One that a cleaning process took
// between its making and the lock is made again. False when it cannot be
// made.
bool MakeSuperJournal(Journals& j, const std::string& path) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (!MakeFileForUmask(path)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {}, now {};
    if (::flock(fd, LOCK_SH) == 0 && ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &now) == 0 &&
        opened.st_ino == now.st_ino) {
      j.super_locks.push_back(fd);
      return true;
    }
    ::close(fd);
  }
  return false;
}

// ---- the VFS's files: every call goes to SQLite's own file ----

int ShimClose(sqlite3_file* f) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  Journals& j = J();
  std::erase(j.held_unlocks, s);
  const int rc = s->real->pMethods ? s->real->pMethods->xClose(s->real) : SQLITE_OK;
  delete s->path;
  delete s->open_as;
  s->path = s->open_as = nullptr;
  return rc;
}
int ShimRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xRead(s->real, buf, n, off);
}
int ShimWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  const Journals& j = J();
  if ((s->flags & SQLITE_OPEN_MAIN_DB) && !j.fail_suffix.empty() && s->path && EndsWith(*s->path, j.fail_suffix)) {
    return SQLITE_IOERR_WRITE;
  }
  return s->real->pMethods->xWrite(s->real, buf, n, off);
}
int ShimTruncate(sqlite3_file* f, sqlite3_int64 size) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  Step();
  return s->real->pMethods->xTruncate(s->real, size);
}
int ShimSync(sqlite3_file* f, int flags) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  Step();
  return s->real->pMethods->xSync(s->real, flags);
}
int ShimFileSize(sqlite3_file* f, sqlite3_int64* size) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xFileSize(s->real, size);
}
int ShimLock(sqlite3_file* f, int level) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  if (s->held_level >= 0) {  // locked again: the pager unlocks it itself
    std::erase(J().held_unlocks, s);
    s->held_level = -1;
  }
  return s->real->pMethods->xLock(s->real, level);
}
int ShimUnlock(sqlite3_file* f, int level) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  Journals& j = J();
  if (j.holding && (s->flags & SQLITE_OPEN_MAIN_DB)) {
    // Committed, but kept locked until the commit over every connection
    // is durable: nobody reads the new contents or rolls them back early.
    if (s->held_level < 0) j.held_unlocks.push_back(s);
    s->held_level = level;
    return SQLITE_OK;
  }
  return s->real->pMethods->xUnlock(s->real, level);
}
int ShimCheckReserved(sqlite3_file* f, int* out) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xCheckReservedLock(s->real, out);
}
int ShimFileControl(sqlite3_file* f, int op, void* arg) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xFileControl(s->real, op, arg);
}
int ShimSectorSize(sqlite3_file* f) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xSectorSize(s->real);
}
int ShimDeviceCharacteristics(sqlite3_file* f) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xDeviceCharacteristics(s->real);
}
int ShimShmMap(sqlite3_file* f, int pg, int pgsz, int extend, void volatile** p) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xShmMap(s->real, pg, pgsz, extend, p);
}
int ShimShmLock(sqlite3_file* f, int offset, int n, int flags) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xShmLock(s->real, offset, n, flags);
}
void ShimShmBarrier(sqlite3_file* f) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  s->real->pMethods->xShmBarrier(s->real);
}
int ShimShmUnmap(sqlite3_file* f, int del) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xShmUnmap(s->real, del);
}
int ShimFetch(sqlite3_file* f, sqlite3_int64 off, int n, void** p) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xFetch(s->real, off, n, p);
}
int ShimUnfetch(sqlite3_file* f, sqlite3_int64 off, void* p) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  return s->real->pMethods->xUnfetch(s->real, off, p);
}

const sqlite3_io_methods kMethods = {
    3,           ShimClose,     ShimRead,          ShimWrite,      ShimTruncate,     ShimSync,
    ShimFileSize, ShimLock,     ShimUnlock,        ShimCheckReserved, ShimFileControl, ShimSectorSize,
    ShimDeviceCharacteristics, ShimShmMap, ShimShmLock, ShimShmBarrier, ShimShmUnmap, ShimFetch,
    ShimUnfetch,
};

// ---- the VFS ----

int VfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* out_flags) {
  ShimFile* s = reinterpret_cast<ShimFile*>(f);
  s->base.pMethods = nullptr;
  s->real = reinterpret_cast<sqlite3_file*>(s + 1);
  s->flags = flags;
  s->path = nullptr;
  s->open_as = nullptr;
  s->held_level = -1;
  std::string open_as;
  if ((flags & SQLITE_OPEN_MAIN_JOURNAL) && name) {
    const std::string link = name;
    std::string target;
    Journals& j = J();
    if (flags & SQLITE_OPEN_CREATE) {
      // A new journal (SQLite has rolled back any hot one first): what
      // lies at its name is stale.
      if (IsAnyLink(link)) ::unlink(link.c_str());
      if (j.in_tx) {
        // Without its folder the commit could not be made atomic.
        if (j.dir.empty() && !MakeTxFolder(j, FolderOf(link))) return SQLITE_CANTOPEN;
        ::unlink(link.c_str());
        // A name without "-" after its last ".": SQLite takes the
        // journal's permissions from the file's only for "<file>-journal".
        target = j.dir + "/" + std::to_string(++j.next) + ".jrnl";
        if (::symlink(target.c_str(), link.c_str()) != 0) return SQLITE_CANTOPEN;
        SyncFolder(FolderOf(link));  // the link outlives a power failure as the journal does
        open_as = target;
      }
    } else if (IsLink(link, &target)) {
      open_as = target;  // a hot journal read back
    }
  }
  if ((flags & SQLITE_OPEN_SUPER_JOURNAL) && !(flags & SQLITE_OPEN_CREATE) && name) {
    // SQLite reads a super-journal, and each journal that it names, to see
    // whether the super-journal may go once a hot journal is rolled back:
    // a journal is read through its link (SQLite opens no link), and one
    // that another process's rollback or cleaning removed meanwhile reads
    // as empty, as one that names nothing.
    std::string target;
    if (IsLink(name, &target)) open_as = target;
    if (::access(open_as.empty() ? name : open_as.c_str(), F_OK) != 0 && errno == ENOENT) open_as = "/dev/null";
  }
  auto* other = open_as.empty() ? nullptr : new std::string(std::move(open_as));
  const char* opened = other ? other->c_str() : name;
  // Made here, a new file takes the umask; SQLite would give it 0644. Made
  // with O_EXCL, it is as exclusive as SQLite's own create.
  int real_flags = flags;
  const bool made = opened != nullptr && (flags & SQLITE_OPEN_CREATE) && !(flags & SQLITE_OPEN_DELETEONCLOSE) &&
                    ((flags & SQLITE_OPEN_SUPER_JOURNAL) ? MakeSuperJournal(J(), opened) : MakeFileForUmask(opened));
  if (made) real_flags &= ~SQLITE_OPEN_EXCLUSIVE;
  const int rc = g_real->xOpen(g_real, opened, s->real, real_flags, out_flags);
  if (rc != SQLITE_OK) {
    if (made) ::unlink(opened);
    delete other;
    return rc;
  }
  s->path = new std::string(name ? name : "");
  s->open_as = other;
  s->base.pMethods = &kMethods;
  if (made && (flags & SQLITE_OPEN_SUPER_JOURNAL)) Step();  // still empty
  return SQLITE_OK;
}

int VfsDelete(sqlite3_vfs*, const char* name, int sync_dir) {
  Journals& j = J();
  Step();
  if (j.holding) {
    j.held_deletes.emplace_back(name);
    return SQLITE_OK;
  }
  std::string target;
  if (IsLink(name, &target)) {
    ::unlink(target.c_str());
    if (::unlink(name) != 0 && errno != ENOENT) return SQLITE_IOERR_DELETE;
    if (sync_dir) SyncFolder(FolderOf(name));
    return SQLITE_OK;
  }
  const int rc = g_real->xDelete(g_real, name, sync_dir);
  return rc == SQLITE_IOERR_DELETE_NOENT ? SQLITE_OK : rc;  // gone already: as asked
}

int VfsAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
  return g_real->xAccess(g_real, name, flags, out);
}
int VfsFullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
  return g_real->xFullPathname(g_real, name, n, out);
}
void* VfsDlOpen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void VfsDlError(sqlite3_vfs*, int n, char* msg) { g_real->xDlError(g_real, n, msg); }
void (*VfsDlSym(sqlite3_vfs*, void* h, const char* sym))(void) { return g_real->xDlSym(g_real, h, sym); }
void VfsDlClose(sqlite3_vfs*, void* h) { g_real->xDlClose(g_real, h); }
int VfsRandomness(sqlite3_vfs*, int n, char* out) { return g_real->xRandomness(g_real, n, out); }
int VfsSleep(sqlite3_vfs*, int us) { return g_real->xSleep(g_real, us); }
int VfsCurrentTime(sqlite3_vfs*, double* t) { return g_real->xCurrentTime(g_real, t); }
int VfsGetLastError(sqlite3_vfs*, int n, char* msg) { return g_real->xGetLastError(g_real, n, msg); }
int VfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* t) { return g_real->xCurrentTimeInt64(g_real, t); }

// Rolls back what `journal` (of file `db`) describes when it is hot, and
// removes it when nobody writes `db`: a journal that SQLite takes for not
// hot (its writer died before it had changed the file) it leaves behind.
// A live writer's journal stays.
void RollBackOrRemove(const std::string& db, const std::string& journal) {
  sqlite3* c = nullptr;
  if (sqlite3_open_v2(db.c_str(), &c, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, kVfsName) == SQLITE_OK &&
      sqlite3_exec(c, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
    // The file's write lock is ours and a hot journal was rolled back on
    // the way to it: what is left is of no use.
    struct stat st {};
    if (::lstat(journal.c_str(), &st) == 0) VfsDelete(nullptr, journal.c_str(), 0);
    sqlite3_exec(c, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  sqlite3_close_v2(c);
}

// True when another process holds the transaction folder `dir` (or it
// cannot be looked at); false when it is gone or its process is.
bool FolderLive(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno != ENOENT;
  const bool live = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return live;
}

// True when a journal's link in the folder of the transaction folder `dir`
// points into `dir` (the same folder on disk, however its path is
// written), or when that folder cannot be read.
bool LinkedInto(const std::string& dir) {
  struct stat folder {};
  if (::stat(dir.c_str(), &folder) != 0) return errno != ENOENT;
  DIR* d = ::opendir(FolderOf(dir).c_str());
  if (d == nullptr) return true;
  bool linked = false;
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    std::string target;
    struct stat into {};
    if (EndsWith(name, kJournalSuffix) && IsLink(FolderOf(dir) + "/" + name, &target) &&
        ::stat(FolderOf(target).c_str(), &into) == 0 && into.st_dev == folder.st_dev && into.st_ino == folder.st_ino) {
      linked = true;
      break;
    }
  }
  ::closedir(d);
  return linked;
}

// Removes the transaction folder `dir` when no process holds it: `whole`
// with what is in it, else when it is empty or no journal's link points
// into it any more (a journal whose link went, e.g. when SQLite made a new
// journal in its place, is never read again). The folder's lock is held
// across the removal, so that a process that locks a folder it has just
// made finds it gone (and makes another) instead of losing it after its
// lock was taken.
void RemoveFolderIfDead(const std::string& dir, bool whole) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    if (whole) {
      RemoveFolder(dir);
    } else if (::rmdir(dir.c_str()) != 0 && errno != ENOENT && !LinkedInto(dir)) {
      RemoveFolder(dir);
    }
  }
  ::close(fd);
}

// SQLite's super-journal `path` that no journal it names still exists.
bool SuperJournalStale(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\0', at);
    const std::string child = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!child.empty() && ::access(child.c_str(), F_OK) == 0) return false;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return true;
}

// Removes SQLite's super-journal `path` when no process holds it (its
// maker holds it to the end of its transaction, see MakeSuperJournal) and
// no journal it names still exists. The lock is held across the removal.
void RemoveSuperJournalIfDead(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && SuperJournalStale(path)) ::unlink(path.c_str());
  ::close(fd);
}

}  // namespace

bool MakeFileForUmask(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

const char* RecordVfsName() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_real = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs vfs{};
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_real->szOsFile;
    vfs.mxPathname = g_real->mxPathname;
    vfs.zName = kVfsName;
    vfs.xOpen = VfsOpen;
    vfs.xDelete = VfsDelete;
    vfs.xAccess = VfsAccess;
    vfs.xFullPathname = VfsFullPathname;
    vfs.xDlOpen = VfsDlOpen;
    vfs.xDlError = VfsDlError;
    vfs.xDlSym = VfsDlSym;
    vfs.xDlClose = VfsDlClose;
    vfs.xRandomness = VfsRandomness;
    vfs.xSleep = VfsSleep;
    vfs.xCurrentTime = VfsCurrentTime;
    vfs.xGetLastError = VfsGetLastError;
    vfs.xCurrentTimeInt64 = VfsCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
  });
  return kVfsName;
}

void JournalsBegin() { J().in_tx = true; }

void JournalsEnd() {
  Journals& j = J();
  j.in_tx = false;
  j.holding = false;
  j.held_deletes.clear();
  for (const int fd : j.super_locks) ::close(fd);  // gone, or needed by hot journals that name them
  j.super_locks.clear();
  if (j.dir.empty()) return;
  ::rmdir(j.dir.c_str());  // empty unless a journal is still hot: then the next open rolls it back
  ::close(j.dir_fd);
  j.dir.clear();
  j.dir_fd = -1;
}

void HoldCommits() {
  Journals& j = J();
  j.holding = true;
  j.steps = 0;
}

bool CommitHeld() {
  Journals& j = J();
  if (!j.dir.empty()) {
    Step();
    // The commit point: every journal of the transaction goes at once.
    const std::string done = j.dir + kDone;
    if (::rename(j.dir.c_str(), done.c_str()) != 0) return false;
    SyncFolder(FolderOf(j.dir));
    j.dir = done;
  }
  j.holding = false;
  for (const std::string& path : j.held_deletes) {
    std::string target;
    if (IsLink(path, &target)) {
      ::unlink(path.c_str());
    } else {
      g_real->xDelete(g_real, path.c_str(), 0);
    }
  }
  j.held_deletes.clear();
  ReleaseHeldForRollback();  // gives the locks back
  if (!j.dir.empty()) {
    RemoveFolder(j.dir);
    ::close(j.dir_fd);
    j.dir.clear();
    j.dir_fd = -1;
  }
  return true;
}

void ReleaseHeldForRollback() {
  Journals& j = J();
  j.holding = false;
  j.held_deletes.clear();
  std::vector<ShimFile*> held;
  held.swap(j.held_unlocks);
  for (ShimFile* s : held) {
    const int level = s->held_level;
    s->held_level = -1;
    s->real->pMethods->xUnlock(s->real, level);
  }
}

void CleanFolderOnce(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> cleaned;
  static int generation = ForkGeneration();
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (generation != ForkGeneration()) {
      cleaned.clear();
      generation = ForkGeneration();
    }
    if (!cleaned.insert(folder).second) return;
  }
  RecordVfsName();
  std::vector<std::string> names;
  if (DIR* d = ::opendir(folder.c_str())) {
    while (dirent* e = ::readdir(d)) names.emplace_back(e->d_name);
    ::closedir(d);
  }
  // Journals: hot ones rolled back, links to nothing (a commit that
  // completed) removed.
  for (const std::string& name : names) {
    if (!EndsWith(name, kJournalSuffix)) continue;
    const std::string path = folder + "/" + name;
    std::string target;
    if (IsAnyLink(path) && !IsLink(path, &target)) {
      ::unlink(path.c_str());  // no journal's: planted, never followed
      continue;
    }
    if (IsLink(path, &target)) {
      const std::string dir = FolderOf(target);
      if (FolderLive(dir) || FolderLive(dir + kDone)) continue;
      if (::access(target.c_str(), F_OK) != 0) {
        ::unlink(path.c_str());
        continue;
      }
    }
    RollBackOrRemove(path.substr(0, path.size() - std::strlen(kJournalSuffix)), path);
  }
  for (const std::string& name : names) {
    if (name.rfind(kTxPrefix, 0) != 0) continue;
    const std::string path = folder + "/" + name;
    if (EndsWith(name, ".d")) {
      RemoveFolderIfDead(path, false);  // empty once its journals are rolled back
    } else if (EndsWith(name, std::string(".d") + kDone)) {
      RemoveFolderIfDead(path, true);
    } else if (name.find("-mj") != std::string::npos) {
      RemoveSuperJournalIfDead(path);
    }
  }
}

void FailWritesForTesting(const std::string& suffix) { J().fail_suffix = suffix; }
void DieAtCommitStepForTesting(int step) { J().die_at = step; }
void AtCommitStepForTesting(std::function<void(int)> hook) { J().at_step = std::move(hook); }

}  // namespace qz::record::internal::sqlite
