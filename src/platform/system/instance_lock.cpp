#include "platform/system/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <map>
#include <string>

#include "platform/system/user_runtime_dir.h"

namespace qz::system {
namespace {

std::function<bool(std::string_view)>& Hook() {
  static std::function<bool(std::string_view)> hook;
  return hook;
}

// Lock descriptors held by this process, by upper-case program name.
std::map<std::string, int>& Held() {
  static std::map<std::string, int> held;
  return held;
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

}  // namespace

bool AnotherInstanceRunning(std::string_view program) {
  if (Hook()) return Hook()(program);
  const std::string key = Upper(program);
  if (Held().count(key) != 0) return false;
  const std::string dir = UserRuntimeDir();
  if (dir.empty()) return false;
  const std::string file = dir + "/" + key + ".lock";
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool taken = errno == EWOULDBLOCK;
    ::close(fd);
    return taken;
  }
  Held()[key] = fd;
  return false;
}

void ReleaseInstanceLock(std::string_view program) {
  auto it = Held().find(Upper(program));
  if (it == Held().end()) return;
  ::close(it->second);  // closing the descriptor drops the lock
  Held().erase(it);
}

void SetInstanceCheckForTest(std::function<bool(std::string_view)> check) { Hook() = std::move(check); }

}  // namespace qz::system
