#include "platform/record/storage_location.h"

#include <algorithm>
#include <filesystem>

namespace qz::record {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsIdentifier(std::string_view s) {
  if (s.empty() || s.size() > 63 || (s.front() >= '0' && s.front() <= '9')) return false;
  for (char c : s) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  }
  return true;
}

// Splits a connection string into its words "name=value", a value quoted
// with '...' kept whole.
std::vector<std::string> Words(std::string_view s) {
  std::vector<std::string> out;
  std::string word;
  bool quoted = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\\' && quoted && i + 1 < s.size()) {
      word += c;
      word += s[++i];
    } else if (c == '\'') {
      quoted = !quoted;
      word += c;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (!word.empty()) out.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) out.push_back(std::move(word));
  return out;
}

}  // namespace

std::optional<Location> ParseStorage(std::string_view value) {
  value = Trim(value);
  const std::size_t space = value.find_first_of(" \t");
  const std::string engine = AsciiUpper(value.substr(0, space));
  const std::string_view rest = space == std::string_view::npos ? std::string_view() : value.substr(space);
  Location l;
  if (engine == "SQLITE" && Trim(rest).empty()) return l;
  if (engine != "POSTGRESQL") return std::nullopt;
  l.engine = Engine::kPostgres;
  for (std::string& word : Words(rest)) {
    const std::size_t eq = word.find('=');
    if (eq != std::string::npos && AsciiUpper(Trim(std::string_view(word).substr(0, eq))) == "SCHEMA") {
      l.schema = std::string(Trim(std::string_view(word).substr(eq + 1)));
      for (char& c : l.schema) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
      continue;
    }
    if (!l.conninfo.empty()) l.conninfo += ' ';
    l.conninfo += word;
  }
  if (!IsIdentifier(l.schema)) return std::nullopt;
  return l;
}

std::string FormatStorage(const Location& location) {
  if (location.engine == Engine::kSqlite) return "SQLITE";
  return "POSTGRESQL " + location.conninfo + (location.conninfo.empty() ? "" : " ") + "schema=" + location.schema;
}

namespace {

bool IsPasswordName(std::string_view name) { return AsciiUpper(Trim(name)) == "PASSWORD"; }

// A connection URI without its password: neither the one of the user
// information ("user:password@") nor a "password=" parameter.
std::string UriWithoutPassword(std::string uri) {
  const std::size_t authority = uri.find("://") + 3;
  const std::size_t authority_end = std::min(uri.find_first_of("/?#", authority), uri.size());
  if (const std::size_t at = uri.rfind('@', authority_end); at != std::string::npos && at >= authority) {
    if (const std::size_t colon = uri.find(':', authority); colon < at) uri.erase(colon, at - colon);
  }
  const std::size_t query = uri.find('?');
  if (query == std::string::npos) return uri;
  std::string kept;
  std::size_t from = query + 1;
  while (from <= uri.size()) {
    const std::size_t amp = std::min(uri.find('&', from), uri.size());
    const std::string_view param = std::string_view(uri).substr(from, amp - from);
    if (!param.empty() && !IsPasswordName(param.substr(0, param.find('=')))) {
      kept += (kept.empty() ? "" : "&") + std::string(param);
    }
    from = amp + 1;
  }
  return uri.substr(0, query) + (kept.empty() ? "" : "?" + kept);
}

}  // namespace

std::string DescribeLocation(const Location& location) {
  if (location.engine == Engine::kSqlite) return location.path;
  std::string out = "POSTGRESQL";
  const std::vector<std::string> words = Words(location.conninfo);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string item = words[i];
    if (item.find("://") != std::string::npos) {
      out += ' ' + UriWithoutPassword(item);
      continue;
    }
    // One "name=value" setting, blanks allowed around its "=".
    if (item.find('=') == std::string::npos && i + 1 < words.size() && words[i + 1].front() == '=') {
      item += ' ' + words[++i];
    }
    if (item.back() == '=' && i + 1 < words.size()) item += ' ' + words[++i];
    if (IsPasswordName(std::string_view(item).substr(0, item.find('=')))) continue;
    out += ' ' + item;
  }
  return out + " schema=" + location.schema + " table=" + location.table;
}

std::string StorageKey(std::string_view data_folder) {
  std::string key = AsciiUpper(Trim(data_folder));
  for (char& c : key) c = c == '\\' ? '/' : c;
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

bool SameStorageFolder(std::string_view a, std::string_view b) {
  return StorageKey(NativePath(Trim(a))) == StorageKey(NativePath(Trim(b)));
}

std::vector<std::string> UnmatchedStorageFolders(const Definitions& definitions,
                                                 const std::vector<std::string>& folders) {
  std::vector<std::string> out;
  for (const std::string& entry : definitions.StorageFolders()) {
    const bool opened = std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) {
      return !Trim(folder).empty() && SameStorageFolder(entry, folder);
    });
    if (!opened) out.push_back(entry);
  }
  return out;
}

std::optional<Location> LocateFile(const Definitions& definitions, std::string_view data_folder,
                                   std::string_view file_name) {
  const std::string* entry = definitions.FindStorage(data_folder);
  if (entry) {
    auto l = ParseStorage(*entry);
    if (!l) return std::nullopt;
    if (l->engine == Engine::kPostgres) {
      l->table = AsciiUpper(file_name);
      return l;
    }
  }
  Location l;
  const std::string native = NativePath(data_folder);
  const std::string folder = native.empty() ? std::string(".") : native;
  l.path = FindInFolder(folder, file_name);
  if (l.path.empty()) l.path = (std::filesystem::path(folder) / std::string(file_name)).string();
  return l;
}

}  // namespace qz::record
