#include "platform/record/folder_users.h"

#include "platform/record/pg_store.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"

namespace qz::record {

int ServerFolderUsers(const Definitions& definitions, std::string_view data_folder,
                      std::vector<FolderUser>* users) {
  users->clear();
  // Any file name gives the folder's engine and schema.
  const std::optional<Location> location = LocateFile(definitions, data_folder, "QZ");
  if (!location) return kStatusFileNotFound;
  if (location->engine != Engine::kPostgres) return kStatusOk;
  return internal::pg::FolderUsers(*location, users);
}

}  // namespace qz::record
