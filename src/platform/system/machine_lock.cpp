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

// The lock file of `name`; empty when the folder cannot be made.
std::string LockFile(std::string_view name) {
  if (::mkdir(kLockFolder, 01777) == 0) {
    ::chmod(kLockFolder, 01777);  // every user may add and lock files
  } else if (errno != EEXIST) {
    return {};
  }
  std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
  for (unsigned char c : name) h = (h ^ c) * 1099511628211ULL;
  char file[64];
  std::snprintf(file, sizeof file, "/%016llx.lock", static_cast<unsigned long long>(h));
  return kLockFolder + std::string(file);
}

// Opens the lock file of `path` and takes its lock without waiting, as
// `how` (LOCK_EX or LOCK_SH). The descriptor, -1 when another process holds
// it (`*busy`) or on a failure. A file removed by its holder between the
// open and the lock is opened again.
int Lock(const std::string& path, int how, bool* busy) {
  *busy = false;
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    ::fchmod(fd, 0666);  // another user's next holder opens it too
    if (::flock(fd, how | LOCK_NB) != 0) {
      *busy = errno == EWOULDBLOCK;
      ::close(fd);
      return -1;
    }
    struct stat opened {}, now {};
    if (::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &now) == 0 && opened.st_ino == now.st_ino &&
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
  const std::string path = LockFile(name);
  if (path.empty()) return false;
  bool busy = false;
  const int fd = Lock(path, LOCK_EX, &busy);
  if (fd < 0) return false;
  Held().emplace(std::string(name), fd);
  return true;
}

bool MachineLockHeldElsewhere(std::string_view name) {
  if (Held().find(name) != Held().end()) return false;
  const std::string path = LockFile(name);
  if (path.empty()) return true;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno != ENOENT;  // no file: nobody holds it
  bool busy = false;
  const int fd = Lock(path, LOCK_SH, &busy);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

void ReleaseMachineLock(std::string_view name) {
  auto it = Held().find(name);
  if (it == Held().end()) return;
  // Removed while still held, so that no other process locks the old file
  // while a third makes a new one.
  ::unlink(LockFile(name).c_str());
  ::close(it->second);
  Held().erase(it);
}

}  // namespace qz::system
