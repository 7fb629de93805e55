// Definitions of the record-manager files (the definitions file CPFSPEC.INI).
//
// The definitions file is a small INI file (ASCII or CP932; names compare
// without regard to case; lines beginning with ";" are comments):
//
//   [FILES]
//   ; file name = record length in bytes
//   QZKKKLF.BTR=287
//
//   [QZKKKLF.BTR]
//   KEY0=1:10:A,11:8:N,19:10:N;UNIQUE
//   KEY1=263:10:A;DUP
//
//   [DEFINITIONS]
//   ; definition name = file name, key number
//   QZKKKLF=QZKKKLF.BTR,0
//
//   [STORAGE]
//   ; data folder = engine of its files (see storage_location.h)
//   C:\QZP\DATA=POSTGRESQL host=centre-db dbname=qz schema=data
//
// A key is one or more segments "position:length:kind" (positions count
// bytes from 1; kind A alpha, K kanji, N numeric) joined by ",", then
// ";UNIQUE" or ";DUP" (duplicates allowed, the default). Keys are numbered
// KEY0, KEY1 ... without gaps. Alpha and kanji segments order by their raw
// bytes; numeric segments (at most 18 bytes) order by their value.
//
// Pure functions and value types; thread-safe.
#ifndef QZ_PLATFORM_RECORD_DEFINITIONS_H_
#define QZ_PLATFORM_RECORD_DEFINITIONS_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qz::record {

enum class SegmentKind { kAlpha, kKanji, kNumeric };

struct KeySegment {
  int position = 1;  // 1-based byte position in the record
  int length = 1;
  SegmentKind kind = SegmentKind::kAlpha;
  bool operator==(const KeySegment&) const = default;
};

struct KeyDef {
  std::vector<KeySegment> segments;
  bool unique = false;
  bool operator==(const KeyDef&) const = default;
};

struct FileDef {
  std::string name;  // e.g. "QZKKKLF.BTR"
  int record_length = 0;
  std::vector<KeyDef> keys;
  bool operator==(const FileDef&) const = default;
};

struct DefinitionEntry {
  std::string file;  // file name as in [FILES]
  int key = 0;
};

// The longest numeric key segment (its value must fit 64 bits).
inline constexpr int kMaxNumericKeyLength = 18;

class Definitions {
 public:
  // Parses the text of a definitions file. Returns nullopt and sets `error`
  // (when given) for a malformed file: a bad key or length, a segment
  // outside the record, a definition naming an unknown file or key.
  static std::optional<Definitions> Parse(std::string_view text, std::string* error = nullptr);
  // Reads and parses the file at `path`; nullopt when it is missing.
  static std::optional<Definitions> Load(const std::string& path, std::string* error = nullptr);

  // The definitions file's text; Parse(ToIni()) gives the same definitions.
  std::string ToIni() const;

  // Adds or replaces a file or a definition (names kept as given).
  void AddFile(FileDef file);
  void AddDefinition(std::string_view name, std::string_view file, int key);
  // Names the engine of `data_folder` (a [STORAGE] value, see
  // storage_location.h).
  void AddStorage(std::string_view data_folder, std::string_view value);

  // Lookups without regard to case; nullptr when missing.
  const FileDef* FindFile(std::string_view name) const;
  const DefinitionEntry* FindDefinition(std::string_view name) const;
  // The [STORAGE] value of `data_folder`; nullptr when it has none. The
  // folders are compared in this machine's form (NativePath of both sides,
  // see StorageKey), so "C:\QZP\DATA" finds the folder that its drive
  // root makes of it, whichever form the caller names it in.
  const std::string* FindStorage(std::string_view data_folder) const;
  // The folders of [STORAGE] as the file writes them, in key order.
  std::vector<std::string> StorageFolders() const;

  // Every file and every definition, by upper-case name.
  const std::map<std::string, FileDef>& files() const { return files_; }
  const std::map<std::string, DefinitionEntry>& definitions() const { return definitions_; }

 private:
  std::map<std::string, FileDef> files_;               // by upper-case name
  std::map<std::string, DefinitionEntry> definitions_;   // by upper-case name
  struct StorageEntry {
    std::string folder;  // as written
    std::string value;
  };
  std::map<std::string, StorageEntry> storage_;  // by StorageKey of the folder as written
};

// The text "1:10:A,11:8:N;UNIQUE" of a key, and its parse (nullopt when bad).
std::string FormatKey(const KeyDef& key);
std::optional<KeyDef> ParseKey(std::string_view text);

// What a file stored with `stored_length` bytes a record and the keys
// `stored_keys` is opened as under the definitions `defined` of its name:
// `defined` when both agree; `defined` without its last keys when the file
// has the first of them and the definitions add keys after those (a file
// made before its definitions gained a key, until a conversion rebuilds
// it: the keys it lacks are no keys of the opened file); nullopt when they
// disagree otherwise (another length, another key, more keys or none).
std::optional<FileDef> OpenedFileDef(const FileDef& defined, int stored_length,
                                     const std::vector<KeyDef>& stored_keys);

// The definitions file named by `definition_folder`: the file itself, or the
// entry "CPFSPEC.INI" of that folder, every part found without regard to
// case. The suite's path forms are accepted (NativePath). Empty when there
// is none.
std::string FindDefinitionsFile(std::string_view definition_folder);

// `s` with ASCII letters in upper case (names of files, definitions, fields).
std::string AsciiUpper(std::string_view s);

// `path` (the suite's form: backslashes, drive letters, network paths) as a
// path of this machine, by the same rules as every other file of the system
// (path::ToHostPath).
std::string NativePath(std::string_view path);

// The entry `name` of `folder` (a path of this machine), matched exactly or
// else without regard to case; empty when the folder has no such entry.
std::string FindInFolder(const std::string& folder, std::string_view name);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_DEFINITIONS_H_
