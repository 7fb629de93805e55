// Record files of a data folder that the installation's definitions file
// (FILE_PATH CPFSPEC) puts on the database server ([STORAGE], see
// platform/record/storage_location.h).
//
// Such a file has no file in its folder: the version-up checks, backs up,
// deletes and restores it through the record manager instead, and the file
// routines (file_routines.h, run_log.h, run_journal.h) come here for every
// path that ServerFileOf recognises. A backup of a server file is an SQLite
// record file at the backup path, holding every record in insertion order;
// it is restored with the definitions that were in force when it was taken,
// so that a layout the release changed is put back as it was.
//
// A path of an SQLite folder, a file the definitions do not describe and
// any path while the definitions file cannot be read are not server files:
// the file routines treat them as files, exactly as without a server.
// Single-threaded, like the program.
#ifndef QZ_UPDATE_SERVER_FILES_H_
#define QZ_UPDATE_SERVER_FILES_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/record/definitions.h"

namespace qz::update {

// A record file on the server: its folder, its name and the definitions of
// the installation when it was recognised.
struct ServerFile {
  std::string folder;
  std::string name;
  std::shared_ptr<const record::Definitions> definitions;
};

// The server file that `path` names, or nullopt (see above).
std::optional<ServerFile> ServerFileOf(std::string_view path);

// Whether the file exists on the server.
bool ServerFileExists(const ServerFile& file);

// Copies every record of `file` into a new SQLite record file `backup` (a
// path of the run folder). Throws RunTimeError when the copy fails.
void BackUpServerFile(const ServerFile& file, std::string_view backup);

// Whether `backup` is a backup that BackUpServerFile made in this run.
bool IsServerBackup(std::string_view backup);

// The record definitions that the backup `backup` of this run was taken
// with, as the text of a definitions file; "" when it is no server backup.
std::string ServerBackupDefinitions(std::string_view backup);

// Makes `backup`, a server backup of an earlier run that was killed, known
// as a server backup taken with the definitions `definitions` (as
// ServerBackupDefinitions gave them). False when they cannot be read.
bool AdoptServerBackup(std::string_view backup, std::string_view definitions);

// Replaces the server file at `path` by the records of `backup` (made by
// BackUpServerFile), with the definitions of the backup's time. Throws
// RunTimeError when it fails.
void RestoreServerFile(std::string_view backup, std::string_view path);

// Empties `file` anew as the current definitions describe it: what deleting
// a file of the folder does before the files are made again. Throws
// RunTimeError when it fails.
void EmptyServerFile(const ServerFile& file);

// Whether `path` is the installation's definitions file.
bool IsDefinitionsFile(std::string_view path);

// Writes every [STORAGE] entry of `replaced` (the backup of the definitions
// file that a copy replaced) into the new definitions file `definitions`
// where that lacks it or names the folder otherwise, so that the centre's
// folders stay on their engines whatever the release's file says. Logs each
// entry kept. False (logged) when one cannot be written.
bool KeepStorageEntries(std::string_view replaced, std::string_view definitions);

// Forgets the backups of the run (the start of a run; tests).
void ClearServerBackups();

}  // namespace qz::update

#endif  // QZ_UPDATE_SERVER_FILES_H_
