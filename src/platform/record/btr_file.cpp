#include "platform/record/btr_file.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/record/record_store.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"

namespace qz::record {

int CreateRecordFile(std::string_view definition_folder, std::string_view file_name,
                     std::string_view data_folder, bool replace) {
  std::string path = FindDefinitionsFile(definition_folder);
  if (path.empty()) return kStatusFileNotFound;
  auto defs = Definitions::Load(path);
  if (!defs) return kStatusFileNotFound;
  return CreateRecordFile(*defs, file_name, data_folder, replace);
}

int CreateRecordFile(const Definitions& definitions, std::string_view file_name,
                     std::string_view data_folder, bool replace) {
  const FileDef* file_def = definitions.FindFile(file_name);
  if (!file_def) return kStatusFileNotFound;
  const auto location = LocateFile(definitions, data_folder, file_name);
  if (!location) return kStatusFileNotFound;
  return internal::CreateStoreFile(*location, *file_def, replace);
}

bool RecordFileExists(const Definitions& definitions, std::string_view file_name, std::string_view data_folder) {
  const auto location = LocateFile(definitions, data_folder, file_name);
  return location && internal::StoreFileExists(*location);
}

std::string UnwritableRecordPath(std::string_view definition_folder, std::string_view data_folder,
                                 const std::vector<std::string>& file_names, int* error_number) {
  *error_number = 0;
  const std::string path = FindDefinitionsFile(definition_folder);
  if (path.empty()) return "";
  const auto defs = Definitions::Load(path);
  if (!defs) return "";
  bool folder_checked = false;
  for (const std::string& file_name : file_names) {
    const auto location = LocateFile(*defs, data_folder, file_name);
    if (!location || location->engine != Engine::kSqlite) return "";
    const std::filesystem::path file(location->path);
    if (!folder_checked) {
      folder_checked = true;
      const std::string folder = file.parent_path().string();
      std::error_code ec;
      if (!std::filesystem::is_directory(folder, ec)) return "";
      if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        *error_number = errno;
        return folder;
      }
    }
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0) {
      *error_number = errno;
      return file.string();
    }
  }
  return "";
}

int CopyRecordFile(const Definitions& definitions, std::string_view file_name, std::string_view from_folder,
                   std::string_view to_folder, bool replace, long long* copied) {
  if (copied) *copied = 0;
  const FileDef* file_def = definitions.FindFile(file_name);
  if (!file_def) return kStatusFileNotFound;
  const auto from = LocateFile(definitions, from_folder, file_name);
  const auto to = LocateFile(definitions, to_folder, file_name);
  if (!from || !to) return kStatusFileNotFound;
  std::error_code ec;
  if (from->engine == to->engine && from->conninfo == to->conninfo && from->schema == to->schema &&
      (from->engine == Engine::kPostgres ||
       std::filesystem::weakly_canonical(from->path, ec) == std::filesystem::weakly_canonical(to->path, ec))) {
    return kStatusFileExists;  // a file is never copied onto itself
  }
  int status = kStatusOk;
  auto source = internal::AcquireFile(*from, *file_def, &status);
  if (!source) return status;
  status = internal::CreateStoreFile(*to, *file_def, replace);
  if (status != kStatusOk) return status;
  auto target = internal::AcquireFile(*to, *file_def, &status);
  if (!target) return status;
  status = internal::BeginTransaction();
  if (status != kStatusOk) return status;
  internal::Row row, added;
  long long n = 0;
  while ((status = source->ReadInOrder(row.id, &row)) == kStatusOk) {
    status = target->Insert(row.data, &added);
    if (status != kStatusOk) break;
    ++n;
  }
  if (status != kStatusEndOfFile) {
    internal::RollbackTransaction();
    return status;
  }
  status = internal::CommitTransaction();
  if (status != kStatusOk) {
    internal::RollbackTransaction();
    return status;
  }
  if (copied) *copied = n;
  return kStatusOk;
}

void SetBusyTimeout(std::chrono::milliseconds timeout) {
  internal::SetBusyTimeoutMs(static_cast<int>(timeout.count()));
}

}  // namespace qz::record
