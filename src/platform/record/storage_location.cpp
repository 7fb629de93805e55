#include "platform/record/storage_location.h"

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

std::string DescribeLocation(const Location& location) {
  if (location.engine == Engine::kSqlite) return location.path;
  std::string out = "POSTGRESQL";
  for (const std::string& word : Words(location.conninfo)) {
    const std::size_t eq = word.find('=');
    if (eq != std::string::npos && AsciiUpper(Trim(std::string_view(word).substr(0, eq))) == "PASSWORD") continue;
    std::string shown = word;
    // A URI's user information "user:password@".
    if (const std::size_t scheme = shown.find("://"); scheme != std::string::npos) {
      const std::size_t at = shown.find('@', scheme + 3);
      const std::size_t colon = shown.find(':', scheme + 3);
      if (at != std::string::npos && colon != std::string::npos && colon < at) shown.erase(colon, at - colon);
    }
    out += ' ' + shown;
  }
  return out + " schema=" + location.schema + " table=" + location.table;
}

std::string StorageKey(std::string_view data_folder) {
  std::string key = AsciiUpper(Trim(data_folder));
  for (char& c : key) c = c == '\\' ? '/' : c;
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
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
