#include "platform/record/btr_file.h"

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

void SetBusyTimeout(std::chrono::milliseconds timeout) {
  internal::SetBusyTimeoutMs(static_cast<int>(timeout.count()));
}

}  // namespace qz::record
