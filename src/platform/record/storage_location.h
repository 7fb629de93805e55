// Where the record files of a data folder live: SQLite files in the folder
// itself (the default), or tables of a PostgreSQL database.
//
// The definitions file may name an engine per data folder in its section
// [STORAGE], keyed by the data folder in the suite's form or this
// machine's. Both sides are brought to this machine's form (NativePath:
// drive and network roots, see host_path.h) and compared without regard to
// case and to a closing separator, so "C:\QZP\DATA" and the folder the drive
// root makes of it are one folder:
//
//   [STORAGE]
//   C:\QZP\DATA=POSTGRESQL host=centre-db dbname=qz schema=data
//   C:\QZP\SVWORK=POSTGRESQL host=centre-db dbname=qz schema=work_t01
//   D:\LOCAL=SQLITE
//
// A PostgreSQL entry is a libpq connection string plus `schema=NAME`: the
// schema stands for the folder (data, on-line, work and preview folders
// each have their own), each record file is a table of it named as the
// file in upper case. A folder without an entry is an SQLite folder.
//
// Pure functions; thread-safe.
#ifndef QZ_PLATFORM_RECORD_STORAGE_LOCATION_H_
#define QZ_PLATFORM_RECORD_STORAGE_LOCATION_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record/definitions.h"

namespace qz::record {

enum class Engine { kSqlite, kPostgres };

struct Location {
  Engine engine = Engine::kSqlite;
  std::string path;      // SQLite: the file's path on this machine
  std::string conninfo;  // PostgreSQL: the connection string without the schema
  std::string schema;    // PostgreSQL: the schema of the folder, lower case
  std::string table;     // PostgreSQL: the file name in upper case
};

// The engine of a [STORAGE] value ("SQLITE", "POSTGRESQL <connection>");
// nullopt when malformed (an unknown engine, no or a bad schema name).
std::optional<Location> ParseStorage(std::string_view value);

// The [STORAGE] text of `location`'s engine (no path, no table).
std::string FormatStorage(const Location& location);

// `location` as a log names it: the SQLite file's path, or the table with
// its schema and the connection string without its password.
std::string DescribeLocation(const Location& location);

// The key under which [STORAGE] names `data_folder` as written: upper
// case, "/" for "\\", no closing separator.
std::string StorageKey(std::string_view data_folder);

// True when `a` and `b` (either form) are one folder for [STORAGE]: equal
// StorageKeys of their NativePaths.
bool SameStorageFolder(std::string_view a, std::string_view b);

// The [STORAGE] folders of `definitions` that are none of `folders` (the
// folders a program opens), as the file writes them.
std::vector<std::string> UnmatchedStorageFolders(const Definitions& definitions,
                                                 const std::vector<std::string>& folders);

// Where `file_name` of `data_folder` lives. For an SQLite folder `path` is
// the existing entry found without regard to case, else the path it would
// have. nullopt when the folder's entry is malformed.
std::optional<Location> LocateFile(const Definitions& definitions, std::string_view data_folder,
                                   std::string_view file_name);

}  // namespace qz::record

#endif  // QZ_PLATFORM_RECORD_STORAGE_LOCATION_H_
