#include "update/path_routines.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "data/common_sub.h"
#include "platform/path/host_path.h"
#include "update/bas_public.h"
#include "update/run_log.h"

namespace qz::update {

namespace {

bool IsSep(char c) { return c == '\\' || c == '/'; }

std::string& Current() {
  static std::string current;
  return current;
}

// The separator a path is written with.
char StyleOf(std::string_view path) {
  if (path::HasDriveLetter(path)) return '\\';
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return '\\';
  if (path.find('/') != std::string_view::npos) return '/';
  return '\\';
}

}  // namespace

char SeparatorOf(std::string_view path) { return StyleOf(path); }

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  if (from.empty()) return std::string(text);
  std::size_t pos = 0;
  while (true) {
    std::size_t at = text.find(from, pos);
    if (at == std::string_view::npos) break;
    out.append(text.substr(pos, at - pos));
    out.append(to);
    pos = at + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

bool EndsInSeparator(std::string_view path) { return !path.empty() && IsSep(path.back()); }

std::string WithClosingSeparator(std::string_view path) {
  std::string out(path);
  if (!EndsInSeparator(out)) out += StyleOf(out);
  return out;
}

std::string CurrentFolder() {
  if (!Current().empty()) return Current();
  std::error_code ec;
  std::string cwd = std::filesystem::current_path(ec).string();
  return WithClosingSeparator(cwd.empty() ? "/" : cwd);
}

void ForgetCurrentFolder() { Current().clear(); }

bool Fnc_ChangeDir(std::string_view path, bool allow_network) {
  Sub_Log("カレントを移動します。 : " + std::string(path));
  if (path::IsNetworkPath(path) && !allow_network) {
    Sub_Log("  ネットワークパスは無効です。");
    return false;
  }
  std::string full = Fnc_FullPath(path);
  if (full.empty() || !::qz::Fnc_ChangeDir(full, true)) return false;
  Current() = WithClosingSeparator(full);
  Sub_Log("  カレントの移動に成功しました。");
  return true;
}

std::string Fnc_FullPath(std::string_view path) {
  if (path.empty()) return {};
  std::string root;
  std::string_view rest;
  if (path::HasDriveLetter(path)) {
    root = std::string(path.substr(0, 2)) + "\\";
    rest = path.substr(2);
  } else if (path::IsNetworkPath(path)) {
    root = "\\\\";
    rest = path.substr(2);
  } else if (path[0] == '/') {
    root = "/";
    rest = path.substr(1);
  } else if (path[0] == '\\') {
    std::string cur = CurrentFolder();
    root = path::HasDriveLetter(cur) ? cur.substr(0, 2) + "\\" : "/";
    rest = path.substr(1);
  } else {
    return Fnc_FullPath(CurrentFolder() + std::string(path));
  }
  char sep = root == "/" ? '/' : '\\';
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t j = i;
    while (j < rest.size() && !IsSep(rest[j])) ++j;
    std::string part(rest.substr(i, j - i));
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string out = root;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += sep;
    out += parts[k];
  }
  if (!parts.empty() && EndsInSeparator(path)) out += sep;
  return out;
}

std::string Fnc_FileName(std::string_view path) {
  if (path.empty()) return {};
  std::size_t end = path.size() - (IsSep(path.back()) ? 1 : 0);
  std::size_t at = std::string_view::npos;
  for (std::size_t k = end; k-- > 0;) {
    if (IsSep(path[k])) {
      at = k;
      break;
    }
  }
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string Fnc_FolderName(std::string_view path) {
  std::size_t n = path.find_last_of("\\/");
  if (n == std::string_view::npos) return {};
  auto is_root = [](std::string_view p) {
    return p == "/" || p == "\\" || p == "\\\\" || p == "//" ||
           (p.size() == 3 && path::HasDriveLetter(p) && IsSep(p[2]));
  };
  if (n + 1 == path.size()) {
    if (is_root(path)) return std::string(path);
    return std::string(path.substr(0, n));
  }
  std::string prefix(path.substr(0, n));
  if (prefix.empty()) return std::string(path.substr(0, 1));
  if (prefix.size() == 2 && path::HasDriveLetter(prefix)) return prefix + path[n];
  if (prefix == "\\" || prefix == "/") return std::string(path.substr(0, 2));
  return prefix;
}

std::string Fnc_CutNull(std::string_view text) {
  std::size_t n = text.find('\0');
  return std::string(n == std::string_view::npos ? text : text.substr(0, n));
}

std::string Fnc_PathMacro(std::string_view text, bool closing_separator, bool full_path) {
  static const char* const kMacros[] = {"%VLMP_MASTER%", "%VLMP%", "%VLMF%", "%CSV%"};
  std::string out(text);
  for (const char* m : kMacros) out = ReplaceAll(out, std::string(m) + "\\", m);
  const std::string* folders[] = {&basPublic.MasterPath, &basPublic.ProgramPath, &basPublic.DataPath,
                                  &basPublic.CsvPath};
  for (int k = 0; k < 4; ++k) out = ReplaceAll(out, kMacros[k], *folders[k]);
  if (full_path) out = Fnc_FullPath(out);
  if (closing_separator) out = WithClosingSeparator(out);
  return out;
}

}  // namespace qz::update
