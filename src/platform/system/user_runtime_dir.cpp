#include "platform/system/user_runtime_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qz::system {
namespace {

std::optional<std::string>& Override() {
  static std::optional<std::string> dir;
  return dir;
}

std::string Chosen() {
  if (Override()) return *Override();
  if (const char* env = std::getenv("QZ_RUNTIME_DIR"); env != nullptr && *env != '\0') return env;
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg != '\0') {
    return std::string(xdg) + "/qz";
  }
  return "/tmp/qz-" + std::to_string(::getuid());
}

}  // namespace

std::string UserRuntimeDir() {
  std::string dir = Chosen();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return dir;
}

void SetUserRuntimeDirForTest(std::optional<std::string> dir) { Override() = std::move(dir); }

}  // namespace qz::system
