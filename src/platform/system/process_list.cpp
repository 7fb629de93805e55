#include "platform/system/process_list.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/path/no_case.h"

namespace qz::system {
namespace {

std::function<std::vector<RunningProcess>(std::string_view)>& ListHook() {
  static std::function<std::vector<RunningProcess>(std::string_view)> hook;
  return hook;
}

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

// The script a "#!" interpreter runs, as an absolute path, or "".
std::string ScriptOf(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
  std::string cmd(std::istreambuf_iterator<char>(in), {});
  std::size_t first = cmd.find('\0');
  if (first == std::string::npos || first + 1 >= cmd.size()) return {};
  std::string arg = cmd.substr(first + 1, cmd.find('\0', first + 1) - first - 1);
  if (arg.empty() || arg[0] == '-') return {};
  if (arg[0] != '/') {
    std::string cwd = ReadLink("/proc/" + std::to_string(pid) + "/cwd");
    if (cwd.empty()) return {};
    arg = cwd + "/" + arg;
  }
  std::ifstream script(arg, std::ios::binary);
  char head[2] = {0, 0};
  if (!script.read(head, 2) || head[0] != '#' || head[1] != '!') return {};
  return arg;
}

std::string FileNameOf(std::string_view path) {
  std::size_t slash = path.find_last_of('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool NameMatches(std::string_view wanted, std::string_view file_name) {
  if (path::EqualNoCase(wanted, file_name)) return true;
  auto strip = [](std::string_view s) {
    if (s.size() > 4 && path::EqualNoCase(s.substr(s.size() - 4), ".EXE")) s.remove_suffix(4);
    return s;
  };
  return path::EqualNoCase(strip(wanted), strip(file_name));
}

}  // namespace

std::vector<RunningProcess> RunningProcesses(std::string_view name) {
  if (ListHook()) return ListHook()(name);
  std::vector<RunningProcess> out;
  for (pid_t pid : ProcessIds()) {
    std::string exe = ReadLink("/proc/" + std::to_string(pid) + "/exe");
    if (exe.empty()) continue;
    if (std::string script = ScriptOf(pid); !script.empty()) exe = script;
    if (!name.empty() && !NameMatches(name, FileNameOf(exe))) continue;
    out.push_back({pid, exe});
  }
  return out;
}

void SetProcessListForTest(std::function<std::vector<RunningProcess>(std::string_view)> fake) {
  ListHook() = std::move(fake);
}

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
    const std::string fd_dir = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = ::opendir(fd_dir.c_str());
    if (dir == nullptr) continue;
    while (dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      std::string target = ReadLink(fd_dir + "/" + e->d_name);
      if (target == folder ||
          (target.size() > folder.size() && target.compare(0, folder.size(), folder) == 0 &&
           (folder == "/" || target[folder.size()] == '/'))) {
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
