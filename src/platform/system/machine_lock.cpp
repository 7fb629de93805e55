#include "platform/system/machine_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace qz::system {
namespace {

constexpr const char* kLockFolder = "/tmp/qz-locks";

// Descriptors of the locks this process holds, by name.
std::map<std::string, int, std::less<>>& Held() {
  static std::map<std::string, int, std::less<>> held;
  return held;
}

// The lock folder, open; -1 when it cannot be used. Made whole (mode 1777:
// every user adds and locks files, none removes another's) under a name of
// its own and renamed into place, so that no other process sees it half
// made. An existing folder is used only when it is a folder (no link) that
// every user may use so: one of this user is mended, one of another user in
// another state is refused rather than trusted.
int OpenLockFolder() {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  int dir = ::open(kLockFolder, kFlags);
  if (dir < 0 && errno == ENOENT) {
    const std::string fresh = std::string(kLockFolder) + ".new-" + std::to_string(::getpid());
    if (::mkdir(fresh.c_str(), 0700) == 0) {
      // Never over a folder made meanwhile: its locks would be lost.
      if (::chmod(fresh.c_str(), 01777) != 0 ||
          ::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, kLockFolder, RENAME_NOREPLACE) != 0) {
        ::rmdir(fresh.c_str());
      }
    }
    dir = ::open(kLockFolder, kFlags);
  }
  if (dir < 0) return -1;
  struct stat st {};
  if (::fstat(dir, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 07777) != 01777) ::fchmod(dir, 01777);
  if (::fstat(dir, &st) != 0 || (st.st_mode & 07777) != 01777) {
    ::close(dir);
    return -1;
  }
  return dir;
}

// The name of lock `name`'s file in the folder.
std::string LockFile(std::string_view name) {
  std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ULL;
  char file[64];
  std::snprintf(file, sizeof file, "%016llx.lock", static_cast<unsigned long long>(h));
  return file;
}

// Opens lock file `file` of folder `dir` and takes its lock without
// waiting, as `how` (LOCK_EX or LOCK_SH). The descriptor, -1 when another
// process holds it, on a failure, or when the name is no plain file of its
// own (a link or a second name that another user planted is never
// followed). A file removed by its holder between the open and the lock is
// opened again.
int Lock(int dir, const std::string& file, int how) {
  constexpr int kFlags = O_NOFOLLOW | O_NOCTTY | O_CLOEXEC;
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::openat(dir, file.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    if (fd < 0 && errno != ELOOP) fd = ::openat(dir, file.c_str(), O_RDONLY | kFlags);
    if (fd < 0) return -1;
    struct stat opened {}, now {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_nlink != 1) {
      ::close(fd);
      return -1;
    }
    // Another user's next holder opens it too.
    if (opened.st_uid == ::geteuid() && (opened.st_mode & 0777) != 0666) ::fchmod(fd, 0666);
    if (::flock(fd, how | LOCK_NB) != 0) {
      ::close(fd);
      return -1;
    }
    if (::fstatat(dir, file.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && opened.st_ino == now.st_ino &&
        opened.st_dev == now.st_dev) {
      return fd;
    }
    ::close(fd);  // the file was removed meanwhile: a fresh one
  }
  return -1;
}

}  // namespace

bool TakeMachineLock(std::string_view name) {
  if (Held().find(name) != Held().end()) return true;
  const int dir = OpenLockFolder();
  if (dir < 0) return false;
  const int fd = Lock(dir, LockFile(name), LOCK_EX);
  ::close(dir);
  if (fd < 0) return false;
  Held().emplace(std::string(name), fd);
  return true;
}

bool MachineLockHeldElsewhere(std::string_view name) {
  if (Held().find(name) != Held().end()) return false;
  const int dir = OpenLockFolder();
  if (dir < 0) return true;
  const std::string file = LockFile(name);
  struct stat st {};
  bool held = true;
  if (::fstatat(dir, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    held = errno != ENOENT;  // no file: nobody holds it
  } else if (const int fd = Lock(dir, file, LOCK_SH); fd >= 0) {
    ::close(fd);
    held = false;
  }
  ::close(dir);
  return held;
}

void ReleaseMachineLock(std::string_view name) {
  auto it = Held().find(name);
  if (it == Held().end()) return;
  // Removed while still held, so that no other process locks the old file
  // while a third makes a new one.
  if (const int dir = OpenLockFolder(); dir >= 0) {
    ::unlinkat(dir, LockFile(name).c_str(), 0);
    ::close(dir);
  }
  ::close(it->second);
  Held().erase(it);
}

}  // namespace qz::system
