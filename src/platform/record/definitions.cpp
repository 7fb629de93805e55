#include "platform/record/definitions.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/path/host_path.h"
#include "platform/path/no_case.h"
#include "platform/record/storage_location.h"

namespace qz::record {
namespace {

namespace fs = std::filesystem;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::optional<int> ToInt(std::string_view s) {
  s = Trim(s);
  int v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t at = s.find(sep, start);
    out.push_back(s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return out;
}

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

std::string FormatKey(const KeyDef& key) {
  std::string out;
  for (const KeySegment& s : key.segments) {
    if (!out.empty()) out += ',';
    out += std::to_string(s.position) + ':' + std::to_string(s.length) + ':';
    out += s.kind == SegmentKind::kAlpha ? 'A' : s.kind == SegmentKind::kKanji ? 'K' : 'N';
  }
  out += key.unique ? ";UNIQUE" : ";DUP";
  return out;
}

std::optional<KeyDef> ParseKey(std::string_view text) {
  KeyDef key;
  std::string_view segs = Trim(text);
  std::size_t semi = segs.find(';');
  if (semi != std::string_view::npos) {
    std::string flag = AsciiUpper(Trim(segs.substr(semi + 1)));
    if (flag == "UNIQUE") key.unique = true;
    else if (flag != "DUP" && !flag.empty()) return std::nullopt;
    segs = Trim(segs.substr(0, semi));
  }
  if (segs.empty()) return std::nullopt;
  for (std::string_view part : Split(segs, ',')) {
    std::vector<std::string_view> f = Split(Trim(part), ':');
    if (f.size() != 3) return std::nullopt;
    auto pos = ToInt(f[0]);
    auto len = ToInt(f[1]);
    std::string kind = AsciiUpper(Trim(f[2]));
    if (!pos || !len || *pos < 1 || *len < 1) return std::nullopt;
    KeySegment s{*pos, *len, SegmentKind::kAlpha};
    if (kind == "K") s.kind = SegmentKind::kKanji;
    else if (kind == "N") s.kind = SegmentKind::kNumeric;
    else if (kind != "A") return std::nullopt;
    if (s.kind == SegmentKind::kNumeric && s.length > kMaxNumericKeyLength) return std::nullopt;
    key.segments.push_back(s);
  }
  return key;
}

std::optional<FileDef> OpenedFileDef(const FileDef& defined, int stored_length,
                                     const std::vector<KeyDef>& stored_keys) {
  if (stored_length != defined.record_length || stored_keys.empty() || stored_keys.size() > defined.keys.size() ||
      !std::equal(stored_keys.begin(), stored_keys.end(), defined.keys.begin())) {
    return std::nullopt;
  }
  FileDef opened = defined;
  opened.keys.resize(stored_keys.size());
  return opened;
}

std::optional<Definitions> Definitions::Parse(std::string_view text, std::string* error) {
  // section (upper case) -> entries in file order; first of duplicates wins.
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
  std::string section;
  for (std::string_view line : Split(text, '\n')) {
    line = Trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::size_t end = line.find(']');
      if (end == std::string_view::npos) {
        Fail(error, "bad section line: " + std::string(line));
        return std::nullopt;
      }
      section = AsciiUpper(Trim(line.substr(1, end - 1)));
      sections[section];
      continue;
    }
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    auto& entries = sections[section];
    // A folder of [STORAGE] keeps its case for the messages that name it.
    std::string key = section == "STORAGE" ? std::string(Trim(line.substr(0, eq))) : AsciiUpper(Trim(line.substr(0, eq)));
    bool seen = false;
    for (auto& e : entries) seen = seen || e.first == key;
    if (!seen) entries.emplace_back(key, std::string(value));
  }

  Definitions d;
  for (auto& [name, value] : sections["FILES"]) {
    FileDef f;
    f.name = name;
    auto len = ToInt(value);
    if (!len || *len < 1) {
      Fail(error, "bad record length of " + name);
      return std::nullopt;
    }
    f.record_length = *len;
    auto it = sections.find(name);
    if (it != sections.end()) {
      for (int k = 0;; ++k) {
        const std::string want = "KEY" + std::to_string(k);
        const std::string* entry = nullptr;
        for (auto& e : it->second) {
          if (e.first == want) entry = &e.second;
        }
        if (!entry) break;
        auto key = ParseKey(*entry);
        if (!key) {
          Fail(error, "bad key " + want + " of " + name);
          return std::nullopt;
        }
        for (const KeySegment& s : key->segments) {
          if (s.position > f.record_length || s.length > f.record_length - s.position + 1) {
            Fail(error, "key " + want + " of " + name + " lies outside the record");
            return std::nullopt;
          }
        }
        f.keys.push_back(*key);
      }
    }
    d.files_[name] = std::move(f);
  }
  for (auto& [name, value] : sections["DEFINITIONS"]) {
    std::vector<std::string_view> f = Split(value, ',');
    int key = -1;
    if (f.size() == 2) {
      if (auto k = ToInt(f[1])) key = *k;
    }
    const FileDef* file_def = d.FindFile(Trim(f[0]));
    if (!file_def || key < 0 || key >= static_cast<int>(file_def->keys.size())) {
      Fail(error, "bad definition " + name);
      return std::nullopt;
    }
    d.definitions_[name] = DefinitionEntry{file_def->name, key};
  }
  for (auto& [folder, value] : sections["STORAGE"]) {
    if (!ParseStorage(value)) {
      Fail(error, "bad storage of " + folder);
      return std::nullopt;
    }
    d.storage_.try_emplace(StorageKey(folder), StorageEntry{folder, value});  // the first line of a folder holds
  }
  return d;
}

std::optional<Definitions> Definitions::Load(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    Fail(error, "cannot read " + path);
    return std::nullopt;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  return Parse(ss.str(), error);
}

std::string Definitions::ToIni() const {
  std::string out = "[FILES]\r\n";
  for (auto& [name, f] : files_) out += f.name + "=" + std::to_string(f.record_length) + "\r\n";
  for (auto& [name, f] : files_) {
    out += "\r\n[" + f.name + "]\r\n";
    for (std::size_t k = 0; k < f.keys.size(); ++k) {
      out += "KEY" + std::to_string(k) + "=" + FormatKey(f.keys[k]) + "\r\n";
    }
  }
  out += "\r\n[DEFINITIONS]\r\n";
  for (auto& [name, def] : definitions_) {
    out += name + "=" + def.file + "," + std::to_string(def.key) + "\r\n";
  }
  if (!storage_.empty()) {
    out += "\r\n[STORAGE]\r\n";
    for (auto& [key, entry] : storage_) out += entry.folder + "=" + entry.value + "\r\n";
  }
  return out;
}

void Definitions::AddFile(FileDef file) {
  std::string key = AsciiUpper(file.name);
  files_[key] = std::move(file);
}

void Definitions::AddDefinition(std::string_view name, std::string_view file, int key) {
  definitions_[AsciiUpper(name)] = DefinitionEntry{std::string(file), key};
}

void Definitions::AddStorage(std::string_view data_folder, std::string_view value) {
  storage_[StorageKey(data_folder)] = StorageEntry{std::string(data_folder), std::string(value)};
}

const std::string* Definitions::FindStorage(std::string_view data_folder) const {
  if (auto it = storage_.find(StorageKey(data_folder)); it != storage_.end()) return &it->second.value;
  for (const auto& [key, entry] : storage_) {
    if (SameStorageFolder(entry.folder, data_folder)) return &entry.value;
  }
  return nullptr;
}

std::vector<std::string> Definitions::StorageFolders() const {
  std::vector<std::string> out;
  for (const auto& [key, entry] : storage_) out.push_back(entry.folder);
  return out;
}

const FileDef* Definitions::FindFile(std::string_view name) const {
  auto it = files_.find(AsciiUpper(name));
  return it == files_.end() ? nullptr : &it->second;
}

const DefinitionEntry* Definitions::FindDefinition(std::string_view name) const {
  auto it = definitions_.find(AsciiUpper(name));
  return it == definitions_.end() ? nullptr : &it->second;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string NativePath(std::string_view path) { return path::ToHostPath(path); }

std::string FindInFolder(const std::string& folder, std::string_view name) {
  std::string found = path::ResolveNoCase(path::JoinPath(folder.empty() ? "." : folder, name));
  std::error_code ec;
  return fs::exists(found, ec) ? found : std::string();
}

std::string FindDefinitionsFile(std::string_view definition_folder) {
  std::string path = path::ResolveNoCase(NativePath(definition_folder));
  if (path.empty()) return {};
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) return path;
  if (fs::is_directory(path, ec)) {
    std::string found = FindInFolder(path, "CPFSPEC.INI");
    if (!found.empty() && fs::is_regular_file(found, ec)) return found;
  }
  return {};
}

}  // namespace qz::record
