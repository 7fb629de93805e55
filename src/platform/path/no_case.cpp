#include "platform/path/no_case.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>

#include "platform/path/host_path.h"

namespace qz::path {
namespace {

bool Exists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

// The entry of `folder` equal to `name` but for case; empty when none.
std::string FindInFolder(const std::string& folder, std::string_view name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string best;
  while (const dirent* e = ::readdir(dir)) {
    std::string_view entry(e->d_name);
    if (EqualNoCase(entry, name) && (best.empty() || entry < best)) best = std::string(entry);
  }
  ::closedir(dir);
  return best;
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string ResolveNoCase(std::string_view host_path) {
  std::string out;
  std::size_t pos = 0;
  if (!host_path.empty() && host_path[0] == '/') {
    out = "/";
    pos = 1;
  }
  bool matching = true;
  while (pos <= host_path.size()) {
    std::size_t end = host_path.find('/', pos);
    if (end == std::string_view::npos) end = host_path.size();
    std::string_view part = host_path.substr(pos, end - pos);
    if (!part.empty()) {
      std::string folder = out;
      if (!out.empty() && out.back() != '/') out += '/';
      std::string candidate = out + std::string(part);
      if (matching && part != "." && part != ".." && !Exists(candidate)) {
        std::string found = FindInFolder(folder, part);
        if (found.empty()) {
          matching = false;
        } else {
          candidate = out + found;
        }
      }
      out = std::move(candidate);
    }
    if (end < host_path.size() && end + 1 == host_path.size()) out += '/';  // closing separator
    pos = end + 1;
  }
  return out;
}

std::string ResolveSuitePath(std::string_view path) { return ResolveNoCase(ToHostPath(path)); }

}  // namespace qz::path
