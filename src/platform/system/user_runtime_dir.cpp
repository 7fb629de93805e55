#include "platform/system/user_runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

namespace qz::system {
namespace {

std::optional<std::string>& Override() {
  static std::optional<std::string> dir;
  return dir;
}

struct Choice {
  std::string dir;
  bool shared_parent = false;  // a folder of /tmp, which anyone may have made first
};

Choice Chosen() {
  if (Override()) return {*Override()};
  if (const char* env = std::getenv("QZ_RUNTIME_DIR"); env != nullptr && *env != '\0') return {env};
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') {
    return {std::string(xdg) + "/qz"};
  }
  return {"/tmp/qz-" + std::to_string(::getuid()), true};
}

std::string Made(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return dir;
}

}  // namespace

std::string PrivateFolder(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st;
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & 07777) != 0700) {
    return {};
  }
  return dir;
}

std::string UserRuntimeDir() {
  const Choice choice = Chosen();
  if (!choice.shared_parent) return Made(choice.dir);
  std::string dir = PrivateFolder(choice.dir);
  if (dir.empty()) {
    static bool told = false;
    if (!told) {
      std::cerr << "runtime folder " << choice.dir
                << " refused: not a folder of this user with mode 0700 (set XDG_RUNTIME_DIR)" << std::endl;
    }
    told = true;
  }
  return dir;
}

void SetUserRuntimeDirForTest(std::optional<std::string> dir) { Override() = std::move(dir); }

}  // namespace qz::system
