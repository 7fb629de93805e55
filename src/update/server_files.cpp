#include "update/server_files.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "data/ini_access.h"
#include "platform/path/no_case.h"
#include "platform/record/btr_file.h"
#include "platform/record/status.h"
#include "platform/record/storage_location.h"
#include "platform/runtime/run_time_error.h"
#include "update/bas_public.h"
#include "update/ini_routines.h"
#include "update/path_routines.h"
#include "update/run_log.h"

namespace qz::update {

namespace {

// The backups of this run by the path of this machine, each with the
// definitions it was taken with.
std::map<std::string, std::shared_ptr<const record::Definitions>>& Backups() {
  static std::map<std::string, std::shared_ptr<const record::Definitions>> backups;
  return backups;
}

std::string Key(std::string_view path) { return path::ResolveSuitePath(path); }

// A failure of the record manager as the run-time error the routines log.
void ThrowIfFailed(int status, std::string_view what, std::string_view path) {
  if (status == record::kStatusOk) return;
  if (status == record::kStatusFileNotFound) throw RunTimeError(kErrFileNotFound);
  throw RunTimeError(kErrInvalidCall, std::string(what) + " : " + std::string(path) + " (ステータス " +
                                          std::to_string(status) + ")");
}

}  // namespace

std::optional<ServerFile> ServerFileOf(std::string_view path) {
  if (basPublic.SpecIniPath.empty()) return std::nullopt;
  ServerFile file{Fnc_FolderName(path), Fnc_FileName(path), nullptr};
  if (file.folder.empty() || file.name.empty()) return std::nullopt;
  const std::string* storage = nullptr;
  auto definitions = record::Definitions::Load(record::FindDefinitionsFile(basPublic.SpecIniPath));
  if (!definitions || !definitions->FindFile(file.name) || !(storage = definitions->FindStorage(file.folder))) {
    return std::nullopt;
  }
  const auto location = record::ParseStorage(*storage);
  if (!location || location->engine != record::Engine::kPostgres) return std::nullopt;
  file.definitions = std::make_shared<const record::Definitions>(std::move(*definitions));
  return file;
}

bool ServerFileExists(const ServerFile& file) {
  return record::RecordFileExists(*file.definitions, file.name, file.folder);
}

void BackUpServerFile(const ServerFile& file, std::string_view backup) {
  const int status = record::CopyRecordFile(*file.definitions, file.name, file.folder, Fnc_FolderName(backup), true);
  ThrowIfFailed(status, "バックアップ", file.folder + "\\" + file.name);
  Backups()[Key(backup)] = file.definitions;
}

bool IsServerBackup(std::string_view backup) { return Backups().count(Key(backup)) != 0; }

std::string ServerBackupDefinitions(std::string_view backup) {
  const auto it = Backups().find(Key(backup));
  return it == Backups().end() ? std::string() : it->second->ToIni();
}

bool AdoptServerBackup(std::string_view backup, std::string_view definitions) {
  auto parsed = record::Definitions::Parse(definitions);
  if (!parsed) return false;
  Backups()[Key(backup)] = std::make_shared<const record::Definitions>(std::move(*parsed));
  return true;
}

void RestoreServerFile(std::string_view backup, std::string_view path) {
  const auto it = Backups().find(Key(backup));
  if (it == Backups().end()) throw RunTimeError(kErrFileNotFound);
  const int status =
      record::CopyRecordFile(*it->second, Fnc_FileName(path), Fnc_FolderName(backup), Fnc_FolderName(path), true);
  ThrowIfFailed(status, "復元", path);
}

void EmptyServerFile(const ServerFile& file) {
  const int status = record::CreateRecordFile(*file.definitions, file.name, file.folder, true);
  ThrowIfFailed(status, "削除", file.folder + "\\" + file.name);
}

bool IsDefinitionsFile(std::string_view path) {
  return !basPublic.SpecIniPath.empty() && Key(path) == Key(basPublic.SpecIniPath);
}

bool KeepStorageEntries(std::string_view replaced, std::string_view definitions) {
  constexpr const char* kSection = "STORAGE";
  std::vector<std::string> keys, values, new_keys, new_values;
  std::int16_t count = 0, new_count = 0;
  Sub_GetSection(replaced, kSection, keys, values, count);
  Sub_GetSection(definitions, kSection, new_keys, new_values, new_count);
  for (std::int16_t i = 1; i <= count; ++i) {
    // The entry is written under the release's spelling of the folder when
    // the release names it too.
    std::string key = keys[static_cast<std::size_t>(i)];
    const std::string& value = values[static_cast<std::size_t>(i)];
    bool same = false;
    for (std::int16_t j = 1; j <= new_count; ++j) {
      const std::size_t at = static_cast<std::size_t>(j);
      if (record::StorageKey(new_keys[at]) != record::StorageKey(key)) continue;
      key = new_keys[at];
      same = new_values[at] == value;
      break;
    }
    if (same) continue;
    if (!Fnc_PutIni(kSection, key, value, definitions)) {
      Sub_Log("  保存先の設定を引き継げませんでした。 : " + key);
      return false;
    }
    Sub_Log("  保存先の設定を引き継ぎました。 : " + key);
  }
  return true;
}

void ClearServerBackups() { Backups().clear(); }

}  // namespace qz::update
