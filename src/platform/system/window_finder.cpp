#include "platform/system/window_finder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/system/user_runtime_dir.h"

namespace qz::system {
namespace {

std::function<bool(std::string_view)>& Hook() {
  static std::function<bool(std::string_view)> hook;
  return hook;
}

// The registry folder, created when missing; empty when it cannot be made.
std::string RegistryDir() {
  const std::string root = UserRuntimeDir();
  if (root.empty()) return {};
  const std::string dir = root + "/windows";
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return dir;
}

}  // namespace

std::string WindowFileName(std::string_view title) {
  std::string out;
  for (char ch : title) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '%' || c == '/' || c < 0x20 || c == 0x7F) {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  // "." and ".." are not file names of their own.
  if (out == "." || out == "..") {
    std::string esc;
    for (std::size_t i = 0; i < out.size(); ++i) esc += "%2E";
    out = esc;
  }
  return out;
}

bool FindTopLevelWindow(std::string_view title) {
  if (Hook()) return Hook()(title);
  if (title.empty()) return false;
  const std::string dir = RegistryDir();
  if (dir.empty()) return false;
  const std::string file = dir + "/" + WindowFileName(title);
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A live registration holds a shared lock, so an exclusive one fails.
  const bool live = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return live;
}

void SetWindowFinderForTest(std::function<bool(std::string_view)> finder) { Hook() = std::move(finder); }

WindowRegistration::WindowRegistration(std::string_view title) {
  if (title.empty()) return;
  const std::string dir = RegistryDir();
  if (dir.empty()) return;
  file_ = dir + "/" + WindowFileName(title);
  fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ >= 0 && ::flock(fd_, LOCK_SH | LOCK_NB) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

WindowRegistration::~WindowRegistration() {
  if (fd_ < 0) return;
  // Another window of the same title may still hold the file: remove it
  // only when ours was the last lock on it.
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) ::unlink(file_.c_str());
  ::close(fd_);
}

}  // namespace qz::system
