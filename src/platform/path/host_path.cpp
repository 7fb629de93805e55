#include "platform/path/host_path.h"

#include <array>
#include <cctype>
#include <cstdlib>

namespace qz::path {
namespace {

std::array<std::optional<std::string>, 26>& DriveRoots() {
  static std::array<std::optional<std::string>, 26> roots;
  return roots;
}

std::optional<std::string>& NetworkRoot() {
  static std::optional<std::string> root;
  return root;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string Slashes(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string EnvOr(const char* name, const std::optional<std::string>& set) {
  if (set) return *set;
  const char* env = std::getenv(name);
  return env ? std::string(env) : std::string();
}

// `root` followed by `rest` (which begins with "/" or is empty), with no
// doubled separator at the seam.
std::string UnderRoot(std::string root, std::string_view rest) {
  root = Slashes(root);
  while (!root.empty() && root.back() == '/') root.pop_back();
  if (rest.empty() || rest.front() != '/') root += '/';
  root += rest;
  return root;
}

}  // namespace

bool IsNetworkPath(std::string_view path) {
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string ToHostPath(std::string_view path) {
  if (HasDriveLetter(path)) {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    std::string env = std::string("QZ_DRIVE_ROOT_") + letter;
    return UnderRoot(EnvOr(env.c_str(), DriveRoots()[letter - 'A']), Slashes(path.substr(2)));
  }
  if (IsNetworkPath(path)) {
    std::size_t start = 2;
    while (start < path.size() && IsSeparator(path[start])) ++start;
    return UnderRoot(EnvOr("QZ_NETWORK_ROOT", NetworkRoot()), "/" + Slashes(path.substr(start)));
  }
  return Slashes(path);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string f = ToHostPath(folder);
  std::string n = Slashes(name);
  if (f.empty()) return n;
  if (n.empty()) return f;
  std::size_t skip = 0;
  while (skip < n.size() && n[skip] == '/') ++skip;
  if (f.back() != '/') f += '/';
  f.append(n, skip);
  return f;
}

void SetDriveRoot(char letter, std::optional<std::string> root) {
  int i = std::toupper(static_cast<unsigned char>(letter)) - 'A';
  if (i < 0 || i >= 26) return;
  DriveRoots()[i] = std::move(root);
}

void SetNetworkRoot(std::optional<std::string> root) { NetworkRoot() = std::move(root); }

}  // namespace qz::path
