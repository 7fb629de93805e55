#include "platform/system/open_files.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace qz::system {
namespace {

std::function<std::vector<OpenFileHolder>(std::string_view)>& UsersHook() {
  static std::function<std::vector<OpenFileHolder>(std::string_view)> hook;
  return hook;
}

// The target of a symbolic link, or "" when it cannot be read.
std::string ReadLink(const std::string& link) {
  std::string buf(4096, '\0');
  ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size());
  if (n <= 0) return {};
  buf.resize(static_cast<std::size_t>(n));
  return buf;
}

// The ids of every process, ascending.
std::vector<pid_t> ProcessIds() {
  std::vector<pid_t> ids;
  DIR* dir = ::opendir("/proc");
  if (dir == nullptr) return ids;
  while (dirent* e = ::readdir(dir)) {
    char* end = nullptr;
    long id = std::strtol(e->d_name, &end, 10);
    if (end != e->d_name && *end == '\0' && id > 0) ids.push_back(static_cast<pid_t>(id));
  }
  ::closedir(dir);
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

std::vector<OpenFileHolder> ProcessesUsingFolder(std::string_view host_folder) {
  if (UsersHook()) return UsersHook()(host_folder);
  std::string folder(host_folder);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (char* real = ::realpath(folder.c_str(), nullptr)) {
    folder = real;
    std::free(real);
  }
  const pid_t self = ::getpid();
  std::vector<OpenFileHolder> out;
  for (pid_t pid : ProcessIds()) {
    if (pid == self) continue;
    auto under = [&](const std::string& target) {
      return target == folder || (target.size() > folder.size() && target.compare(0, folder.size(), folder) == 0 &&
                                  (folder == "/" || target[folder.size()] == '/'));
    };
    // A process working in the folder holds it as much as an open file does.
    const std::string cwd = ReadLink("/proc/" + std::to_string(pid) + "/cwd");
    if (!cwd.empty() && under(cwd)) {
      out.push_back({pid, cwd});
      continue;
    }
    const std::string fd_dir = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = ::opendir(fd_dir.c_str());
    if (dir == nullptr) continue;
    while (dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      std::string target = ReadLink(fd_dir + "/" + e->d_name);
      if (under(target)) {
        out.push_back({pid, target});
        break;
      }
    }
    ::closedir(dir);
  }
  return out;
}

void SetFolderUsersForTest(std::function<std::vector<OpenFileHolder>(std::string_view)> fake) {
  UsersHook() = std::move(fake);
}

}  // namespace qz::system
